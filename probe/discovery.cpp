#include "probe/probe.h"
#include "settings/settings.h"

std::vector<std::string> AdapterNameTable;

std::vector<std::string> SplitAdapterNames(const char* block, size_t size) {
  std::vector<std::string> names;
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    if (block[i] != '\0')
      continue;
    if (i == start)  // the empty name ends the list
      break;
    names.emplace_back(block + start, i - start);
    start = i + 1;
  }
  return names;
}

static bool IsDigit(int c) { return c >= '0' && c <= '9'; }

int32_t ConvertArgument(const char* text) {
  while (IsBlank(static_cast<unsigned char>(*text)))
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-')
    negative = *text++ == '-';
  uint32_t value = 0;  // unsigned arithmetic wraps modulo 2^32 by definition
  for (; IsDigit(*text); ++text)
    value = value * 10u + static_cast<uint32_t>(*text - '0');
  if (negative)
    value = 0u - value;
  // Two's complement reading of the 32 bits, without an out-of-range cast.
  return value <= 0x7fffffffu ? static_cast<int32_t>(value)
                              : -static_cast<int32_t>(~value) - 1;
}

AnswerKind ReadAnswer(FILE* in, int64_t* number) {
  int c;
  do {
    c = getc(in);
  } while (c != EOF && IsBlank(c));
  if (c == EOF)
    return kAnswerEnd;

  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = getc(in);
  }
  if (!IsDigit(c)) {
    while (c != EOF && c != '\n')
      c = getc(in);
    return kAnswerNone;
  }

  // Past 2^32 the exact value no longer matters: it is out of range either way.
  const int64_t kCap = int64_t{1} << 32;
  int64_t value = 0;
  for (; IsDigit(c); c = getc(in)) {
    if (value < kCap)
      value = value * 10 + (c - '0');
  }
  if (value > kCap)
    value = kCap;
  if (c != EOF)
    ungetc(c, in);
  *number = negative ? -value : value;
  return kAnswerNumber;
}
