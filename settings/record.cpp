#include <cstdio>

#include "settings/settings.h"

int RecordSettings(int chosen, const std::string& adapter_name,
                   const std::string& mac_text, int32_t speed) {
  printf("Writing settings to %s.\n\n", kIniName);

  FILE* ini = fopen(kIniName, "ab");  // makes sure the file exists
  if (ini == nullptr) {
    printf("Can't create or access %s.\n\n", kIniName);
    return 1;
  }
  fclose(ini);

  if (SetIniKey("ETHER_NIF", adapter_name.c_str()) != 0)
    return 1;
  printf("\nUsing adapter %d\n", chosen);

  if (SetIniKey("ETHER_MAC", mac_text.c_str()) != 0) {
    printf("Couldn't write MAC address to %s file\n", kIniName);
    return 1;
  }

  char speed_text[12] = "";
  if (speed != 0)
    snprintf(speed_text, sizeof speed_text, "%dMbps", static_cast<int>(speed));
  if (SetIniKey("ETHER_SPEED", speed_text) != 0) {
    printf("Couldn't write speed value to %s file\n", kIniName);
    return 1;
  }
  return 0;
}
