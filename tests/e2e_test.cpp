// End-to-end runs of the tool against the scripted driver: each row says
// what the driver reports, what the user types, and what the console, the
// exit status and ethernet.ini must show afterwards.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/console_text.h"
#include "tests/run_tool.h"

namespace {

using Files = std::map<std::string, std::string>;

const std::string kTwo = "name A\nname B\n";

std::string Recorded(int chosen) {
  return kWriting + "\nUsing adapter " + std::to_string(chosen) + "\n";
}

// ethernet.ini after a first run from an empty or missing file.
std::string FirstIni(const std::string& nif, const std::string& mac = "020c29abcdef",
                     const std::string& speed = "100Mbps") {
  return "ETHER_NIF=" + nif + "\r\nETHER_MAC=" + mac + "\r\n\r\nETHER_SPEED=" +
         speed + "\r\n";
}

std::string ManyNames(int count) {
  std::string scenario;
  for (int i = 1; i <= count; ++i)
    scenario += "name adapter" + std::to_string(i) + "\n";
  return scenario;
}

std::string ManyList(int count) {
  std::string list = kHeader;
  for (int i = 1; i <= count; ++i)
    list += "\n" + std::to_string(i) + "- adapter" + std::to_string(i) + "\n";
  return list + "\n";
}

std::string OneWith(const std::string& lines) { return "name A\nadapter A\n" + lines; }

const std::string kLongName(1500, 'L');

struct Case {
  std::string name;
  std::string scenario;
  std::string args;
  std::string input;
  std::string console;
  int status;
  bool has_ini;     // whether ethernet.ini must exist afterwards
  std::string ini;  // and its bytes
};

std::vector<Case> ProbeCases() {
  const std::string none;
  return {
      // Discovery: how many adapters the block holds.
      {"NoAdapter", "", "", "", kHeader + kCannotOpenAdapter, 1, false, none},
      {"DriverFillsNothing", "names-write no\nnames-result 0\n", "", "", kHeader + kCannotOpenAdapter, 1, false, none},
      {"BlockFullWithoutNul", "block-repeat 41 8192\n", "", "", kHeader + kCannotOpenAdapter, 1, false, none},
      {"OneAdapterIgnoresArgument", "name A\n", "5", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"NameRunningToBlockEndLeftOut", "name A\nname B\nblock-repeat 43 8188\n", "3", "3\n2\n",
       kHeader + kListAB + kPrompt + "\nThe number must be smaller than 2" + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"TwelveAdaptersAllListed", ManyNames(12), "12", "", kHeader + ManyList(12) + kAddress + Recorded(12), 0, true, FirstIni("adapter12")},
      {"LongNameKeptWhole", "name " + kLongName + "\n", "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni(kLongName)},
      // The command-line argument.
      {"ArgumentChooses", kTwo, "2", "", kHeader + kListAB + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"ArgumentZeroPrompts", kTwo, "0", "1\n", kHeader + kListAB + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"ArgumentTooLargePrompts", kTwo, "5", "2\n", kHeader + kListAB + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"ArgumentNegativePrompts", kTwo, "-1", "1\n", kHeader + kListAB + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"ArgumentWordPrompts", kTwo, "abc", "1\n", kHeader + kListAB + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"ArgumentWrapsModulo2To32", kTwo, "4294967298", "", kHeader + kListAB + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"FurtherArgumentsIgnored", kTwo, "1 2", "", kHeader + kListAB + kAddress + Recorded(1), 0, true, FirstIni("A")},
      // Answers at the prompt.
      {"AnswerTooLargeThenValid", kTwo, "", "3\n2\n",
       kHeader + kListAB + kPrompt + "\nThe number must be smaller than 2" + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"TwoAnswersOnOneLine", kTwo, "", "3 2\n",
       kHeader + kListAB + kPrompt + "\nThe number must be smaller than 2" + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"AnswerZeroRepeatsSilently", kTwo, "", "0\n1\n", kHeader + kListAB + kPrompt + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"AnswerWithTrailingText", kTwo, "", "2x\n", kHeader + kListAB + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"AnswerWithoutNumber", kTwo, "", "abc\n1\n", kHeader + kListAB + kPrompt + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"AnswerBeyond32Bits", kTwo, "", "99999999999999\n1\n",
       kHeader + kListAB + kPrompt + "\nThe number must be smaller than 2" + kPrompt + kAddress + Recorded(1), 0, true, FirstIni("A")},
      {"AnswerCountItself", kTwo, "", "2\n", kHeader + kListAB + kPrompt + kAddress + Recorded(2), 0, true, FirstIni("B")},
      {"EndOfInput", kTwo, "", "", kHeader + kListAB + kPrompt + "\nNo adapter selected.\n", 1, false, none},
      {"EndOfInputAfterNonsense", kTwo, "", "x\n0\n",
       kHeader + kListAB + kPrompt + kPrompt + kPrompt + "\nNo adapter selected.\n", 1, false, none},
      // The adapter's answers.
      {"OpenFails", OneWith("open fail\n"), "", "", kHeader + kCannotOpenAdapter, 1, false, none},
      {"NetTypeFails", OneWith("nettype fail\n"), "", "",
       kHeader + "Could not read Ethernet card's speed\n" + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef", "")},
      {"NotEthernet", OneWith("nettype 1 100000000\n"), "", "",
       kHeader + "NOT Ethernet802.3 card.\nNetwork Interface not supported\n" + Recorded(1), 0, true, FirstIni("A", "", "100Mbps")},
      {"AddressFails", OneWith("address fail\n"), "", "",
       kHeader + "Failed to read physical address of Ethernet card\n" + Recorded(1), 0, true, FirstIni("A", "")},
      {"AddressResultNotOne", OneWith("request-result 3\n"), "", "",
       kHeader + "Failed to read physical address of Ethernet card\n" + Recorded(1), 0, true, FirstIni("A", "")},
      {"Speed10Megabits", OneWith("nettype 0 10000000\n"), "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef", "10Mbps")},
      {"Speed1Gigabit", OneWith("nettype 0 1000000000\n"), "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef", "1000Mbps")},
      {"SpeedBelowOneMegabit", OneWith("nettype 0 999999\n"), "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef", "")},
      {"Speed2To63TooLong", OneWith("nettype 0 9223372036854775808\n"), "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef", "")},
      {"FirstByte00", OneWith("address 00:0c:29:ab:cd:ef\n"), "", "", kHeader + kAddress + Recorded(1), 0, true, FirstIni("A", "020c29abcdef")},
      {"FirstByte0e", OneWith("address 0e:11:22:33:44:55\n"), "", "",
       kHeader + "Physical address read: 0e:11:22:33:44:55\n" + Recorded(1), 0, true, FirstIni("A", "101122334455")},
      {"FirstByteFeWraps", OneWith("address fe:01:02:03:04:05\n"), "", "",
       kHeader + "Physical address read: fe:01:02:03:04:05\n" + Recorded(1), 0, true, FirstIni("A", "000102030405")},
      {"FirstByteFf", OneWith("address ff:00:00:00:00:0a\n"), "", "",
       kHeader + "Physical address read: ff:00:00:00:00:0a\n" + Recorded(1), 0, true, FirstIni("A", "01000000000a")},
  };
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ProbeRun : public testing::TestWithParam<Case> {};

TEST_P(ProbeRun, ConsoleStatusAndFile) {
  const Case& c = GetParam();
  ToolRun run;
  run.scenario = c.scenario;
  run.args = c.args;
  run.input = c.input;
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.console, c.console);
  EXPECT_EQ(result.status, c.status);
  Files expected;
  if (c.has_ini)
    expected["ethernet.ini"] = c.ini;
  EXPECT_EQ(result.files, expected);  // nothing else is left behind
}

INSTANTIATE_TEST_SUITE_P(Table, ProbeRun, testing::ValuesIn(ProbeCases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// The driver sees its operations in order, the address query as specified,
// and exactly one close, last.
TEST(CallLog, OperationsInOrder) {
  struct {
    const char* name;
    std::string scenario;
    std::string calls;
  } cases[] = {
      {"answers", "name A\n",
       "PacketGetAdapterNames size=8192\nPacketOpenAdapter A -> #1\nPacketGetNetType #1 -> 1\n"
       "PacketRequest #1 set=0 oid=0x01010102 length=256 -> 1\nPacketCloseAdapter #1\n"},
      {"no adapter: no open", "", "PacketGetAdapterNames size=8192\n"},
      {"failed open: no close", OneWith("open fail\n"),
       "PacketGetAdapterNames size=8192\nPacketOpenAdapter A -> null\n"},
      {"not Ethernet: no address query", OneWith("nettype 5 0\n"),
       "PacketGetAdapterNames size=8192\nPacketOpenAdapter A -> #1\nPacketGetNetType #1 -> 1\nPacketCloseAdapter #1\n"},
      {"failed net type: address still asked", OneWith("nettype fail\naddress fail\n"),
       "PacketGetAdapterNames size=8192\nPacketOpenAdapter A -> #1\nPacketGetNetType #1 -> 0\n"
       "PacketRequest #1 set=0 oid=0x01010102 length=256 -> 0\nPacketCloseAdapter #1\n"},
  };
  for (const auto& c : cases) {
    ToolRun run;
    run.scenario = c.scenario;
    EXPECT_EQ(RunTool(run).calls, c.calls) << c.name;
  }
}

// The settings file before and after a whole run with adapter A (address
// 00:0c:29:ab:cd:ef, 100 Mbps), byte for byte.
struct Fixture {
  std::string name;
  std::string before;
  std::string after;
};

const std::string kSetA = "ETHER_NIF=A\r\nETHER_MAC=020c29abcdef\r\nETHER_SPEED=100Mbps\r\n";
const std::string kSetOld = "ETHER_NIF=old\r\nETHER_MAC=000000000000\r\nETHER_SPEED=10Mbps\r\n";

std::vector<Fixture> FileFixtures() {
  const std::string long_line = "X=" + std::string(4998, 'x');
  const std::string long_key = "ETHER_NIF=" + std::string(4990, 'y');
  return {
      {"EmptyFile", "", FirstIni("A")},
      {"SecondRunGivesThreeLines", FirstIni("old", "000000000000", "10Mbps"), kSetA},
      {"ThreeLinesStayThree", kSetOld, kSetA},
      {"OtherLinesCarriedOver",
       "[network]\r\n; comment\r\n#ETHER_NIF=x\r\nETHER_MACADDR=1\r\nOTHER=2\r\n \t \r\nETHER_NIF is the adapter\r\nlast line",
       "[network]\r\n; comment\r\n#ETHER_NIF=x\r\nETHER_MAC=020c29abcdef\r\nOTHER=2\r\nETHER_NIF=A\r\nlast line\r\n"
       "ETHER_SPEED=100Mbps\r\n"},
      {"LastLineWithoutEndStaysSo", "ETHER_NIF=1\r\nETHER_MAC=2\r\nETHER_SPEED=3\r\nz=9",
       kSetA + "z=9"},
      {"LfOnlyLineEnds", "a=1\nETHER_NIF=x\nETHER_MAC=y\nETHER_SPEED=z\n", "a=1\r\n" + kSetA},
      {"KeyTwiceStaysTwice", "ETHER_NIF=1\r\nx=1\r\nETHER_NIF=2\r\nETHER_MAC=m\r\nETHER_SPEED=s\r\n",
       "ETHER_NIF=A\r\nx=1\r\nETHER_NIF=A\r\nETHER_MAC=020c29abcdef\r\nETHER_SPEED=100Mbps\r\n"},
      {"LoneCrInKeyLine", "ETHER_NIF\rjunk=1\r\nETHER_MAC=m\r\nETHER_SPEED=s\r\n", kSetA},
      {"LoneCrInOtherLine", "a\rb=1\r\n" + kSetOld, "a\rb=1\r\n" + kSetA},
      {"BlanksAroundSignAndBeforeKey", "  ETHER_NIF = x\r\n\tETHER_MAC\t=\ty\r\nETHER_SPEED =z\r\n", kSetA},
      {"LowerCaseKeyIsOtherLine", "ether_nif=x\r\n",
       "ether_nif=x\r\nETHER_NIF=A\r\nETHER_MAC=020c29abcdef\r\n\r\nETHER_SPEED=100Mbps\r\n"},
      {"LongLineCarriedOverWhole", long_line + "\r\n" + kSetOld, long_line + "\r\n" + kSetA},
      {"LongKeyLineReplacedWhole", long_key + "\r\nETHER_MAC=m\r\nETHER_SPEED=s\r\n", kSetA},
      {"CtrlZLineAndFinalCtrlZ", "a\x1a b=1\r\n" + kSetOld + "\x1a", "a\x1a b=1\r\n" + kSetA + "\x1a"},
      {"NulAndHighBytesKept", std::string("n\0=\xe9\xff\r\n", 7) + kSetOld,
       std::string("n\0=\xe9\xff\r\n", 7) + kSetA},
  };
}

void PrintTo(const Fixture& f, std::ostream* os) { *os << f.name; }

class FileRun : public testing::TestWithParam<Fixture> {};

TEST_P(FileRun, ReplacesKeysAndKeepsTheRest) {
  const Fixture& f = GetParam();
  ToolRun run;
  run.scenario = "name A\n";
  run.has_ini = true;
  run.ini_before = f.before;
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.console, kHeader + kAddress + Recorded(1));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.files, (Files{{"ethernet.ini", f.after}}));
}

INSTANTIATE_TEST_SUITE_P(Table, FileRun, testing::ValuesIn(FileFixtures()),
                         [](const testing::TestParamInfo<Fixture>& info) { return info.param.name; });

}  // namespace
