// Runs the built tool as a process, in a fresh temporary directory, with a
// driver scenario, arguments and standard input, and collects what the run
// left: its console text, exit status, files and call log.
//
// The command comes from ETHERCFG_TOOL (a path, or a loader and a path, such
// as "wine64 ethercfg.exe"). When ETHERCFG_CONSOLE_CRLF is set, the console's
// CR LF line ends are read as "\n", as a Windows program writes them.
#ifndef ETHERCFG_TESTS_RUN_TOOL_H_
#define ETHERCFG_TESTS_RUN_TOOL_H_

#include <map>
#include <string>

struct ToolRun {
  std::string scenario;    // the scripted driver's scenario
  std::string args;        // shell words after the program name
  std::string input;       // standard input
  bool has_ini = false;    // whether ethernet.ini stands before the run
  std::string ini_before;  // its content
  std::string setup;       // shell commands run in the directory first
  std::string wrap;        // a command the tool runs under (strace ...)
  std::string tool;        // the command to run, when not ETHERCFG_TOOL's
};

struct ToolResult {
  std::string console;
  int status = -1;
  // What the run directory holds afterwards: a file's name maps to its
  // content, a directory's to "<dir>", a symbolic link's to "-> target".
  std::map<std::string, std::string> files;
  std::string calls;  // the scripted driver's call log
};

/// Runs the tool once. Fails the current test when the run cannot be made.
ToolResult RunTool(const ToolRun& run);

/// True when the tool runs natively here (not under a loader such as Wine),
/// so that POSIX-only setups and wrappers apply.
bool ToolIsNative();

/// The command in ETHERCFG_TOOL; empty when it names none.
std::string ToolCommand();

/// Whether strace can be run here, for the tests that inject faults with it.
bool HaveStrace();

/// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

/// Writes `bytes` to `path`, replacing what was there.
void WriteWholeFile(const std::string& path, const std::string& bytes);

/// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

#endif  // ETHERCFG_TESTS_RUN_TOOL_H_
