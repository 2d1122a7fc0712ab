// Linked into the tool in the sanitizer build only. The sanitizers read
// these hooks at start and at exit.
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {

// A sanitizer's fault must never pass for one of the tool's own statuses
// (0 or 1), so that a test expecting either of them fails.
const char* __asan_default_options() { return "exitcode=86"; }
const char* __ubsan_default_options() { return "exitcode=86:print_stacktrace=1"; }

// The leak check cannot run under ptrace (strace): it would end a run that
// the tests trace with a fatal error of its own. Untraced runs keep it.
int __lsan_is_turned_off() {
  FILE* status = fopen("/proc/self/status", "r");
  if (status == nullptr)
    return 0;
  char line[256];
  int traced = 0;
  while (fgets(line, sizeof line, status) != nullptr) {
    if (strncmp(line, "TracerPid:", 10) == 0) {
      traced = strtol(line + 10, nullptr, 10) != 0;
      break;
    }
  }
  fclose(status);
  return traced;
}

}  // extern "C"
