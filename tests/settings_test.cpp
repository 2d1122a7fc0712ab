// Unit tests of the key update's pieces: which line belongs to a key, and the
// copy of the settings text with one key set.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace {

TEST(LineBelongsToKey, ComparesTheFirstWordsStart) {
  struct {
    const char* line;
    bool belongs;
  } cases[] = {
      {"ETHER_NIF=x", true},
      {"ETHER_NIF = x", true},          // blanks around the sign
      {" \t ETHER_NIF=x", true},        // blanks before the key
      {"ETHER_NIFX=y", true},           // the word only begins with the key
      {"ETHER_NIF is the adapter", true},
      {"ETHER_NIF", true},
      {"ETHER_NIF\rmore", true},        // a lone CR is a blank
      {"\vETHER_NIF\f", true},
      {"#ETHER_NIF=x", false},          // a comment
      {"ether_nif=x", false},           // keys are case-sensitive
      {"ETHER_NI", false},              // a shorter word never matches
      {"x ETHER_NIF=1", false},         // only the first word counts
      {"", false},
      {"\xa0" "ETHER_NIF=x", false},    // 0xA0 is no blank, whatever the locale
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineBelongsToKey(c.line, "ETHER_NIF"), c.belongs) << c.line;
}

TEST(LineIsBlank, KnowsExactlySixBlanks) {
  EXPECT_TRUE(LineIsBlank(""));
  EXPECT_TRUE(LineIsBlank(" \t\v\f\r"));
  EXPECT_FALSE(LineIsBlank(" x "));
  EXPECT_FALSE(LineIsBlank(std::string(" \0 ", 3)));
  EXPECT_FALSE(LineIsBlank("\x1a"));
}

FILE* FileWith(const std::string& bytes) {
  FILE* file = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), file);
  rewind(file);
  return file;
}

std::string Contents(FILE* file) {
  std::string bytes;
  rewind(file);
  int c;
  while ((c = getc(file)) != EOF)
    bytes.push_back(static_cast<char>(c));
  return bytes;
}

std::string Copied(const std::string& before, const char* key, const char* value) {
  FILE* in = FileWith(before);
  FILE* out = tmpfile();
  EXPECT_EQ(CopyWithKey(in, out, key, value), kCopyDone);
  const std::string after = Contents(out);
  fclose(in);
  fclose(out);
  return after;
}

TEST(CopyWithKey, KeepsEveryByteOfOtherLines) {
  using std::string;
  struct {
    string before;
    string after;
  } cases[] = {
      {"", "\r\nETHER_MAC=m\r\n"},
      {"a=1", "a=1\r\nETHER_MAC=m\r\n"},  // last line gets its end, no empty line
      {"a=1\n", "a=1\r\n\r\nETHER_MAC=m\r\n"},
      {"ETHER_MAC=old", "ETHER_MAC=m\r\n"},
      {"ETHER_MAC=1\r\nb\r\nETHER_MAC=2\r\nc", "ETHER_MAC=m\r\nb\r\nETHER_MAC=m\r\nc"},
      {string("n\0ul\r\nETHER_MAC=1\r\n", 18), string("n\0ul\r\nETHER_MAC=m\r\n", 19)},
      {"z\x1a" "after\r\n\x1a", "z\x1a" "after\r\n\x1a\r\nETHER_MAC=m\r\n"},
      {"\xe9t\xe9\r\n", "\xe9t\xe9\r\n\r\nETHER_MAC=m\r\n"},
      {"a\rb\r\n", "a\rb\r\n\r\nETHER_MAC=m\r\n"},       // a lone CR stays
      {"a\r\r\n", "a\r\r\n\r\nETHER_MAC=m\r\n"},         // so does the CR before CR LF
      {"  \r\n\t\n\r\n", "\r\nETHER_MAC=m\r\n"},         // blank-only lines dropped
  };
  for (const auto& c : cases)
    EXPECT_EQ(Copied(c.before, "ETHER_MAC", "m"), c.after);
}

TEST(CopyWithKey, ReportsAReadErrorNotAnEnd) {
  // Reading a directory fails on Linux; the copy must not pass for complete.
  FILE* in = fopen(".", "rb");
  if (in == nullptr || getc(in) != EOF || !ferror(in)) {
    if (in) fclose(in);
    GTEST_SKIP() << "a directory cannot be opened as a failing stream here";
  }
  clearerr(in);
  FILE* out = tmpfile();
  EXPECT_EQ(CopyWithKey(in, out, "ETHER_NIF", "x"), kCopyReadError);
  EXPECT_EQ(Contents(out), "");
  fclose(in);
  fclose(out);
}

TEST(CopyWithKey, ReportsAWriteError) {
  FILE* out = fopen("/dev/full", "wb");
  if (out == nullptr)
    GTEST_SKIP() << "no /dev/full here";
  setvbuf(out, nullptr, _IONBF, 0);  // every write reaches the device
  FILE* in = FileWith("a=1\r\n");
  EXPECT_EQ(CopyWithKey(in, out, "ETHER_NIF", "x"), kCopyWriteError);
  fclose(in);
  fclose(out);
}

}  // namespace
