// The five operations answered by the Linux kernel: the adapters are the
// kernel's network interfaces, by name, in interface-index order. Nothing here
// needs a privilege: the names come from if_nameindex(), and every query is
// an ioctl on an ordinary datagram socket.
//
// What each operation gives:
//   PacketGetAdapterNames  every interface (down ones and loopback too); when
//                          they do not all fit in *size bytes, as many whole
//                          names as fit, *size set to what all would need,
//                          and result 0.
//   PacketOpenAdapter      a handle for an interface that exists under
//                          exactly that name; a name too long for the kernel
//                          fails rather than being cut to another one.
//   PacketGetNetType       link type 0 for an Ethernet interface, otherwise
//                          the kernel's hardware type (ARPHRD_*) with bit 31
//                          set; link speed from ethtool, 0 when the kernel
//                          does not know it or will not tell. Fails only when
//                          the interface cannot be queried at all.
//   PacketRequest          a query of OID 0x01010102 with Length >= 6 on an
//                          Ethernet interface: its six-byte hardware address
//                          in Data[0..5], Length set to 6. Anything else fails.
//   PacketCloseAdapter     releases the socket.
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <new>

#include "packet/packet.h"

namespace {

const uint32_t kSpeedUnknown = static_cast<uint32_t>(SPEED_UNKNOWN);

struct LinuxAdapter {
  int socket;
  char name[IFNAMSIZ];
};

// An ifreq naming the adapter's interface, with `data` for the ethtool calls.
ifreq Request(const LinuxAdapter& adapter, void* data = nullptr) {
  ifreq request;
  memset(&request, 0, sizeof request);
  memcpy(request.ifr_name, adapter.name, sizeof adapter.name);
  request.ifr_data = static_cast<char*>(data);
  return request;
}

bool HardwareAddress(const LinuxAdapter& adapter, sockaddr* address) {
  ifreq request = Request(adapter);
  if (ioctl(adapter.socket, SIOCGIFHWADDR, &request) != 0)
    return false;
  *address = request.ifr_hwaddr;
  return true;
}

// Megabits per second as ethtool reports them; 0 when the kernel says the
// speed is unknown (0 or all ones) or cannot say (no ethtool support, no
// right to ask, or any other refusal: the interface itself was answerable).
uint32_t EthtoolSpeed(const LinuxAdapter& adapter) {
  // ethtool_link_settings ends in a flexible array of link-mode masks: three
  // of link_mode_masks_nwords words, which the kernel gives as at most 127.
  uint32_t buffer[sizeof(ethtool_link_settings) / sizeof(uint32_t) + 3 * 127];
  ethtool_link_settings settings;
  memset(&settings, 0, sizeof settings);
  settings.cmd = ETHTOOL_GLINKSETTINGS;
  // The first call, with no mask words, only asks how many there are: the
  // kernel answers with their count negated.
  for (int call = 0; call < 2; ++call) {
    memset(buffer, 0, sizeof buffer);
    memcpy(buffer, &settings, sizeof settings);
    ifreq request = Request(adapter, buffer);
    if (ioctl(adapter.socket, SIOCETHTOOL, &request) != 0)
      break;
    memcpy(&settings, buffer, sizeof settings);
    if (settings.link_mode_masks_nwords > 0) {
      const uint32_t speed = settings.speed;
      return speed == kSpeedUnknown ? 0 : speed;
    }
    if (settings.link_mode_masks_nwords == 0)
      break;
    const int8_t words = static_cast<int8_t>(-settings.link_mode_masks_nwords);
    memset(&settings, 0, sizeof settings);
    settings.cmd = ETHTOOL_GLINKSETTINGS;
    settings.link_mode_masks_nwords = words;
  }

  // Kernels before 4.6 and some drivers answer only the older query.
  ethtool_cmd legacy;
  memset(&legacy, 0, sizeof legacy);
  legacy.cmd = ETHTOOL_GSET;
  ifreq request = Request(adapter, &legacy);
  if (ioctl(adapter.socket, SIOCETHTOOL, &request) != 0)
    return 0;
  const uint32_t speed = ethtool_cmd_speed(&legacy);
  return speed == kSpeedUnknown ? 0 : speed;
}

}  // namespace

extern "C" {

uint8_t PacketGetAdapterNames(char* block, uint32_t* size) {
  if (block == nullptr || size == nullptr)
    return 0;
  const uint32_t capacity = *size;
  if (capacity > 0)
    block[0] = '\0';
  struct if_nameindex* names = if_nameindex();
  if (names == nullptr)
    return 0;
  // One byte always stays free for the empty name that ends the list. Once a
  // name does not fit, no later one is written, so the order stays whole.
  uint64_t used = 0;
  uint64_t needed = 1;
  bool fits = capacity > 0;
  for (const struct if_nameindex* entry = names; entry->if_index != 0; ++entry) {
    const size_t length = strlen(entry->if_name) + 1;
    fits = fits && used + length < capacity;
    if (fits) {
      memcpy(block + used, entry->if_name, length);
      used += length;
    }
    needed += length;
  }
  if_freenameindex(names);
  if (capacity > 0)
    block[used] = '\0';
  if (!fits) {
    *size = needed > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(needed);
    return 0;
  }
  return 1;
}

AdapterHandle PacketOpenAdapter(const char* name) {
  if (name == nullptr)
    return nullptr;
  const size_t length = strlen(name);
  if (length >= IFNAMSIZ)
    return nullptr;
  LinuxAdapter* adapter = new (std::nothrow) LinuxAdapter();
  if (adapter == nullptr)
    return nullptr;
  memcpy(adapter->name, name, length + 1);
  adapter->socket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request = Request(*adapter);
  if (adapter->socket < 0 ||
      ioctl(adapter->socket, SIOCGIFINDEX, &request) != 0) {
    PacketCloseAdapter(adapter);
    return nullptr;
  }
  return adapter;
}

uint8_t PacketGetNetType(AdapterHandle handle, NetTypeRecord* type) {
  if (handle == nullptr || type == nullptr)
    return 0;
  const LinuxAdapter& adapter = *static_cast<LinuxAdapter*>(handle);
  sockaddr address;
  if (!HardwareAddress(adapter, &address))
    return 0;
  type->LinkType =
      address.sa_family == ARPHRD_ETHER ? 0 : 0x80000000u | address.sa_family;
  type->LinkSpeed = uint64_t{EthtoolSpeed(adapter)} * 1000000u;
  return 1;
}

uint8_t PacketRequest(AdapterHandle handle, uint8_t set, OidRequest* request) {
  if (handle == nullptr || request == nullptr || set != 0 ||
      request->Oid != kOidCurrentAddress || request->Length < 6)
    return 0;
  sockaddr address;
  if (!HardwareAddress(*static_cast<LinuxAdapter*>(handle), &address) ||
      address.sa_family != ARPHRD_ETHER)
    return 0;
  memcpy(request->Data, address.sa_data, 6);
  request->Length = 6;
  return 1;
}

void PacketCloseAdapter(AdapterHandle handle) {
  LinuxAdapter* adapter = static_cast<LinuxAdapter*>(handle);
  if (adapter == nullptr)
    return;
  if (adapter->socket >= 0)
    close(adapter->socket);
  delete adapter;
}

}  // extern "C"
