#include <cstdio>
#include <memory>
#include <new>

#include "packet/packet.h"
#include "probe/probe.h"
#include "settings/settings.h"

namespace {

// Prompts until the answer names an adapter between 1 and `count`. Returns 0
// at the end of input, after its message.
int PromptForAdapter(int count) {
  for (;;) {
    printf("Select the number of the adapter to use : ");
    fflush(stdout);  // the prompt is visible before the read
    int64_t answer = 0;
    const AnswerKind kind = ReadAnswer(stdin, &answer);
    if (kind == kAnswerEnd) {
      printf("\nNo adapter selected.\n");
      return 0;
    }
    if (kind == kAnswerNone || answer < 1)
      continue;
    if (answer > count) {
      printf("\nThe number must be smaller than %d", count);
      continue;
    }
    return static_cast<int>(answer);
  }
}

int RunProbe(int argc, char* argv[]) {
  const int32_t requested = argc > 1 ? ConvertArgument(argv[1]) : 0;
  printf("Adapters installed:\n");

  // Zero-filled, so whatever the driver writes or fails to write, the
  // split never meets undefined bytes.
  std::unique_ptr<char[]> block(new char[kNameBlockSize]());
  uint32_t size = kNameBlockSize;
  PacketGetAdapterNames(block.get(), &size);
  AdapterNameTable = SplitAdapterNames(block.get(), kNameBlockSize);
  block.reset();

  const int count = static_cast<int>(AdapterNameTable.size());
  if (count >= 2) {
    printf("Adapters installed:\n");
    for (int i = 0; i < count; ++i)
      printf("\n%d- %s\n", i + 1, AdapterNameTable[i].c_str());
    printf("\n");
  }

  int chosen;
  if (count == 0) {
    printf("Problem with opening adapter (packet.lib issue)\n");
    return 1;
  } else if (count == 1) {
    chosen = 1;
  } else if (requested >= 1 && requested <= count) {
    chosen = requested;
  } else {
    chosen = PromptForAdapter(count);
    if (chosen == 0)
      return 1;
  }

  LinkInfo info;
  const std::string& name = AdapterNameTable[chosen - 1];
  if (!QueryAdapter(name, &info))
    return 1;
  return RecordSettings(chosen, name, info.MacText, info.Speed);
}

}  // namespace

int EtherCfgMain(int argc, char* argv[]) {
  try {
    return RunProbe(argc, argv);
  } catch (const std::bad_alloc&) {
    printf("\nNot enough memory for the run.\n");
    return 1;
  }
}
