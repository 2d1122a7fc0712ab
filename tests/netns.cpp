#include "tests/netns.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "tests/run_tool.h"

bool RunCommands(const std::string& commands, std::string* output) {
  output->clear();
  FILE* pipe = popen(("{ " + commands + "; } 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    *output = strerror(errno);
    return false;
  }
  char buffer[512];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output->append(buffer, count);
  return pclose(pipe) == 0;
}

NetworkNamespace::NetworkNamespace() {
  // The process id keeps test processes that run side by side apart.
  static std::atomic<int> made{0};
  const std::string wanted =
      "ethercfg-test-" + std::to_string(getpid()) + "-" + std::to_string(made++);
  std::string output;
  if (!RunCommands("ip netns add " + ShellQuote(wanted), &output)) {
    error = output.empty() ? "ip netns add failed" : output;
    return;
  }
  // A watchdog process removes the namespace as soon as the pipe's write end
  // closes: when this object is destroyed, and also when the test process
  // dies without destroying it (a crash in the code under test).
  int ends[2];
  const pid_t child = pipe2(ends, O_CLOEXEC) == 0 ? fork() : -1;
  if (child == 0) {
    close(ends[1]);
    signal(SIGINT, SIG_IGN);  // an interrupted run must still clean up
    signal(SIGTERM, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    char byte;
    ssize_t count;
    do
      count = read(ends[0], &byte, 1);
    while (count > 0 || (count < 0 && errno == EINTR));
    execlp("ip", "ip", "netns", "delete", wanted.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (child < 0) {
    error = std::string("no watchdog: ") + strerror(errno);
    RunCommands("ip netns delete " + ShellQuote(wanted), &output);
    return;
  }
  close(ends[0]);
  name = wanted;
  watchdog = child;
  guard = ends[1];
}

NetworkNamespace::~NetworkNamespace() {
  if (guard >= 0) {
    close(guard);
    waitpid(watchdog, nullptr, 0);
  }
}

std::vector<std::string> InterfaceNames(const NetworkNamespace& ns) {
  std::string output;
  std::vector<std::string> names;
  if (!RunCommands("ip -n " + ShellQuote(ns.name) + " -o link show", &output))
    return names;
  // Lines read "2: eth-b@eth-a: <BROADCAST,...> ...", in index order.
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t start = line.find(": ");
    if (start == std::string::npos)
      continue;
    const size_t end = line.find_first_of("@:", start + 2);
    names.push_back(line.substr(start + 2, end - start - 2));
  }
  return names;
}

InsideNamespace::InsideNamespace(const NetworkNamespace& ns) {
  home = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
  const int target = open(("/run/netns/" + ns.name).c_str(), O_RDONLY | O_CLOEXEC);
  if (home < 0 || target < 0 || setns(target, CLONE_NEWNET) != 0)
    error = strerror(errno);
  else
    entered = true;
  if (target >= 0)
    close(target);
}

InsideNamespace::~InsideNamespace() {
  if (entered)
    setns(home, CLONE_NEWNET);
  if (home >= 0)
    close(home);
}
