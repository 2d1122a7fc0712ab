// The Linux provider against the real kernel. Each test makes a private
// network namespace holding a veth pair and a tap device with known
// addresses, then calls the provider's operations inside it, or runs the
// real tool there with `ip netns exec`. Without root no namespace can be
// made, and those tests report themselves skipped.
#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "packet/packet.h"
#include "tests/netns.h"
#include "tests/run_tool.h"

namespace {

const uint64_t kVethSpeed = 10000000000u;  // veth always reports 10 Gb/s
// A name of the longest length the kernel allows, for the test that a longer
// one is not cut down to it.
const std::string kTap = "tap-fifteen-chr";
static_assert(sizeof "tap-fifteen-chr" == 16, "IFNAMSIZ - 1 characters");

// tun devices report 10 Mb/s before Linux 6.2 and 10 Gb/s since.
uint64_t TapSpeed() {
  utsname system;
  int major = 0, minor = 0;
  if (uname(&system) == 0)
    sscanf(system.release, "%d.%d", &major, &minor);
  return major > 6 || (major == 6 && minor >= 2) ? 10000000000u : 10000000u;
}

struct Interface {
  std::string name;
  bool ethernet;
  uint64_t speed;       // bits per second
  std::string address;  // as the tool prints it; empty when not Ethernet
};

std::vector<Interface> Interfaces() {
  return {
      {"lo", false, 0, ""},  // no ethtool support: speed 0
      {"eth-a", true, kVethSpeed, "00:0c:29:ab:cd:ef"},  // up
      {"eth-b", true, kVethSpeed, "fe:01:02:03:04:05"},  // up
      {kTap, true, TapSpeed(), "0e:11:22:33:44:55"},     // down
  };
}

std::string AddressText(const uint8_t* bytes) {
  char text[18];
  snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", bytes[0],
           bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]);
  return text;
}

class PrivateNetwork : public testing::Test {
 protected:
  void SetUp() override {
    if (ns_.name.empty())
      GTEST_SKIP() << "cannot make a network namespace (needs root): " << ns_.error;
    const std::string ip = "ip -n " + ShellQuote(ns_.name) + " ";
    std::string output;
    ASSERT_TRUE(RunCommands(
        // The long name first, so that shorter ones follow it in the list.
        ip + "tuntap add mode tap name " + kTap + " && " +
            ip + "link set " + kTap + " address 0e:11:22:33:44:55 && " +
            ip + "link add eth-a type veth peer name eth-b && " +
            ip + "link set eth-a address 00:0c:29:ab:cd:ef && " +
            ip + "link set eth-b address fe:01:02:03:04:05 && " +
            ip + "link set eth-a up && " + ip + "link set eth-b up",
        &output))
        << output;
  }

  // The tool's number for an interface: its place in index order.
  int NumberOf(const std::string& name) {
    const std::vector<std::string> names = InterfaceNames(ns_);
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name)
        return static_cast<int>(i) + 1;
    ADD_FAILURE() << name << " is not in the namespace";
    return 0;
  }

  NetworkNamespace ns_;
};

// The same, with the test's own thread inside the namespace, so that the
// provider's calls meet its interfaces. It leaves before the namespace goes.
class InsidePrivateNetwork : public PrivateNetwork {
 protected:
  void SetUp() override {
    PrivateNetwork::SetUp();
    if (IsSkipped() || HasFatalFailure())
      return;
    inside_.reset(new InsideNamespace(ns_));
    ASSERT_TRUE(inside_->entered) << inside_->error;
  }

  std::unique_ptr<InsideNamespace> inside_;
};

TEST_F(PrivateNetwork, ToolRecordsTheChosenInterface) {
  std::string list = "Adapters installed:\n";
  const std::vector<std::string> names = InterfaceNames(ns_);
  ASSERT_EQ(names.size(), 4u);
  for (size_t i = 0; i < names.size(); ++i)
    list += "\n" + std::to_string(i + 1) + "- " + names[i] + "\n";
  list += "\n";

  struct Row {
    std::string name;
    std::string said;  // between the list and the recording
    std::string mac;
    std::string speed;
  } rows[] = {
      {"eth-a", "Physical address read: 00:0c:29:ab:cd:ef\n", "020c29abcdef", "10000Mbps"},
      {"eth-b", "Physical address read: fe:01:02:03:04:05\n", "000102030405", "10000Mbps"},
      {kTap, "Physical address read: 0e:11:22:33:44:55\n", "101122334455",
       std::to_string(TapSpeed() / 1000000) + "Mbps"},
      {"lo", "NOT Ethernet802.3 card.\nNetwork Interface not supported\n", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const int number = NumberOf(row.name);
    ToolRun run;
    run.wrap = "ip netns exec " + ShellQuote(ns_.name);
    run.args = std::to_string(number);
    const ToolResult result = RunTool(run);
    EXPECT_EQ(result.console, "Adapters installed:\n" + list + row.said +
                                  "Writing settings to ethernet.ini.\n\n\nUsing adapter " +
                                  std::to_string(number) + "\n");
    EXPECT_EQ(result.status, 0);
    const std::map<std::string, std::string> files = {
        {"ethernet.ini", "ETHER_NIF=" + row.name + "\r\nETHER_MAC=" + row.mac +
                             "\r\n\r\nETHER_SPEED=" + row.speed + "\r\n"}};
    EXPECT_EQ(result.files, files);
  }
}

TEST_F(InsidePrivateNetwork, NameBlockHoldsWholeNamesWithinTheGivenSize) {
  const std::vector<std::string> names = InterfaceNames(ns_);
  std::string all;
  for (const std::string& name : names)
    all += name + '\0';
  const uint32_t full = static_cast<uint32_t>(all.size() + 1);

  // Every size from nothing to more than enough: the names that fit whole,
  // then the empty name, and not a byte beyond the size.
  for (uint32_t capacity = 0; capacity <= full + 2; ++capacity) {
    SCOPED_TRACE("size " + std::to_string(capacity));
    std::string expected;
    for (const std::string& name : names) {
      if (expected.size() + name.size() + 1 >= capacity)
        break;
      expected += name + '\0';
    }
    if (capacity > 0)
      expected += '\0';
    const size_t guard = 16;
    std::vector<char> block(capacity + guard, '#');
    uint32_t size = capacity;
    const uint8_t result = PacketGetAdapterNames(block.data(), &size);
    EXPECT_EQ(result, capacity >= full ? 1 : 0);
    EXPECT_EQ(size, capacity >= full ? capacity : full);
    EXPECT_EQ(std::string(block.data(), expected.size()), expected);
    EXPECT_EQ(std::string(block.data() + capacity, guard), std::string(guard, '#'));
  }
}

TEST_F(InsidePrivateNetwork, QueriesReportMediumSpeedAndAddress) {
  for (const Interface& interface : Interfaces()) {
    SCOPED_TRACE(interface.name);
    AdapterHandle handle = PacketOpenAdapter(interface.name.c_str());
    ASSERT_NE(handle, nullptr);
    NetTypeRecord type{};
    ASSERT_EQ(PacketGetNetType(handle, &type), 1);
    EXPECT_EQ(type.LinkType == 0, interface.ethernet);
    EXPECT_EQ(uint64_t{type.LinkSpeed}, interface.speed);
    OidRequest request{};
    request.Oid = kOidCurrentAddress;
    request.Length = 256;
    const uint8_t answered = PacketRequest(handle, 0, &request);
    EXPECT_EQ(answered, interface.ethernet ? 1 : 0);
    if (answered == 1) {
      EXPECT_EQ(AddressText(request.Data), interface.address);
    }
    PacketCloseAdapter(handle);
  }
}

TEST_F(InsidePrivateNetwork, UnknownSpeedGivesZero) {
  // A bridge without ports reports its speed as unknown. (An ifb device, which
  // has no ethtool support at all, is not used: loading its module makes
  // ifb0 and ifb1 in the machine's own namespace, which outlive the test.)
  std::string output;
  const std::string ip = "ip -n " + ShellQuote(ns_.name) + " ";
  if (!RunCommands(ip + "link add br-none type bridge", &output))
    GTEST_SKIP() << "this kernel makes no bridge device: " << output;
  AdapterHandle handle = PacketOpenAdapter("br-none");
  ASSERT_NE(handle, nullptr);
  NetTypeRecord type{};
  type.LinkSpeed = 1;
  EXPECT_EQ(PacketGetNetType(handle, &type), 1);
  EXPECT_EQ(type.LinkType, 0u);
  EXPECT_EQ(uint64_t{type.LinkSpeed}, 0u);
  PacketCloseAdapter(handle);
}

TEST_F(InsidePrivateNetwork, OpenTakesOnlyAnExactExistingName) {
  AdapterHandle longest = PacketOpenAdapter(kTap.c_str());
  EXPECT_NE(longest, nullptr);
  PacketCloseAdapter(longest);
  const std::string refused[] = {
      "",                        // no name
      "eth-c",                   // no such interface
      "eth-a ",                  // a real name and a blank
      "no/such",                 // a name the kernel never gives
      kTap + "s",                // its first 15 bytes name the tap
      kTap + std::string(40, 'x'),
  };
  for (const std::string& name : refused)
    EXPECT_EQ(PacketOpenAdapter(name.c_str()), nullptr) << "'" << name << "'";
  EXPECT_EQ(PacketOpenAdapter(nullptr), nullptr);
}

TEST_F(InsidePrivateNetwork, AddressQueryAnswersOnlyTheCurrentAddress) {
  AdapterHandle handle = PacketOpenAdapter("eth-a");
  ASSERT_NE(handle, nullptr);
  struct {
    const char* what;
    uint8_t set;
    uint32_t oid;
    uint32_t length;
    bool answered;
  } cases[] = {
      {"query", 0, kOidCurrentAddress, 256, true},
      {"room for the address only", 0, kOidCurrentAddress, 6, true},
      {"no room for the address", 0, kOidCurrentAddress, 5, false},
      {"a set", 1, kOidCurrentAddress, 256, false},
      {"the permanent address", 0, 0x01010101, 256, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OidRequest request;
    memset(&request, 0xee, sizeof request);
    request.Oid = c.oid;
    request.Length = c.length;
    EXPECT_EQ(PacketRequest(handle, c.set, &request), c.answered ? 1 : 0);
    if (c.answered) {
      EXPECT_EQ(AddressText(request.Data), "00:0c:29:ab:cd:ef");
      EXPECT_EQ(request.Length, 6u);
    }
    const size_t written = c.answered ? 6 : 0;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(request.Data) + written,
                          sizeof request.Data - written),
              std::string(sizeof request.Data - written, '\xee'));
  }
  PacketCloseAdapter(handle);
}

TEST_F(InsidePrivateNetwork, QueriesFailOnceTheInterfaceIsGone) {
  AdapterHandle handle = PacketOpenAdapter(kTap.c_str());
  ASSERT_NE(handle, nullptr);
  std::string output;
  ASSERT_TRUE(RunCommands("ip -n " + ShellQuote(ns_.name) + " link delete " + kTap, &output))
      << output;
  NetTypeRecord type{};
  EXPECT_EQ(PacketGetNetType(handle, &type), 0);
  OidRequest request{};
  request.Oid = kOidCurrentAddress;
  request.Length = 256;
  EXPECT_EQ(PacketRequest(handle, 0, &request), 0);
  PacketCloseAdapter(handle);
}

// What needs no namespace, so that it runs everywhere: loopback is listed
// and answers as a medium other than Ethernet, and impossible names fail.
TEST(HostKernel, LoopbackAndImpossibleNames) {
  std::vector<char> block(8192);
  uint32_t size = 8192;
  EXPECT_EQ(PacketGetAdapterNames(block.data(), &size), 1);
  bool listed = false;
  for (const char* name = block.data(); *name != '\0'; name += strlen(name) + 1)
    listed = listed || strcmp(name, "lo") == 0;
  EXPECT_TRUE(listed);

  AdapterHandle handle = PacketOpenAdapter("lo");
  ASSERT_NE(handle, nullptr);
  NetTypeRecord type{};
  EXPECT_EQ(PacketGetNetType(handle, &type), 1);
  EXPECT_NE(type.LinkType, 0u);
  EXPECT_EQ(uint64_t{type.LinkSpeed}, 0u);
  OidRequest request{};
  request.Oid = kOidCurrentAddress;
  request.Length = 256;
  EXPECT_EQ(PacketRequest(handle, 0, &request), 0);
  PacketCloseAdapter(handle);

  EXPECT_EQ(PacketOpenAdapter("no/such"), nullptr);
  EXPECT_EQ(PacketOpenAdapter(("lo" + std::string(20, 'x')).c_str()), nullptr);
  EXPECT_EQ(PacketGetNetType(nullptr, &type), 0);
  EXPECT_EQ(PacketRequest(nullptr, 0, &request), 0);
  PacketCloseAdapter(nullptr);
}

}  // namespace
