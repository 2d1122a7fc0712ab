// The five operations on Windows: forwarded to the packet capture driver's
// own library, packet.dll, which is loaded by name at run time. Nothing of the
// library is needed to build the tool; without it the tool says so and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "packet/packet.h"

namespace {

// The library's operations use the C calling convention.
typedef uint8_t(__cdecl* GetAdapterNamesFunction)(char*, uint32_t*);
typedef AdapterHandle(__cdecl* OpenAdapterFunction)(const char*);
typedef uint8_t(__cdecl* GetNetTypeFunction)(AdapterHandle, NetTypeRecord*);
typedef uint8_t(__cdecl* RequestFunction)(AdapterHandle, uint8_t, OidRequest*);
typedef void(__cdecl* CloseAdapterFunction)(AdapterHandle);

struct PacketLibrary {
  GetAdapterNamesFunction GetAdapterNames;
  OpenAdapterFunction OpenAdapter;
  GetNetTypeFunction GetNetType;
  RequestFunction Request;
  CloseAdapterFunction CloseAdapter;
};

template <typename Function>
bool FindOperation(HMODULE module, const char* name, Function* function) {
  const FARPROC address = GetProcAddress(module, name);
  // Through the generic function pointer type, which converts to any other
  // without a warning about incompatible signatures.
  *function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
  return address != nullptr;
}

// The module stays loaded for the life of the process, so its handle is
// never freed.
PacketLibrary LoadPacketLibrary() {
  PacketLibrary library = {};
  const HMODULE module = LoadLibraryA("packet.dll");
  if (module == nullptr ||
      !FindOperation(module, "PacketGetAdapterNames", &library.GetAdapterNames) ||
      !FindOperation(module, "PacketOpenAdapter", &library.OpenAdapter) ||
      !FindOperation(module, "PacketGetNetType", &library.GetNetType) ||
      !FindOperation(module, "PacketRequest", &library.Request) ||
      !FindOperation(module, "PacketCloseAdapter", &library.CloseAdapter)) {
    printf("Could not load packet.dll: is the packet capture driver installed?\n");
    exit(1);
  }
  return library;
}

// Loaded while the process starts, before the main routine runs, so that a
// missing library ends the run before its first line of output and before
// any file is touched.
const PacketLibrary g_library = LoadPacketLibrary();

}  // namespace

extern "C" {

uint8_t PacketGetAdapterNames(char* block, uint32_t* size) {
  return g_library.GetAdapterNames(block, size);
}

AdapterHandle PacketOpenAdapter(const char* name) {
  return g_library.OpenAdapter(name);
}

uint8_t PacketGetNetType(AdapterHandle adapter, NetTypeRecord* type) {
  return g_library.GetNetType(adapter, type);
}

uint8_t PacketRequest(AdapterHandle adapter, uint8_t set, OidRequest* request) {
  return g_library.Request(adapter, set, request);
}

void PacketCloseAdapter(AdapterHandle adapter) {
  g_library.CloseAdapter(adapter);
}

}  // extern "C"
