// The tool's own texts as the end-to-end tests expect them, byte for byte,
// kept in one place: its messages, the names of its files, and the console
// and ethernet.ini of the runs the tables build on.
#ifndef ETHERCFG_TESTS_CONSOLE_TEXT_H_
#define ETHERCFG_TESTS_CONSOLE_TEXT_H_

#include <string>

// Files.
inline const std::string kIni = "ethernet.ini";
inline const std::string kCopy = "__temp__ethernet__.ini";

// The probe.
inline const std::string kHeader = "Adapters installed:\n";
inline const std::string kListAB = "Adapters installed:\n\n1- A\n\n2- B\n\n";
inline const std::string kPrompt = "Select the number of the adapter to use : ";
inline const std::string kTooLarge = "\nThe number must be smaller than 2";
inline const std::string kNoAdapterSelected = "\nNo adapter selected.\n";
inline const std::string kCannotOpenAdapter = "Problem with opening adapter (packet.lib issue)\n";
inline const std::string kAddress = "Physical address read: 00:0c:29:ab:cd:ef\n";

// The recording.
inline const std::string kWriting = "Writing settings to ethernet.ini.\n\n";
inline const std::string kCannotAppend = "Can't create or access ethernet.ini.\n\n";
inline const std::string kCannotCreate = "Could not create '__temp__ethernet__.ini'\n";
inline const std::string kCannotOpen = "Could not open 'ethernet.ini'\n";
inline const std::string kCannotRead = "Could not read ethernet.ini file\n";
inline const std::string kCannotWrite = "Could not write '__temp__ethernet__.ini'\n";
inline const std::string kCannotCloseIni = "Could not close ethernet.ini file\n";
inline const std::string kCannotCloseCopy = "Could not close __temp__ethernet__.ini file\n";
inline const std::string kCannotOverwrite = "Could not overwrite ethernet.ini file\n";
inline const std::string kCannotRename =
    "\nCould not rename '__temp__ethernet__.ini' to 'ethernet.ini'\n";
inline const std::string kMacNotWritten = "Couldn't write MAC address to ethernet.ini file\n";
inline const std::string kSpeedNotWritten = "Couldn't write speed value to ethernet.ini file\n";

// A run with one adapter, A (00:0c:29:ab:cd:ef, 100 Mbps): its console up to
// the recording's first message, and after all three keys.
inline const std::string kBefore = kHeader + kAddress + kWriting;
inline const std::string kUsing = "\nUsing adapter 1\n";

// ethernet.ini of that run, from kOld, after each whole key update.
inline const std::string kOld = "a=1\r\nETHER_NIF=old\r\n";
inline const std::string kAfterNif = "a=1\r\nETHER_NIF=A\r\n";
inline const std::string kAfterMac = "a=1\r\nETHER_NIF=A\r\n\r\nETHER_MAC=020c29abcdef\r\n";
inline const std::string kAfterSpeed =
    "a=1\r\nETHER_NIF=A\r\nETHER_MAC=020c29abcdef\r\n\r\nETHER_SPEED=100Mbps\r\n";

#endif  // ETHERCFG_TESTS_CONSOLE_TEXT_H_
