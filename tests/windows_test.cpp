// The cases that are Windows' own, run with the Windows build under Wine:
// packet.dll missing or lacking an operation, and ethernet.ini held open by
// another program. ETHERCFG_WINE is the loader and ETHERCFG_WINE_TESTS the
// wine-tests folder of a Windows build (see tests/windows/CMakeLists.txt).
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/console_text.h"
#include "tests/run_tool.h"

namespace {

using Files = std::map<std::string, std::string>;

const std::string kNoLibrary =
    "Could not load packet.dll: is the packet capture driver installed?\n";

std::string Setting(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

// The Windows program `program` of the wine-tests folder, with `args`.
std::string Windows(const std::string& program, const std::string& args = "") {
  return Setting("ETHERCFG_WINE") + " " +
         ShellQuote(Setting("ETHERCFG_WINE_TESTS") + "/" + program) + " " + args;
}

// The tool, run while another program holds ethernet.ini open with `sharing`.
std::string HeldOpen(const std::string& sharing) {
  return Windows("hold_open.exe",
                 sharing + " ethernet.ini " +
                     ShellQuote(Setting("ETHERCFG_WINE_TESTS") + "/ethercfg.exe"));
}

struct WindowsCase {
  std::string name;
  std::string tool;
  std::string setup;    // shell commands in the run directory
  std::string console;
  int status;
  Files files;          // everything the directory holds afterwards
  std::string calls;    // the scripted driver's call log
};

const std::string kAllCalls =
    "PacketGetAdapterNames size=8192\nPacketOpenAdapter A -> #1\nPacketGetNetType #1 -> 1\n"
    "PacketRequest #1 set=0 oid=0x01010102 length=256 -> 1\nPacketCloseAdapter #1\n";

std::vector<WindowsCase> Cases() {
  return {
      // No usable packet.dll: the run ends before its first line and before
      // any file is touched, whether or not ethernet.ini exists.
      {"LibraryMissing", Windows("missing/ethercfg.exe", "1"), "", kNoLibrary, 1,
       {{"ethernet.ini", kOld}}, ""},
      {"LibraryMissingNoIniMade", Windows("missing/ethercfg.exe"), "rm ethernet.ini", kNoLibrary, 1,
       {}, ""},
      {"LibraryLacksAnOperation", Windows("lacking/ethercfg.exe"), "", kNoLibrary, 1,
       {{"ethernet.ini", kOld}}, ""},
      // Another program holds ethernet.ini open. Without any sharing the
      // tool cannot open it at all; shared for reading and writing (as a
      // program reading it through the C library does) it cannot be
      // replaced, and the new content stays in the copy.
      {"HeldOpenWithoutSharing", HeldOpen("none"), "",
       kBefore + kCannotAppend, 1, {{"ethernet.ini", kOld}}, kAllCalls},
      {"HeldOpenByAReader", HeldOpen("readwrite"), "",
       kBefore + kCannotOverwrite, 1,
       {{"ethernet.ini", kOld}, {kCopy, kAfterNif}}, kAllCalls},
      // Things standing in the way on disk.
      {"DirectoryAtIni", Windows("ethercfg.exe"), "rm ethernet.ini && mkdir ethernet.ini",
       kBefore + kCannotAppend, 1, {{"ethernet.ini", "<dir>"}}, kAllCalls},
      {"DirectoryAtCopy", Windows("ethercfg.exe"), "mkdir " + kCopy,
       kBefore + kCannotCreate, 1,
       {{"ethernet.ini", kOld}, {kCopy, "<dir>"}}, kAllCalls},
      {"LeftoverCopyReplaced", Windows("ethercfg.exe"), "printf stale > " + kCopy,
       kBefore + "\nUsing adapter 1\n", 0, {{"ethernet.ini", kAfterSpeed}}, kAllCalls},
  };
}

void PrintTo(const WindowsCase& c, std::ostream* os) { *os << c.name; }

class WindowsRun : public testing::TestWithParam<WindowsCase> {};

TEST_P(WindowsRun, ConsoleStatusAndFiles) {
  const WindowsCase& c = GetParam();
  if (Setting("ETHERCFG_WINE").empty() || Setting("ETHERCFG_WINE_TESTS").empty())
    GTEST_SKIP() << "ETHERCFG_WINE and ETHERCFG_WINE_TESTS name no Windows build";
  ToolRun run;
  run.tool = c.tool;
  run.scenario = "name A\n";
  run.has_ini = true;
  run.ini_before = kOld;
  run.setup = c.setup;
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.console, c.console);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.files, c.files);
  EXPECT_EQ(result.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowsRun, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<WindowsCase>& info) {
                           return info.param.name;
                         });

}  // namespace
