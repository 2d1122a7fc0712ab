// The packet capture driver's five operations and the two records they
// exchange, as the tool calls them. Which provider answers them is chosen at
// link time (or, on Windows, by the library the program loads): the driver's
// own library, the Linux kernel, or the scripted provider of the tests.
//
// Every operation is called in one thread, in this order within a run:
// PacketGetAdapterNames, then for the chosen adapter PacketOpenAdapter,
// PacketGetNetType, PacketRequest and PacketCloseAdapter. A uint8_t result
// counts as success when it equals 1.
#ifndef ETHERCFG_PACKET_PACKET_H_
#define ETHERCFG_PACKET_PACKET_H_

#include <cstdint>

/// Opaque handle of an open adapter; null means the open failed.
typedef void* AdapterHandle;

#pragma pack(push, 1)
/// Filled by PacketGetNetType. LinkType 0 is Ethernet (802.3); LinkSpeed is in
/// bits per second.
struct NetTypeRecord { uint32_t LinkType; uint64_t LinkSpeed; };
/// Passed to PacketRequest. For the address query Oid is 0x01010102 and
/// Length 256; Data[0..5] then holds the current hardware address.
struct OidRequest { uint32_t Oid; uint32_t Length; uint8_t Data[260]; };
#pragma pack(pop)

static_assert(sizeof(NetTypeRecord) == 12, "NetTypeRecord is 12 bytes, no gap");
static_assert(sizeof(OidRequest) == 268, "OidRequest is 268 bytes");

/// The OID of the 802.3 current-address query.
const uint32_t kOidCurrentAddress = 0x01010102;

extern "C" {
/// Fills `block` (of `*size` bytes) with the adapter names, each ended by a
/// NUL, the list ended by an empty name. The tool does not examine the result.
uint8_t PacketGetAdapterNames(char* block, uint32_t* size);
/// Opens the adapter called `name`; null on failure.
AdapterHandle PacketOpenAdapter(const char* name);
/// Fills `type` with the adapter's medium and link speed; 1 on success.
uint8_t PacketGetNetType(AdapterHandle adapter, NetTypeRecord* type);
/// Queries (`set` 0) or sets (`set` 1) the OID named in `request`; 1 on
/// success, with the answer in request->Data.
uint8_t PacketRequest(AdapterHandle adapter, uint8_t set, OidRequest* request);
/// Closes a handle PacketOpenAdapter returned; called once per handle.
void PacketCloseAdapter(AdapterHandle adapter);
}

#endif  // ETHERCFG_PACKET_PACKET_H_
