// hold_open SHARING FILE COMMAND-LINE
//
// Opens FILE for reading and keeps it open while it runs COMMAND-LINE (one
// argument: the program and its arguments), then closes it and ends with the
// program's exit status. SHARING says what others may do with the file
// meanwhile: "none" (share mode 0: no other open succeeds) or "readwrite"
// (others may read and write it, but not delete, rename or replace it, as
// when a program reads it through the C library). The program inherits the
// standard streams. Status 125 when the file or the program cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    fprintf(stderr, "usage: hold_open none|readwrite FILE COMMAND-LINE\n");
    return 125;
  }
  const DWORD sharing =
      strcmp(argv[1], "none") == 0 ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE file = CreateFileA(argv[2], GENERIC_READ, sharing, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "hold_open: cannot open %s (error %lu)\n", argv[2],
            GetLastError());
    return 125;
  }

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, argv[3], nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    fprintf(stderr, "hold_open: cannot run %s (error %lu)\n", argv[3],
            GetLastError());
    CloseHandle(file);
    return 125;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 125;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(file);
  return static_cast<int>(status);
}
