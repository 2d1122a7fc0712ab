// A private network namespace for the tests that meet the real kernel. It is
// made with `ip netns add` under a name of its own and removed, with every
// interface in it, when the object is destroyed or the process ends, however
// it ends. Making one needs root; without it `name` stays empty and `error`
// says why, so the test can skip.
#ifndef ETHERCFG_TESTS_NETNS_H_
#define ETHERCFG_TESTS_NETNS_H_

#include <string>
#include <vector>

struct NetworkNamespace {
  NetworkNamespace();
  ~NetworkNamespace();
  NetworkNamespace(const NetworkNamespace&) = delete;
  NetworkNamespace& operator=(const NetworkNamespace&) = delete;

  std::string name;   // empty when none could be made
  std::string error;  // why not
  int watchdog = -1;  // the process that removes the namespace
  int guard = -1;     // closing this pipe end sets it off
};

/// Runs shell commands; true when they exit with 0. `output` receives what
/// they printed on both streams.
bool RunCommands(const std::string& commands, std::string* output);

/// The namespace's interface names in interface-index order, as `ip` sees
/// them through netlink.
std::vector<std::string> InterfaceNames(const NetworkNamespace& ns);

/// Moves the calling thread into the namespace for as long as it lives, so
/// that the provider's calls made in the test meet its interfaces; then
/// back home.
struct InsideNamespace {
  explicit InsideNamespace(const NetworkNamespace& ns);
  ~InsideNamespace();
  InsideNamespace(const InsideNamespace&) = delete;
  InsideNamespace& operator=(const InsideNamespace&) = delete;

  bool entered = false;
  std::string error;
  int home = -1;  // the namespace the thread came from
};

#endif  // ETHERCFG_TESTS_NETNS_H_
