#include "tests/run_tool.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

std::string ToolCommand() {
  const char* tool = getenv("ETHERCFG_TOOL");
  return tool != nullptr ? tool : "";
}

bool HaveStrace() { return system("strace -V >/dev/null 2>&1") == 0; }

bool ToolIsNative() {
  const std::string tool = ToolCommand();
  return tool.find(' ') == std::string::npos;
}

ToolResult RunTool(const ToolRun& run) {
  ToolResult result;
  const std::string tool = run.tool.empty() ? ToolCommand() : run.tool;
  if (tool.empty()) {
    ADD_FAILURE() << "ETHERCFG_TOOL names no tool";
    return result;
  }
  char pattern[] = "/tmp/ethercfg-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    ADD_FAILURE() << "no temporary directory";
    return result;
  }
  const std::string top = pattern;
  const std::string dir = top + "/run";
  fs::create_directory(dir);
  WriteWholeFile(top + "/scenario", run.scenario);
  WriteWholeFile(top + "/stdin", run.input);
  if (run.has_ini)
    WriteWholeFile(dir + "/ethernet.ini", run.ini_before);

  std::string command = "cd " + ShellQuote(dir) + " && ";
  if (!run.setup.empty())
    command += "{ " + run.setup + "; } && ";
  command += "ETHERCFG_SCENARIO=" + ShellQuote(top + "/scenario") +
             " ETHERCFG_CALL_LOG=" + ShellQuote(top + "/calls") + " " +
             run.wrap + " " + tool + " " + run.args + " <" +
             ShellQuote(top + "/stdin") + " >" + ShellQuote(top + "/stdout") +
             " 2>" + ShellQuote(top + "/stderr");
  const int status = system(command.c_str());
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  result.console = ReadWholeFile(top + "/stdout");
  if (getenv("ETHERCFG_CONSOLE_CRLF") != nullptr) {
    std::string plain;
    for (size_t i = 0; i < result.console.size(); ++i) {
      if (result.console[i] == '\r' && i + 1 < result.console.size() &&
          result.console[i + 1] == '\n')
        continue;
      plain += result.console[i];
    }
    result.console = plain;
  }
  result.calls = ReadWholeFile(top + "/calls");

  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_symlink())
      result.files[name] = "-> " + fs::read_symlink(entry.path()).string();
    else if (entry.is_directory())
      result.files[name] = "<dir>";
    else
      result.files[name] = ReadWholeFile(entry.path().string());
  }
  // Restores the rights a setup may have taken, so that all can be removed.
  system(("chmod -R u+rwx " + ShellQuote(top) + " 2>/dev/null").c_str());
  fs::remove_all(top, error);
  return result;
}
