// Unit tests of the probe's pure pieces: the name-block split, the argument
// conversion, the answer at the prompt, the speed and the recorded address.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "probe/probe.h"

namespace {

using Names = std::vector<std::string>;

TEST(SplitAdapterNames, FollowsTheBlockFormat) {
  const std::string long_name(1500, 'n');
  struct {
    std::string block;
    Names names;
  } cases[] = {
      {std::string("\0", 1), {}},                       // empty list
      {std::string("A\0\0", 3), {"A"}},                 // one name
      {std::string("A\0B\0\0C\0\0", 9), {"A", "B"}},    // nothing after the empty name
      {std::string("A\0B", 3), {"A"}},                  // unterminated last name left out
      {std::string("A\0B\0", 4), {"A", "B"}},           // block ends right after a NUL
      {long_name + std::string("\0\0", 2), {long_name}},  // no cut at 1023 bytes
      {std::string("\xff\x80 x\0\0", 6), {"\xff\x80 x"}},  // any 8-bit bytes
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitAdapterNames(c.block.data(), c.block.size()), c.names)
        << "block of " << c.block.size() << " bytes";
}

TEST(SplitAdapterNames, KeepsMoreThanTenNames) {
  std::string block;
  for (int i = 1; i <= 12; ++i)
    block += "adapter" + std::to_string(i) + '\0';
  block += '\0';
  const Names names = SplitAdapterNames(block.data(), block.size());
  ASSERT_EQ(names.size(), 12u);
  EXPECT_EQ(names[11], "adapter12");
}

TEST(SplitAdapterNames, NeverReadsPastAFullBlock) {
  // Only the first 16 bytes are handed over; the guard after them must not
  // become part of a name.
  const std::string buffer = std::string(16, 'x') + "GUARD";
  EXPECT_TRUE(SplitAdapterNames(buffer.data(), 16).empty());
}

TEST(ConvertArgument, BehavesLikeTheDecimalConversion) {
  struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"2", 2},           {"  \t2", 2},         {"+3", 3},
      {"-1", -1},         {"2x", 2},            {"abc", 0},
      {"", 0},            {"-", 0},             {"0", 0},
      {"4294967298", 2},  // wraps modulo 2^32
      {"2147483648", INT32_MIN},
      {"4294967295", -1},
      {"99999999999999999999", 1661992959},  // 10^20 - 1 modulo 2^32
      {"-4294967297", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ConvertArgument(c.text), c.value) << c.text;
}

// Feeds `input` to ReadAnswer until the end, and tells what each call gave.
std::string Answers(const std::string& input) {
  FILE* in = tmpfile();
  fwrite(input.data(), 1, input.size(), in);
  rewind(in);
  std::string seen;
  for (int i = 0; i < 10; ++i) {
    int64_t number = 0;
    const AnswerKind kind = ReadAnswer(in, &number);
    if (kind == kAnswerEnd) {
      seen += "end";
      break;
    }
    seen += kind == kAnswerNone ? std::string("none") : std::to_string(number);
    seen += ' ';
  }
  fclose(in);
  return seen;
}

TEST(ReadAnswer, ReadsLikeAFormattedRead) {
  struct {
    const char* input;
    const char* answers;
  } cases[] = {
      {"2\n", "2 end"},
      {"3 2\n", "3 2 end"},               // two answers on one line
      {"\n\n  \t 7", "7 end"},            // line ends before the number skipped
      {"2x\n", "2 none end"},             // x stays for the next read
      {"abc\n1\n", "none 1 end"},         // the rest of the line is discarded
      {"a 5\n6\n", "none 6 end"},         // ... all of it
      {"-3\n", "-3 end"},
      {"+4\n", "4 end"},
      {"- 4\n", "none end"},              // a sign alone is no number
      {"", "end"},
      {"   \n ", "end"},
      {"99999999999999999999\n", "4294967296 end"},  // clamped, not wrapped
      {"-99999999999999999999\n", "-4294967296 end"},
      {"4294967298\n", "4294967296 end"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Answers(c.input), c.answers) << c.input;
}

TEST(SpeedFromLinkSpeed, ConvertsToMegabits) {
  struct {
    uint64_t bits;
    int32_t speed;
  } cases[] = {
      {0, 0},
      {999999, 0},              // below one megabit
      {1000000, 1},
      {10000000, 10},
      {100000000, 100},
      {1000000000, 1000},
      {1999999, 1},             // the remainder is dropped
      {9999999999999, 9999999},  // seven digits still fit
      {10000000000000, 0},      // eight digits do not
      {uint64_t{1} << 63, 0},   // never wrapped or negative
      {UINT64_MAX, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SpeedFromLinkSpeed(c.bits), c.speed) << c.bits;
}

TEST(BuildMacText, AddsTwoToTheFirstByte) {
  struct {
    uint8_t address[6];
    const char* text;
  } cases[] = {
      {{0x00, 0x0c, 0x29, 0xab, 0xcd, 0xef}, "020c29abcdef"},
      {{0x02, 0x00, 0x00, 0x00, 0x00, 0x01}, "040000000001"},  // an addition, not bit 1
      {{0x0e, 0x11, 0x22, 0x33, 0x44, 0x55}, "101122334455"},
      {{0xfe, 0x01, 0x02, 0x03, 0x04, 0x05}, "000102030405"},  // wraps to 00
      {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff}, "01ffffffffff"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildMacText(c.address), c.text);
}

}  // namespace
