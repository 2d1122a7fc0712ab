// The adapter probe: the run's main routine, the discovery and choice of an
// adapter, and the query of its link speed, medium and hardware address.
//
// A run prints "Adapters installed:", asks the packet driver for its adapter
// names, lists them when there are two or more, settles on one (by the
// command-line argument, by the prompt, or by itself when it is the only one),
// opens it, reads its speed and address, closes it, and hands the results to
// the recording of ethernet.ini. Everything goes to standard output.
#ifndef ETHERCFG_PROBE_PROBE_H_
#define ETHERCFG_PROBE_PROBE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

/// Size of the name block handed to PacketGetAdapterNames.
const uint32_t kNameBlockSize = 8192;

/// The adapters' names in the driver's order; entry i is adapter number i+1.
/// Filled once per run by EtherCfgMain; lives as long as the process.
extern std::vector<std::string> AdapterNameTable;

/// Runs the whole tool and returns the process exit status (0 or 1).
int EtherCfgMain(int argc, char* argv[]);

/// Splits a name block: names one after another, each ended by a NUL, the
/// list ended by an empty name. Every complete name is returned, whatever
/// their number and length; a name that runs to the end of the block without
/// its NUL is incomplete and left out. Never reads past `size` bytes.
std::vector<std::string> SplitAdapterNames(const char* block, size_t size);

/// Converts the command-line argument as the C library's decimal conversion
/// does: leading blanks skipped, an optional sign, digits up to the first
/// other character, 0 without digits. A longer number wraps modulo 2^32
/// (4294967298 gives 2), computed without overflow.
int32_t ConvertArgument(const char* text);

enum AnswerKind {
  kAnswerNumber,  // *number holds the answer (clamped to +-2^32 when longer)
  kAnswerNone,    // no number: the rest of the line has been discarded
  kAnswerEnd,     // end of input or a read error before any number
};

/// Reads one answer to the prompt from `in`, as a formatted read: blanks and
/// line ends before it are skipped, then an optional sign and digits. The
/// character after the digits stays unread for the next call. A number that
/// does not fit 32 bits comes back beyond the 32-bit range, never wrapped.
AnswerKind ReadAnswer(FILE* in, int64_t* number);

/// Speed in megabits per second for a link speed in bits per second: the
/// quotient by one million, or 0 when it needs more than seven digits.
int32_t SpeedFromLinkSpeed(uint64_t bits_per_second);

/// The 12 lowercase hexadecimal digits of the address to record: the
/// adapter's own address with 2 added to its first byte, modulo 256.
std::string BuildMacText(const uint8_t address[6]);

/// What the query of the chosen adapter found.
struct LinkInfo {
  int32_t Speed = 0;    // megabits per second; 0 when not read
  std::string MacText;  // empty when the address was not read
};

/// Opens the adapter `name`, reads its speed, medium and address, prints
/// what it reads, and closes it again. Returns false, after its message,
/// only when the adapter cannot be opened (nothing is closed then).
bool QueryAdapter(const std::string& name, LinkInfo* info);

#endif  // ETHERCFG_PROBE_PROBE_H_
