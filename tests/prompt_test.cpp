// Abuse of the prompt, end to end: standard input closed or empty, huge
// answers, huge runs of text without a number. Each run must end on its own
// with a clear message and status 1, writing nothing, or choose the adapter
// that the answer names. The test's timeout in CTest guards against a hang.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/console_text.h"
#include "tests/run_tool.h"

namespace {

const std::string kChoseB =
    "Physical address read: 00:0c:29:ab:cd:ef\nWriting settings to ethernet.ini.\n\n\nUsing adapter 2\n";

std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i)
    out += text;
  return out;
}

// 1 MiB of text without a digit: 16384 lines of 63 letters and blanks.
const std::string kLetterLine = Repeat("abc def\t", 7) + "xyzuvwz\n";

struct Abuse {
  std::string name;
  std::string input;
  std::string wrap;     // how standard input reaches the tool, when not from the input file
  std::string console;  // after the adapter list
  int status;
  bool writes;          // whether ethernet.ini is written (adapter 2 chosen)
};

std::vector<Abuse> Abuses() {
  return {
      {"StdinClosed", "", "sh -c 'exec \"$0\" \"$@\" <&-'", kPrompt + kNoAdapterSelected, 1, false},
      {"StdinDevNull", "", "sh -c 'exec \"$0\" \"$@\" </dev/null'", kPrompt + kNoAdapterSelected, 1, false},
      {"MegabyteOfLinesWithoutDigit", Repeat(kLetterLine, 16384), "", Repeat(kPrompt, 16385) + kNoAdapterSelected, 1, false},
      {"MegabyteLineWithoutDigit", std::string(1 << 20, 'q'), "", kPrompt + kPrompt + kNoAdapterSelected, 1, false},
      {"ThousandDigits", std::string(1000, '9') + "\n", "", kPrompt + kTooLarge + kPrompt + kNoAdapterSelected, 1, false},
      {"ThousandDigitsNegative", "-" + std::string(1000, '9') + "\n", "", kPrompt + kPrompt + kNoAdapterSelected, 1, false},
      {"MillionSpaces", std::string(1000000, ' ') + "\n", "", kPrompt + kNoAdapterSelected, 1, false},
      {"MillionSpacesThenAnswer", std::string(1000000, ' ') + "2\n", "", kPrompt + kChoseB, 0, true},
      {"ThousandZerosThenTwo", std::string(1000, '0') + "2\n", "", kPrompt + kChoseB, 0, true},
  };
}

void PrintTo(const Abuse& a, std::ostream* os) { *os << a.name; }

class PromptAbuse : public testing::TestWithParam<Abuse> {};

TEST_P(PromptAbuse, EndsWithAClearMessage) {
  const Abuse& a = GetParam();
  ToolRun run;
  run.scenario = "name A\nname B\n";
  run.input = a.input;
  run.wrap = a.wrap;
  const ToolResult result = RunTool(run);
  EXPECT_TRUE(result.console == (kHeader + kListAB) + a.console)
      << "console of " << result.console.size() << " bytes, ending with: "
      << result.console.substr(result.console.size() > 200 ? result.console.size() - 200 : 0);
  EXPECT_EQ(result.status, a.status);
  EXPECT_EQ(result.files.count("ethernet.ini"), a.writes ? 1u : 0u);
  EXPECT_EQ(result.files.size(), a.writes ? 1u : 0u) << "nothing else is written";
}

INSTANTIATE_TEST_SUITE_P(Table, PromptAbuse, testing::ValuesIn(Abuses()),
                         [](const testing::TestParamInfo<Abuse>& info) { return info.param.name; });

}  // namespace
