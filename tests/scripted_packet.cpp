// A provider of the driver's five operations for the tests: it answers from a
// scenario file and appends every call it receives to a call log. The paths
// come from ETHERCFG_SCENARIO and ETHERCFG_CALL_LOG. Only the C and C++
// libraries are used, so the same file builds as a Windows packet.dll.
//
// The scenario is read line by line, a directive a line:
//   name TEXT              a name and its NUL, appended to the block
//   block-text TEXT        raw bytes, no NUL
//   block-hex 00ff41...    raw bytes given in hexadecimal
//   block-repeat HH N      byte HH, N times
//   names-result N         the result of PacketGetAdapterNames (default 1)
//   names-write no         PacketGetAdapterNames writes nothing
//   adapter NAME           the lines below, up to the next adapter line,
//                          describe this adapter; NAME * stands for any other
//   open fail
//   nettype fail | nettype TYPE SPEED      (default: 0 100000000)
//   address fail | address 00:0c:29:ab:cd:ef   (the default)
//   request-result N       result byte of a successful address query
// An adapter the scenario does not describe opens with the defaults.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "packet/packet.h"

namespace {

struct ScriptedAdapter {
  std::string name;
  bool open_fails = false;
  bool nettype_fails = false;
  uint32_t link_type = 0;
  uint64_t link_speed = 100000000u;
  bool address_fails = false;
  uint8_t address[6] = {0x00, 0x0c, 0x29, 0xab, 0xcd, 0xef};
  unsigned request_result = 1;
};

struct Scenario {
  std::string block;
  unsigned names_result = 1;
  bool names_write = true;
  std::vector<ScriptedAdapter> adapters;
};

// One open handle: a slot whose address is the handle.
struct OpenAdapter {
  int number;
  ScriptedAdapter adapter;
};

Scenario* g_scenario = nullptr;
int g_opens = 0;

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

void Log(const char* format, ...) {
  const char* path = getenv("ETHERCFG_CALL_LOG");
  if (path == nullptr || *path == '\0')
    return;
  FILE* log = fopen(path, "ab");
  if (log == nullptr)
    return;
  va_list args;
  va_start(args, format);
  vfprintf(log, format, args);
  va_end(args);
  fclose(log);
}

bool ReadLine(FILE* file, std::string* line) {
  line->clear();
  int c;
  while ((c = getc(file)) != EOF && c != '\n')
    line->push_back(static_cast<char>(c));
  if (!line->empty() && line->back() == '\r')
    line->pop_back();
  return c != EOF || !line->empty();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    if (hex[i] == ':') { --i; continue; }
    bytes.push_back(static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1])));
  }
  return bytes;
}

const Scenario& GetScenario() {
  if (g_scenario != nullptr)
    return *g_scenario;
  g_scenario = new Scenario();
  const char* path = getenv("ETHERCFG_SCENARIO");
  FILE* file = path != nullptr ? fopen(path, "rb") : nullptr;
  if (file == nullptr)
    return *g_scenario;
  Scenario& s = *g_scenario;
  std::string line;
  ScriptedAdapter* adapter = nullptr;
  while (ReadLine(file, &line)) {
    const size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "name") {
      s.block += rest;
      s.block.push_back('\0');
    } else if (word == "block-text") {
      s.block += rest;
    } else if (word == "block-hex") {
      s.block += FromHex(rest);
    } else if (word == "block-repeat") {
      unsigned byte = 0, count = 0;
      sscanf(rest.c_str(), "%x %u", &byte, &count);
      s.block.append(count, static_cast<char>(byte));
    } else if (word == "names-result") {
      s.names_result = static_cast<unsigned>(strtoul(rest.c_str(), nullptr, 10));
    } else if (word == "names-write") {
      s.names_write = rest != "no";
    } else if (word == "adapter") {
      s.adapters.emplace_back();
      adapter = &s.adapters.back();
      adapter->name = rest;
    } else if (adapter != nullptr && word == "open") {
      adapter->open_fails = rest == "fail";
    } else if (adapter != nullptr && word == "nettype") {
      unsigned long long speed = 0;
      adapter->nettype_fails = rest == "fail";
      if (!adapter->nettype_fails &&
          sscanf(rest.c_str(), "%u %llu", &adapter->link_type, &speed) == 2)
        adapter->link_speed = speed;
    } else if (adapter != nullptr && word == "address") {
      adapter->address_fails = rest == "fail";
      const std::string bytes = FromHex(rest);
      if (!adapter->address_fails && bytes.size() == 6)
        memcpy(adapter->address, bytes.data(), 6);
    } else if (adapter != nullptr && word == "request-result") {
      adapter->request_result = static_cast<unsigned>(strtoul(rest.c_str(), nullptr, 10));
    }
  }
  fclose(file);
  return s;
}

ScriptedAdapter FindAdapter(const char* name) {
  const Scenario& s = GetScenario();
  for (const ScriptedAdapter& a : s.adapters)
    if (a.name == name) return a;
  for (const ScriptedAdapter& a : s.adapters)
    if (a.name == "*") return a;
  ScriptedAdapter defaults;
  defaults.name = name;
  return defaults;
}

}  // namespace

extern "C" {

uint8_t PacketGetAdapterNames(char* block, uint32_t* size) {
  const Scenario& s = GetScenario();
  Log("PacketGetAdapterNames size=%u\n", static_cast<unsigned>(*size));
  if (s.names_write) {
    size_t n = s.block.size() < *size ? s.block.size() : *size;
    memcpy(block, s.block.data(), n);
  }
  return static_cast<uint8_t>(s.names_result);
}

AdapterHandle PacketOpenAdapter(const char* name) {
  ScriptedAdapter adapter = FindAdapter(name);
  if (adapter.open_fails) {
    Log("PacketOpenAdapter %s -> null\n", name);
    return nullptr;
  }
  OpenAdapter* open = new OpenAdapter{++g_opens, adapter};
  Log("PacketOpenAdapter %s -> #%d\n", name, open->number);
  return open;
}

uint8_t PacketGetNetType(AdapterHandle handle, NetTypeRecord* type) {
  const OpenAdapter* open = static_cast<const OpenAdapter*>(handle);
  if (open->adapter.nettype_fails) {
    Log("PacketGetNetType #%d -> 0\n", open->number);
    return 0;
  }
  type->LinkType = open->adapter.link_type;
  type->LinkSpeed = open->adapter.link_speed;
  Log("PacketGetNetType #%d -> 1\n", open->number);
  return 1;
}

uint8_t PacketRequest(AdapterHandle handle, uint8_t set, OidRequest* request) {
  const OpenAdapter* open = static_cast<const OpenAdapter*>(handle);
  const bool answers = !open->adapter.address_fails && set == 0 &&
                       request->Oid == kOidCurrentAddress && request->Length >= 6;
  const unsigned result = answers ? open->adapter.request_result : 0;
  Log("PacketRequest #%d set=%u oid=0x%08x length=%u -> %u\n", open->number,
      static_cast<unsigned>(set), static_cast<unsigned>(request->Oid),
      static_cast<unsigned>(request->Length), result);
  if (answers)
    memcpy(request->Data, open->adapter.address, 6);
  return static_cast<uint8_t>(result);
}

void PacketCloseAdapter(AdapterHandle handle) {
  OpenAdapter* open = static_cast<OpenAdapter*>(handle);
  Log("PacketCloseAdapter #%d\n", open->number);
  delete open;
}

}  // extern "C"
