#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "settings/replace.h"

FILE* CreateFreshFile(const char* path, const char* /*model*/) {
  // DeleteFileA removes a symbolic link itself, never its target. Whatever it
  // could not remove makes the exclusive create below fail.
  DeleteFileA(path);
  const int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                       _S_IREAD | _S_IWRITE);
  if (fd < 0)
    return nullptr;
  FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    DeleteFileA(path);
  }
  return file;
}

int FlushToDisk(FILE* file) {
  if (fflush(file) != 0)
    return -1;
  return _commit(_fileno(file));
}

ReplaceResult ReplaceAtomically(const char* from, const char* to) {
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return kReplaced;
  switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:       // a directory or a read-only file
    case ERROR_SHARING_VIOLATION:   // held open by another program
    case ERROR_LOCK_VIOLATION:
      return kTargetRefused;
    default:
      return kReplaceFailed;
  }
}

void RemoveQuietly(const char* path) { DeleteFileA(path); }
