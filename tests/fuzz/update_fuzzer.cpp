// Fuzzes the key update with any ethernet.ini bytes, any of the three keys
// and any value. The input's first byte picks the key, the second the
// value's length; the value's bytes follow (a NUL, CR or LF in them becomes
// a space: a value never holds one), and the rest is the file.
//
// The output is checked against the update's rule, worked out here line by
// line: every line that does not belong to the key comes out with the same
// bytes and a CR LF line end (a last line without one stays without), lines
// of blanks only are dropped, every line that belongs to the key becomes
// KEY=VALUE, and the key is appended when no line belonged. The key is
// present afterwards.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/settings.h"

namespace {

const char kBlanks[] = " \t\n\v\f\r";

void Fail(const char* what) {
  fprintf(stderr, "update: %s\n", what);
  abort();
}

std::string ExpectedUpdate(const std::string& file, const std::string& key, const std::string& value) {
  const std::string setting = key + "=" + value + "\r\n";
  std::string out;
  bool found = false;
  size_t pos = 0;
  while (pos < file.size()) {
    const size_t lf = file.find('\n', pos);
    const bool ended = lf != std::string::npos;
    std::string line = file.substr(pos, (ended ? lf : file.size()) - pos);
    pos = ended ? lf + 1 : file.size();
    if (ended && !line.empty() && line.back() == '\r')
      line.pop_back();
    const size_t word = line.find_first_not_of(kBlanks);
    if (word == std::string::npos)
      continue;
    if (line.compare(word, key.size(), key) == 0) {
      out += setting;
      found = true;
    } else {
      out += line + (ended ? "\r\n" : "");
    }
  }
  if (!found)
    out += "\r\n" + setting;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kKeys[] = {"ETHER_NIF", "ETHER_MAC", "ETHER_SPEED"};
  if (size < 2)
    return 0;
  const std::string key = kKeys[data[0] % 3];
  const size_t length = data[1] < size - 2 ? data[1] : size - 2;
  std::string value(reinterpret_cast<const char*>(data + 2), length);
  for (char& c : value)
    if (c == '\0' || c == '\r' || c == '\n')
      c = ' ';
  std::string file(reinterpret_cast<const char*>(data + 2 + length), size - 2 - length);

  FILE* in = fmemopen(&file[0], file.size(), "rb");
  char* written = nullptr;
  size_t written_size = 0;
  FILE* out = open_memstream(&written, &written_size);
  if (in == nullptr || out == nullptr)
    Fail("no memory stream");
  const CopyResult result = CopyWithKey(in, out, key, value);
  fclose(in);
  fclose(out);
  const std::string output(written, written_size);
  free(written);

  if (result != kCopyDone)
    Fail("the copy failed");
  if (output != ExpectedUpdate(file, key, value))
    Fail("the output breaks the update's rule");
  const std::string setting = key + "=" + value + "\r\n";
  if (output.compare(0, setting.size(), setting) != 0 && output.find("\n" + setting) == std::string::npos)
    Fail("the key is missing after the update");
  return 0;
}
