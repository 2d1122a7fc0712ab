// Fuzzes the split of the driver's name block with any bytes: once in a
// block of exactly their size, so that AddressSanitizer sees any read past
// it, and once in the 8192-byte block of a run, zero-filled after them.
// Every name returned must be non-empty, free of NUL, and stand in the block
// in order, each after the NUL of the one before; and the list must stop
// only at the end of the block, at an empty name, or at a name that runs to
// the end without its NUL.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "probe/probe.h"

namespace {

void Fail(const char* what) {
  fprintf(stderr, "split: %s\n", what);
  abort();
}

void CheckSplit(const char* block, size_t size) {
  const std::vector<std::string> names = SplitAdapterNames(block, size);
  size_t at = 0;
  for (const std::string& name : names) {
    if (name.empty())
      Fail("an empty name");
    if (name.find('\0') != std::string::npos)
      Fail("a name holds a NUL");
    if (at + name.size() >= size || memcmp(block + at, name.data(), name.size()) != 0 ||
        block[at + name.size()] != '\0')
      Fail("a name that does not stand next in the block");
    at += name.size() + 1;
  }
  if (at < size && block[at] != '\0' && memchr(block + at, '\0', size - at) != nullptr)
    Fail("a complete name left out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kNameBlockSize)
    return 0;
  std::unique_ptr<char[]> exact(new char[size]);
  if (size > 0)
    memcpy(exact.get(), data, size);
  CheckSplit(exact.get(), size);

  std::unique_ptr<char[]> block(new char[kNameBlockSize]());
  if (size > 0)
    memcpy(block.get(), data, size);
  CheckSplit(block.get(), kNameBlockSize);
  return 0;
}
