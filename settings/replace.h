// The platform's part of replacing ethernet.ini: one file per platform
// (replace_posix.cpp, replace_win32.cpp), chosen by the build.
#ifndef ETHERCFG_SETTINGS_REPLACE_H_
#define ETHERCFG_SETTINGS_REPLACE_H_

#include <cstdio>

/// Creates `path` afresh for binary writing: whatever stands at the name is
/// removed first (a symbolic link is removed, never followed), then the file
/// is created exclusively. On POSIX it takes the permission bits of `model`
/// when that exists. Null when the file cannot be created.
FILE* CreateFreshFile(const char* path, const char* model);

/// Flushes `file` and makes the operating system write it to the disk.
/// 0 on success.
int FlushToDisk(FILE* file);

enum ReplaceResult {
  kReplaced,
  kTargetRefused,  // the file to be replaced itself refused (a directory, in use)
  kReplaceFailed,  // any other failure
};

/// Puts `from` in place of `to` in one atomic step: `to` holds its old
/// content or the new one at every moment, never nothing. On failure both
/// files stay as they were.
ReplaceResult ReplaceAtomically(const char* from, const char* to);

/// Deletes `path`; failures are ignored (used only to clean up).
void RemoveQuietly(const char* path);

#endif  // ETHERCFG_SETTINGS_REPLACE_H_
