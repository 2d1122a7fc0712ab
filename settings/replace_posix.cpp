#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/replace.h"

#ifndef O_NOFOLLOW
#define O_NOFOLLOW 0
#endif

FILE* CreateFreshFile(const char* path, const char* model) {
  // unlink() removes a symbolic link itself, never its target. Whatever it
  // could not remove makes the exclusive create below fail.
  unlink(path);
  const int fd =
      open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0)
    return nullptr;
  struct stat st;
  if (stat(model, &st) == 0 && fchmod(fd, st.st_mode & 07777) != 0) {
    close(fd);
    unlink(path);
    return nullptr;
  }
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(path);
  }
  return file;
}

int FlushToDisk(FILE* file) {
  if (fflush(file) != 0)
    return -1;
  return fsync(fileno(file));
}

ReplaceResult ReplaceAtomically(const char* from, const char* to) {
  if (rename(from, to) == 0) {
    // Makes the new name itself durable; the replacement has happened either
    // way, so a failure here changes nothing the user could act on.
    const int dir = open(".", O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return kReplaced;
  }
  switch (errno) {
    case EISDIR:     // a directory stands at the target's name
    case ENOTEMPTY:
    case EEXIST:
    case EBUSY:
      return kTargetRefused;
    default:
      return kReplaceFailed;
  }
}

void RemoveQuietly(const char* path) { unlink(path); }
