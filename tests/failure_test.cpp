// Failures of the recording made to happen for real: things standing in the
// way on disk, and system calls failed with strace's fault injection. After
// each, the console, the exit status and every file left are checked:
// ethernet.ini always holds a whole state, never a part of one.
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/console_text.h"
#include "tests/run_tool.h"

namespace {

using Files = std::map<std::string, std::string>;


// strace failing the Nth call of one kind, only where it touches `path` when
// one is named (the path must exist when strace starts). The call log is off,
// so that the tool's own writes are the only ones counted.
std::string Inject(const std::string& call, int when, const std::string& error = "EIO",
                   const std::string& path = "") {
  std::string wrap = "env ETHERCFG_CALL_LOG= strace -f -o /dev/null ";
  if (!path.empty())
    wrap += "-P " + path + " ";
  return wrap + "-e trace=" + call + " -e inject=" + call + ":error=" + error +
         ":when=" + std::to_string(when);
}

struct Failure {
  std::string name;
  std::string setup;    // shell commands in the run directory
  std::string wrap;     // strace, when a call is to fail
  std::string console;  // what follows kBefore
  int status;
  Files files;          // everything the directory holds afterwards
};

std::vector<Failure> Failures() {
  return {
      // Things standing in the way.
      {"DirectoryAtIni", "rm ethernet.ini && mkdir ethernet.ini", "",
       kCannotAppend, 1, {{"ethernet.ini", "<dir>"}}},
      {"DirectoryAtCopy", "mkdir " + kCopy, "", kCannotCreate, 1,
       {{"ethernet.ini", kOld}, {kCopy, "<dir>"}}},
      {"SymlinkAtCopyNotFollowed", "printf secret > victim && ln -s victim " + kCopy, "", kUsing, 0,
       {{"ethernet.ini", kAfterSpeed}, {"victim", "secret"}}},
      {"DanglingSymlinkAtCopy", "ln -s target " + kCopy, "", kUsing, 0, {{"ethernet.ini", kAfterSpeed}}},
      {"LeftoverCopyReplaced", "printf stale > " + kCopy, "", kUsing, 0, {{"ethernet.ini", kAfterSpeed}}},
      {"SymlinkAtIniReplacedByFile", "mv ethernet.ini real.ini && ln -s real.ini ethernet.ini", "", kUsing, 0,
       {{"ethernet.ini", kAfterSpeed}, {"real.ini", kOld}}},
      // The replacement fails at each of the three keys.
      {"RenameFailsAtNif", "", Inject("rename", 1), kCannotRename, 1,
       {{"ethernet.ini", kOld}, {kCopy, kAfterNif}}},
      {"RenameFailsAtMac", "", Inject("rename", 2),
       kUsing + kCannotRename + kMacNotWritten, 1,
       {{"ethernet.ini", kAfterNif}, {kCopy, kAfterMac}}},
      {"RenameFailsAtSpeed", "", Inject("rename", 3),
       kUsing + kCannotRename + kSpeedNotWritten, 1,
       {{"ethernet.ini", kAfterMac}, {kCopy, kAfterSpeed}}},
      {"TargetRefusesReplacement", "", Inject("rename", 1, "EISDIR"),
       kCannotOverwrite, 1, {{"ethernet.ini", kOld}, {kCopy, kAfterNif}}},
      // The copy cannot be written, synced or closed. The copy's writes are
      // the only ones counted: the update of ETHER_NIF (found in the file)
      // writes once, those of ETHER_MAC and ETHER_SPEED (appended) twice each,
      // as the copy is flushed when it is positioned at its end.
      {"WriteFailsAtNif", "", Inject("write", 1), kCannotWrite, 1, {{"ethernet.ini", kOld}}},
      {"WriteFailsAtMac", "", Inject("write", 2),
       kUsing + kCannotWrite + kMacNotWritten, 1, {{"ethernet.ini", kAfterNif}}},
      {"DiskFullAtSpeed", "", Inject("write", 5, "ENOSPC"),
       kUsing + kCannotWrite + kSpeedNotWritten, 1, {{"ethernet.ini", kAfterMac}}},
      {"SyncFails", "", Inject("fsync", 1), kCannotWrite, 1, {{"ethernet.ini", kOld}}},
      {"CopyCannotBePositioned", "touch " + kCopy, Inject("lseek", 1, "EIO", kCopy),
       kUsing + kCannotWrite + kMacNotWritten, 1, {{"ethernet.ini", kAfterNif}}},
      {"CopyCannotBeClosed", "touch " + kCopy, Inject("close", 1, "EIO", kCopy),
       kCannotCloseCopy, 1, {{"ethernet.ini", kOld}, {kCopy, kAfterNif}}},
      {"CopyCannotBeCreated", "", Inject("openat", 1, "EACCES", kCopy),
       kCannotCreate, 1, {{"ethernet.ini", kOld}}},
      // ethernet.ini cannot be opened, read or closed.
      {"IniCannotBeAppended", "", Inject("openat", 1, "EACCES", "ethernet.ini"),
       kCannotAppend, 1, {{"ethernet.ini", kOld}}},
      {"IniCannotBeOpened", "", Inject("openat", 2, "EACCES", "ethernet.ini"),
       kCannotOpen, 1, {{"ethernet.ini", kOld}}},
      {"IniReadError", "", Inject("read", 1, "EIO", "ethernet.ini"),
       kCannotRead, 1, {{"ethernet.ini", kOld}}},
      {"IniReadErrorAtMac", "", Inject("read", 3, "EIO", "ethernet.ini"),
       kUsing + kCannotRead + kMacNotWritten, 1,
       {{"ethernet.ini", kAfterNif}}},
      {"IniCannotBeClosed", "", Inject("close", 2, "EIO", "ethernet.ini"),
       kCannotCloseIni, 1, {{"ethernet.ini", kOld}, {kCopy, kAfterNif}}},
  };
}

void PrintTo(const Failure& f, std::ostream* os) { *os << f.name; }

class FailedRecording : public testing::TestWithParam<Failure> {};

TEST_P(FailedRecording, LeavesAWholeState) {
  const Failure& f = GetParam();
  if (!ToolIsNative())
    GTEST_SKIP() << "POSIX setups and strace apply to the native tool only";
  if (!f.wrap.empty() && !HaveStrace())
    GTEST_SKIP() << "strace is not installed";
  ToolRun run;
  run.scenario = "name A\n";
  run.has_ini = true;
  run.ini_before = kOld;
  run.setup = f.setup;
  run.wrap = f.wrap;
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.console, kBefore + f.console);
  EXPECT_EQ(result.status, f.status);
  EXPECT_EQ(result.files, f.files);
}

INSTANTIATE_TEST_SUITE_P(Table, FailedRecording, testing::ValuesIn(Failures()),
                         [](const testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST(Recording, PrivateFileStaysPrivate) {
  if (!ToolIsNative())
    GTEST_SKIP() << "permission bits are POSIX";
  ToolRun run;
  run.scenario = "name A\n";
  run.has_ini = true;
  run.ini_before = kOld;
  run.setup = "chmod 600 ethernet.ini";
  run.wrap = "sh -c '\"$0\" \"$@\"; s=$?; stat -c %a ethernet.ini > mode; exit $s'";
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.files.at("mode"), "600\n");
}

}  // namespace
