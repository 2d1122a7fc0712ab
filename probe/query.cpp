#include <cstdio>
#include <memory>
#include <new>

#include "packet/packet.h"
#include "probe/probe.h"

int32_t SpeedFromLinkSpeed(uint64_t bits_per_second) {
  const uint64_t megabits = bits_per_second / 1000000u;
  // Seven digits and "Mbps" are what the recorded text has room for.
  return megabits <= 9999999u ? static_cast<int32_t>(megabits) : 0;
}

std::string BuildMacText(const uint8_t address[6]) {
  char text[13];
  const unsigned first = (address[0] + 2u) & 0xffu;
  snprintf(text, sizeof text, "%02x%02x%02x%02x%02x%02x", first, address[1],
           address[2], address[3], address[4], address[5]);
  return text;
}

namespace {

// Closes the adapter exactly once, when the query is over.
struct AdapterCloser {
  AdapterHandle handle;
  ~AdapterCloser() { PacketCloseAdapter(handle); }
};

}  // namespace

bool QueryAdapter(const std::string& name, LinkInfo* info) {
  AdapterHandle handle = PacketOpenAdapter(name.c_str());
  if (handle == nullptr) {
    printf("Problem with opening adapter (packet.lib issue)\n");
    return false;
  }
  AdapterCloser closer{handle};

  // Declared after the closer, so the records are released before the
  // adapter is closed. Zero-filled: a failed query leaves nothing undefined.
  std::unique_ptr<NetTypeRecord> type(new NetTypeRecord());
  std::unique_ptr<OidRequest> request(new OidRequest());

  // When the net type cannot be read the medium is unknown; the address
  // query still decides, as an adapter that answers it is Ethernet enough.
  bool ethernet = true;
  if (PacketGetNetType(handle, type.get()) == 1) {
    info->Speed = SpeedFromLinkSpeed(type->LinkSpeed);
    ethernet = type->LinkType == 0;
  } else {
    printf("Could not read Ethernet card's speed\n");
  }

  if (!ethernet) {
    printf("NOT Ethernet802.3 card.\nNetwork Interface not supported\n");
    return true;
  }

  request->Oid = kOidCurrentAddress;
  request->Length = 256;
  if (PacketRequest(handle, 0, request.get()) == 1) {
    const uint8_t* a = request->Data;
    printf("Physical address read: ");
    printf("%02x:%02x:%02x:%02x:%02x:%02x\n", a[0], a[1], a[2], a[3], a[4],
           a[5]);
    info->MacText = BuildMacText(a);
  } else {
    printf("Failed to read physical address of Ethernet card\n");
  }
  return true;
}
