// Proof that ethernet.ini is never lost. A whole recording run is made to
// fail at every system call of its update in turn, is killed before every
// such call and at random moments, and runs on a disk that fills up. After
// each run ethernet.ini holds, byte for byte, one of the four whole states
// (before the run, after ETHER_NIF, after ETHER_MAC, after ETHER_SPEED); a
// run that ends with status 0 left the last of them; the console and the
// status are those the tool documents for the failure; no copy is left
// except where that is documented; and a clean run afterwards records all
// three settings.
//
// Each test prints what it did (faults injected, crashes made, disk sizes
// tried): the README's reliability section quotes these figures.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/console_text.h"
#include "tests/run_tool.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

const std::string kAdapter = "\\Device\\NPF_{6F7E1C1A-0D3B-4B5E-9D0A-3C2B1A0F9E8D}";
const std::string kScenario = "name " + kAdapter + "\n";

// Longer than stdio's buffer, so that the file is read and written in several
// calls. Its length puts the state after ETHER_NIF just below two pages of
// 4 KiB and the next state just above, so that a disk filled page by page
// stops the run at every key in turn.
const std::string kLongLine = "LONG=" + std::string(8020, 'x');
const std::string kHead = "[ethernet]\r\n; kept as it is\r\n";
const std::string kNif = "ETHER_NIF=" + kAdapter + "\r\n#ETHER_MAC=commented out\r\n";

// ethernet.ini before the run and after each of its three key updates:
// ETHER_NIF replaced in place (the blank-only line dropped, the LF line end
// made CR LF), ETHER_MAC appended after a last line that had no line end,
// ETHER_SPEED replaced in place.
const std::string kStates[4] = {
    kHead + "ETHER_NIF=old\r\n \t \r\n#ETHER_MAC=commented out\r\n" + kLongLine +
        "\nETHER_SPEED=10Mbps\r\nlast line",
    kHead + kNif + kLongLine + "\r\nETHER_SPEED=10Mbps\r\nlast line",
    kHead + kNif + kLongLine + "\r\nETHER_SPEED=10Mbps\r\nlast line\r\nETHER_MAC=020c29abcdef\r\n",
    kHead + kNif + kLongLine + "\r\nETHER_SPEED=100Mbps\r\nlast line\r\nETHER_MAC=020c29abcdef\r\n",
};

const std::string kSuccess = kBefore + kUsing;

// What the recording prints after the key update's own message, by the
// number of keys already written.
const std::string kKeyFailed[3] = {
    "",
    kMacNotWritten,
    kSpeedNotWritten,
};

// The calls the update makes on ethernet.ini, its copy and their directory,
// one by one and as strace's list.
const char* const kUpdateCallKinds[] = {"openat", "read", "write", "lseek", "fsync",
                                        "fchmod", "close", "rename", "unlink"};
const std::string kUpdateCalls = [] {
  std::string list;
  for (const char* call : kUpdateCallKinds)
    list += (list.empty() ? "" : ",") + std::string(call);
  return list;
}();

// The console of a run that failed with `message` after `written` keys.
std::string FailedConsole(int written, const std::string& message) {
  return written == 0 ? kBefore + message : kSuccess + message + kKeyFailed[written];
}

// Which whole state `ini` is, or -1.
int StateOf(const std::string& ini) {
  for (int i = 0; i < 4; ++i)
    if (ini == kStates[i])
      return i;
  return -1;
}

// Files shown by what they hold ("state 1", "the first 4096 bytes of state
// 2"), so that a failure reads well with lines of 8 KiB.
std::map<std::string, std::string> Shown(const Files& files) {
  std::map<std::string, std::string> shown;
  for (const auto& [name, bytes] : files) {
    std::string& what = shown[name];
    for (int i = 0; i < 4 && what.empty(); ++i) {
      if (bytes == kStates[i])
        what = "state " + std::to_string(i);
      else if (kStates[i].compare(0, bytes.size(), bytes) == 0)
        what = "the first " + std::to_string(bytes.size()) + " bytes of state " + std::to_string(i);
    }
    if (what.empty())
      what = std::to_string(bytes.size()) + " bytes of no state, from: " + bytes.substr(0, 80);
  }
  return shown;
}

struct Outcome {
  std::string console;
  int status = -1;  // 128 + the signal when the run was killed
  Files files;      // ethernet.ini and its copy, when they exist
};

// A directory of its own for a series of runs in one place: the run
// directory, and the scenario and the console file beside it.
struct Workspace {
  std::string top;
  std::string dir;

  Workspace() {
    char pattern[] = "/tmp/ethercfg-proof-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      ADD_FAILURE() << "no temporary directory";
      return;
    }
    top = pattern;
    dir = top + "/run";
    fs::create_directory(dir);
    WriteWholeFile(top + "/scenario", kScenario);
  }
  ~Workspace() {
    std::error_code error;
    fs::remove_all(top, error);
  }

  // Empties the run directory and puts `ini` in it as ethernet.ini.
  void Reset(const std::string& ini) const {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error))
      fs::remove_all(entry.path(), error);
    WriteWholeFile(dir + "/" + kIni, ini);
  }

  // The tool's two files, whatever else the directory holds.
  Files Settings() const {
    Files files;
    for (const std::string& name : {kIni, kCopy}) {
      const fs::path path = dir + "/" + name;
      if (fs::is_symlink(path) || fs::exists(path))
        files[name] = fs::is_regular_file(path) ? ReadWholeFile(path.string()) : "<not a file>";
    }
    return files;
  }

  std::string Command(const std::string& wrap) const {
    return "cd " + ShellQuote(dir) + " && ETHERCFG_SCENARIO=" + ShellQuote(top + "/scenario") +
           " ETHERCFG_CALL_LOG= " + wrap + " " + ShellQuote(ToolCommand()) +
           " </dev/null >" + ShellQuote(top + "/console") + " 2>" + ShellQuote(top + "/stderr");
  }

  Outcome Collect(int status) const {
    Outcome outcome;
    outcome.console = ReadWholeFile(top + "/console");
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.files = Settings();
    return outcome;
  }

  Outcome Run(const std::string& wrap = "") const { return Collect(system(Command(wrap).c_str())); }
};

// A run with nothing in its way records all three settings, whatever a
// failed or killed run left behind, and leaves no copy.
void ExpectCleanRunRepairs(const Workspace& workspace) {
  const Outcome clean = workspace.Run();
  EXPECT_EQ(clean.status, 0) << "clean run";
  EXPECT_EQ(clean.console, kSuccess) << "clean run";
  EXPECT_EQ(Shown(clean.files), Shown(Files{{kIni, kStates[3]}})) << "clean run";
}

// What a killed run may leave: the whole state of the keys written so far,
// and at most the beginning of the next state in the copy.
void ExpectKilledRunLeftAWholeState(const Outcome& outcome, int written) {
  ASSERT_LE(written, 3);
  EXPECT_EQ(outcome.console, "") << "the console is written at the end of a run";
  ASSERT_EQ(outcome.files.count(kIni), 1u) << "ethernet.ini is gone";
  EXPECT_EQ(StateOf(outcome.files.at(kIni)), written) << "ethernet.ini holds no whole state";
  const auto copy = outcome.files.find(kCopy);
  if (copy != outcome.files.end()) {
    ASSERT_LT(written, 3) << "a copy after the last update";
    EXPECT_EQ(kStates[written + 1].compare(0, copy->second.size(), copy->second), 0)
        << "the copy is not the beginning of the next state";
  }
}

// ---------------------------------------------------------------------------
// A fault at every step: the Nth call of one kind fails with EIO (or the
// tool is killed as it makes it), for N = 1, 2, ... until no call is left.

struct Sweep {
  std::string call;
  bool kill;  // SIGKILL instead of EIO
};

std::string SweepName(const Sweep& sweep) { return sweep.call + (sweep.kill ? "_SIGKILL" : "_EIO"); }

void PrintTo(const Sweep& sweep, std::ostream* os) { *os << SweepName(sweep); }

std::vector<Sweep> Sweeps() {
  std::vector<Sweep> sweeps;
  for (const char* call : kUpdateCallKinds)
    for (bool kill : {false, true})
      sweeps.push_back({call, kill});
  return sweeps;
}

// What strace's log of one run tells: the call it failed or killed the tool
// at, and what had happened before it.
struct Hit {
  bool found = false;
  std::string line;          // the call, as strace prints it
  int written = 0;           // keys written before it (successful renames)
  bool append_open = false;  // ethernet.ini was last opened for appending
};

Hit ReadStraceLog(const std::string& text, bool kill) {
  Hit hit;
  int renames = 0;
  bool append_open = false;
  std::string previous;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line.erase(0, line.find_first_not_of("0123456789 "));  // the process id
    const bool marked = kill ? line.find("+++ killed by SIGKILL") == 0
                             : line.find("(INJECTED)") != std::string::npos;
    if (marked) {
      hit.found = true;
      hit.line = kill ? previous : line;
      hit.written = renames;
      hit.append_open = append_open;
      break;
    }
    if (line.rfind("rename(", 0) == 0 && line.size() > 4 && line.compare(line.size() - 4, 4, " = 0") == 0)
      ++renames;
    if (line.rfind("openat(", 0) == 0 && line.find("\"ethernet.ini\"") != std::string::npos &&
        line.find(" = -1") == std::string::npos)
      append_open = line.find("O_APPEND") != std::string::npos;
    previous = line;
  }
  return hit;
}

// The documented result of one failed call.
struct Documented {
  bool ignored = false;    // the run goes on: a cleanup or the directory's sync
  std::string message;     // otherwise the update's message
  bool copy_left = false;  // and whether the new content stays in the copy
};

Documented DocumentedFailure(const Hit& hit) {
  const std::string& line = hit.line;
  const std::string call = line.substr(0, line.find('('));
  if (call == "rename")
    return {false, kCannotRename, true};
  if (call == "unlink")
    return {true, "", false};  // the removal of a leftover copy
  // What the call works on: the name that openat is given, the file behind
  // the descriptor of the others (strace -y prints it).
  std::string target = "dir";
  if (call == "openat") {
    if (line.find("\"" + kCopy + "\"") != std::string::npos)
      target = "copy";
    else if (line.find("\"" + kIni + "\"") != std::string::npos)
      target = "ini";
  } else {
    const size_t start = line.find('<') + 1;
    const std::string path = line.substr(start, line.find('>', start) - start);
    if (path.size() > kCopy.size() && path.substr(path.size() - kCopy.size() - 1) == "/" + kCopy)
      target = "copy";
    else if (path.size() > kIni.size() && path.substr(path.size() - kIni.size() - 1) == "/" + kIni)
      target = "ini";
  }

  if (target == "dir")
    return {true, "", false};  // the sync of the directory after a rename
  if (call == "openat" && target == "copy")
    return {false, kCannotCreate, false};
  if (call == "openat")
    return {false, line.find("O_APPEND") != std::string::npos ? kCannotAppend : kCannotOpen, false};
  if (call == "lseek" && target == "ini" && hit.append_open)
    return {false, kCannotAppend, false};  // opening for appending seeks to the end
  if (call == "fchmod")
    return {false, kCannotCreate, false};
  if (call == "read")
    return {false, kCannotRead, false};
  if (call == "write" || call == "lseek" || call == "fsync")
    return {false, kCannotWrite, false};
  if (call == "close" && target == "copy")
    return {false, kCannotCloseCopy, true};
  if (call == "close" && hit.append_open)
    return {true, "", false};  // the file opened only to make sure it exists
  if (call == "close")
    return {false, kCannotCloseIni, true};
  ADD_FAILURE() << "no documented result for " << line;
  return {};
}

void ExpectDocumentedResult(const Outcome& outcome, const Hit& hit) {
  const Documented d = DocumentedFailure(hit);
  const int w = hit.written;
  if (d.ignored) {
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.console, kSuccess);
    EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[3]}}));
    return;
  }
  ASSERT_LT(w, 3);
  Files expected{{kIni, kStates[w]}};
  if (d.copy_left)
    expected[kCopy] = kStates[w + 1];
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.console, FailedConsole(w, d.message));
  EXPECT_EQ(Shown(outcome.files), Shown(expected));
}

class EveryStep : public testing::TestWithParam<Sweep> {};

TEST_P(EveryStep, LeavesAWholeStateAndTheDocumentedResult) {
  const Sweep& sweep = GetParam();
  if (!ToolIsNative())
    GTEST_SKIP() << "strace applies to the native tool only";
  if (!HaveStrace())
    GTEST_SKIP() << "strace is not installed";
  const Workspace workspace;
  const std::string log = workspace.top + "/strace.log";
  // -P keeps the count to the update's own calls (not the loader's, nor the
  // scenario's); the copy's name does not exist yet, so it is named whole.
  const std::string trace = "strace -f -y -o " + ShellQuote(log) + " -e trace=" + kUpdateCalls +
                            " -P ethernet.ini -P . -P " + kCopy + " -P \"$(pwd -P)/" + kCopy + "\"";
  int hits = 0;
  std::map<std::string, int> results;
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 1000) << "the calls never run out";
    workspace.Reset(kStates[0]);
    const std::string inject = " -e inject=" + sweep.call + ":error=EIO" + (sweep.kill ? ":signal=SIGKILL" : "") +
                               ":when=" + std::to_string(n);
    const Outcome outcome = workspace.Run(trace + inject);
    const Hit hit = ReadStraceLog(ReadWholeFile(log), sweep.kill);
    if (!hit.found) {  // no call of this kind left: the run is whole
      EXPECT_EQ(outcome.status, 0);
      EXPECT_EQ(outcome.console, kSuccess);
      EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[3]}}));
      break;
    }
    ++hits;
    SCOPED_TRACE(SweepName(sweep) + " #" + std::to_string(n) + ": " + hit.line);
    ASSERT_EQ(outcome.files.count(kIni), 1u) << "ethernet.ini is gone";
    EXPECT_NE(StateOf(outcome.files.at(kIni)), -1) << "ethernet.ini holds no whole state";
    if (outcome.status == 0) {
      EXPECT_EQ(outcome.files.at(kIni), kStates[3]) << "status 0 without all three keys";
    }
    if (sweep.kill) {
      EXPECT_EQ(outcome.status, 128 + SIGKILL);
      ExpectKilledRunLeftAWholeState(outcome, hit.written);
      ++results[outcome.files.count(kCopy) ? "copy left" : "no copy"];
    } else {
      ExpectDocumentedResult(outcome, hit);
      const Documented d = DocumentedFailure(hit);
      const size_t start = d.message.find_first_not_of('\n');
      ++results[d.ignored ? "(the run goes on)" : d.message.substr(start, d.message.find('\n', start) - start)];
    }
    if (outcome.status != 0)
      ExpectCleanRunRepairs(workspace);
  }
  printf("[ sweep    ] %s: %d %s\n", SweepName(sweep).c_str(), hits, sweep.kill ? "crashes" : "faults");
  for (const auto& [result, count] : results)
    printf("[ sweep    ]   %3d  %s\n", count, result.c_str());
  RecordProperty("injected", hits);
  EXPECT_GT(hits, 0) << "strace failed no call";
}

INSTANTIATE_TEST_SUITE_P(Update, EveryStep, testing::ValuesIn(Sweeps()),
                         [](const testing::TestParamInfo<Sweep>& info) { return SweepName(info.param); });

// ---------------------------------------------------------------------------
// Crashes at random moments: each call of the update is slowed down by
// strace, and the run is killed after a random time.

// Waits for every child, the tool included once strace is gone.
void Reap() {
  int status;
  while (waitpid(-1, &status, 0) > 0 || errno == EINTR) {
  }
}

// Starts the tool under strace, which delays each call of the update by
// `delay_us`, in a process group of its own; its console goes to the
// workspace's console file. Returns the group's id.
pid_t StartSlowRun(const Workspace& workspace, int delay_us) {
  const std::string calls = kUpdateCalls;
  const std::vector<std::string> args = {
      "strace", "-f", "-o", "/dev/null", "-e", "trace=" + calls, "-P", kIni, "-P", ".",
      "-P", workspace.dir + "/" + kCopy, "-e", "inject=" + calls + ":delay_enter=" + std::to_string(delay_us),
      ToolCommand()};
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::string scenario = workspace.top + "/scenario";
  const std::string console = workspace.top + "/console";
  // A kill may land before the child has opened its console: the clean run's
  // console from the round before must not pass for this run's.
  unlink(console.c_str());
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    const int out = open(console.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    if (chdir(workspace.dir.c_str()) != 0 || out < 0 || null < 0)
      _exit(126);
    dup2(null, 0);
    dup2(out, 1);
    dup2(null, 2);
    setenv("ETHERCFG_SCENARIO", scenario.c_str(), 1);
    setenv("ETHERCFG_CALL_LOG", "", 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid > 0)
    setpgid(pid, pid);  // whichever of the two comes first
  return pid;
}

TEST(Crash, KilledAtRandomMomentsLeavesAWholeState) {
  if (!ToolIsNative())
    GTEST_SKIP() << "the crashes apply to the native tool only";
  if (!HaveStrace())
    GTEST_SKIP() << "strace is not installed";
  // The tool outlives strace when both are killed; as their subreaper this
  // process waits for it too, before looking at the files.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  const Workspace workspace;
  const int kDelayUs = 300;
  const int kRuns = 500;

  // A whole run tells how long the window for the kill is.
  using Clock = std::chrono::steady_clock;
  Clock::duration window{};
  for (int i = 0; i < 3; ++i) {
    workspace.Reset(kStates[0]);
    const Clock::time_point start = Clock::now();
    ASSERT_GT(StartSlowRun(workspace, kDelayUs), 0);
    Reap();
    window = std::max(window, Clock::now() - start);
    ASSERT_EQ(workspace.Settings(), (Files{{kIni, kStates[3]}})) << "the slowed run does not finish";
  }
  const long window_us = std::chrono::duration_cast<std::chrono::microseconds>(window).count();

  std::random_device device;
  const unsigned seed = device();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> moment(0, window_us);
  int crashes = 0, copies = 0, finished = 0;
  int states[4] = {};
  for (int i = 0; i < kRuns; ++i) {
    workspace.Reset(kStates[0]);
    const pid_t group = StartSlowRun(workspace, kDelayUs);
    ASSERT_GT(group, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(-group, SIGKILL);
    Reap();
    const Outcome outcome = workspace.Collect(0);
    SCOPED_TRACE("run " + std::to_string(i) + " of seed " + std::to_string(seed));
    ASSERT_EQ(outcome.files.count(kIni), 1u) << "ethernet.ini is gone";
    const int state = StateOf(outcome.files.at(kIni));
    ASSERT_NE(state, -1) << "ethernet.ini holds no whole state";
    ++states[state];
    if (outcome.console.empty()) {  // killed before its end
      ++crashes;
      copies += static_cast<int>(outcome.files.count(kCopy));
      ExpectKilledRunLeftAWholeState(outcome, state);
    } else {
      ++finished;
      EXPECT_EQ(outcome.console, kSuccess);
      EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[3]}}));
    }
    ExpectCleanRunRepairs(workspace);
  }
  printf("[ crash    ] %d runs killed at random within %ld us (seed %u): %d crashes, %d finished first\n",
         kRuns, window_us, seed, crashes, finished);
  printf("[ crash    ] ethernet.ini left before the run %d, after ETHER_NIF %d, after ETHER_MAC %d, "
         "after ETHER_SPEED %d times; a partial copy left %d times\n",
         states[0], states[1], states[2], states[3], copies);
  RecordProperty("crashes", crashes);
}

// ---------------------------------------------------------------------------
// A full disk: a small tmpfs, filled so that a given number of pages stays
// free, for 0, 1, 2... pages until the run goes through.

// Unmounts on every path out of the test.
struct Mount {
  std::string path;
  bool mounted = false;
  Mount(const std::string& where, const std::string& options) : path(where) {
    mounted = mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~Mount() {
    if (mounted && umount2(path.c_str(), 0) != 0)
      umount2(path.c_str(), MNT_DETACH);
  }
};

bool FillTo(const std::string& dir, unsigned long long free_blocks) {
  struct statvfs fs;
  if (statvfs(dir.c_str(), &fs) != 0 || fs.f_bavail < free_blocks)
    return false;
  const std::string block(fs.f_frsize, '\0');
  std::ofstream filler(dir + "/filler", std::ios::binary);
  for (unsigned long long i = free_blocks; i < fs.f_bavail; ++i)
    filler.write(block.data(), block.size());
  filler.close();
  return filler.good() && statvfs(dir.c_str(), &fs) == 0 && fs.f_bavail == free_blocks;
}

bool CanMount() {
  if (geteuid() != 0)
    return false;
  const Workspace probe;
  const Mount mount(probe.dir, "size=16k");
  return mount.mounted;
}

TEST(FullDisk, EveryFillLeavesAWholeState) {
  if (!ToolIsNative())
    GTEST_SKIP() << "the full disk applies to the native tool only";
  if (!CanMount())
    GTEST_SKIP() << "mounting a tmpfs needs root";
  int runs = 0;
  int states[4] = {};
  for (const char* size : {"32k", "128k", "1m"}) {
    SCOPED_TRACE(std::string("tmpfs of ") + size);
    const Workspace workspace;
    const Mount mount(workspace.dir, std::string("size=") + size);
    ASSERT_TRUE(mount.mounted);
    for (unsigned long long free_blocks = 0;; ++free_blocks) {
      SCOPED_TRACE(std::to_string(free_blocks) + " blocks free");
      workspace.Reset(kStates[0]);
      ASSERT_TRUE(FillTo(workspace.dir, free_blocks)) << "the disk cannot be filled to that";
      const Outcome outcome = workspace.Run();
      ++runs;
      ASSERT_EQ(outcome.files.count(kIni), 1u) << "ethernet.ini is gone";
      const int state = StateOf(outcome.files.at(kIni));
      ASSERT_NE(state, -1) << "ethernet.ini holds no whole state";
      ++states[state];
      if (outcome.status == 0) {
        EXPECT_EQ(outcome.console, kSuccess);
        EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[3]}}));
        break;
      }
      EXPECT_EQ(outcome.status, 1);
      ASSERT_LT(state, 3);
      EXPECT_EQ(outcome.console, FailedConsole(state, kCannotWrite));
      EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[state]}})) << "the incomplete copy is left";
      fs::remove(workspace.dir + "/filler");
      ExpectCleanRunRepairs(workspace);
    }
  }

  // No inode left: the copy cannot be created; nor can a missing
  // ethernet.ini.
  for (bool has_ini : {true, false}) {
    SCOPED_TRACE(has_ini ? "no inode for the copy" : "no inode for ethernet.ini");
    const Workspace workspace;
    const Mount mount(workspace.dir, "size=1m,nr_inodes=8");
    ASSERT_TRUE(mount.mounted);
    workspace.Reset(kStates[0]);
    if (!has_ini)
      fs::remove(workspace.dir + "/" + kIni);
    fs::create_directory(workspace.dir + "/filler");
    for (int i = 0; i < 100 && close(open((workspace.dir + "/filler/" + std::to_string(i)).c_str(),
                                          O_WRONLY | O_CREAT, 0644)) == 0;)
      ++i;
    const Outcome outcome = workspace.Run();
    ++runs;
    EXPECT_EQ(outcome.status, 1);
    if (has_ini) {
      EXPECT_EQ(outcome.console, FailedConsole(0, kCannotCreate));
      EXPECT_EQ(Shown(outcome.files), Shown(Files{{kIni, kStates[0]}}));
      fs::remove(workspace.dir + "/filler/0");
      ExpectCleanRunRepairs(workspace);
    } else {
      EXPECT_EQ(outcome.console, kBefore + kCannotAppend);
      EXPECT_EQ(Shown(outcome.files), Shown(Files{}));
    }
  }
  printf("[ full     ] %d runs on tmpfs of 32k, 128k and 1m filled to 0, 1, 2... free blocks, and out of "
         "inodes: ethernet.ini left before the run %d, after ETHER_NIF %d, after ETHER_MAC %d, "
         "after ETHER_SPEED %d times\n",
         runs, states[0], states[1], states[2], states[3]);
  EXPECT_GT(states[0], 0) << "the disk never stopped the first update";
}

}  // namespace
