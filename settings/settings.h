// The settings file ethernet.ini and the recording of the three settings.
//
// An update never edits ethernet.ini in place. SetIniKey writes a complete
// new copy, __temp__ethernet__.ini, flushes it to the disk and closes it, and
// only then puts it in place of ethernet.ini in one atomic step. Whoever reads
// ethernet.ini meanwhile sees either the content before the update or the
// content after it, never a mix and never no file. When any step fails,
// ethernet.ini keeps its old content; what becomes of the copy is said with
// each failure below.
//
// The file format is the same on every platform: both files are handled in
// binary mode. A line ends with CR LF or with a lone LF; a lone CR is an
// ordinary byte; every line written ends with CR LF; a last line without a
// line end is carried over without one. Lines may be of any length and hold
// any bytes (NUL and Ctrl-Z included), and are carried over byte for byte.
#ifndef ETHERCFG_SETTINGS_SETTINGS_H_
#define ETHERCFG_SETTINGS_SETTINGS_H_

#include <cstdint>
#include <cstdio>
#include <string>

/// The settings file and its copy, both in the current directory.
extern const char kIniName[];
extern const char kTempIniName[];

/// Whether `c` is a blank: space, tab, LF, VT, FF or CR, whatever the locale.
/// The settings file and the tool's number reading know exactly these six.
bool IsBlank(int c);

/// Whether a line (without its line end) belongs to `key`: its first word,
/// delimited by the blanks space, tab, LF, VT, FF and CR, begins with the key
/// (case-sensitively). "ETHER_NIF = x" and "ETHER_NIFX=y" belong to
/// ETHER_NIF; "#ETHER_NIF=x" and "ether_nif=x" do not.
bool LineBelongsToKey(const std::string& line, const std::string& key);

/// Whether a line (without its line end) holds nothing but blanks.
bool LineIsBlank(const std::string& line);

enum CopyResult { kCopyDone, kCopyReadError, kCopyWriteError };

/// Copies the settings text from `in` to `out` with `key` set to `value`:
/// every line that belongs to the key becomes "KEY=VALUE" (so a key that
/// stands twice stays twice), blank-only lines are dropped, every other line
/// is carried over. When no line belongs to the key, "\r\nKEY=VALUE" is
/// appended at the end of `out`. Every line written ends with CR LF. A read
/// error is reported as such, never taken for the end of `in`.
CopyResult CopyWithKey(FILE* in, FILE* out, const std::string& key,
                       const std::string& value);

/// Sets `key` to `value` (possibly empty) in ethernet.ini, which must exist.
/// Returns 0 once ethernet.ini holds the updated content, -1 otherwise, after
/// printing one of these messages:
///   "Could not create '__temp__ethernet__.ini'"  nothing changed
///   "Could not open 'ethernet.ini'"              nothing changed
///   "Could not read ethernet.ini file"           the copy is deleted
///   "Could not write '__temp__ethernet__.ini'"   the copy is deleted
///   "Could not close ethernet.ini file"          the copy stays on disk
///   "Could not close __temp__ethernet__.ini file"  the copy stays on disk
///   "Could not overwrite ethernet.ini file", or
///   "Could not rename '__temp__ethernet__.ini' to 'ethernet.ini'"
///                                                the new content stays in
///                                                the copy
/// In every case ethernet.ini keeps its content from before the call.
int SetIniKey(const char* key, const char* value);

/// Records ETHER_NIF, ETHER_MAC and ETHER_SPEED, in this order, creating
/// ethernet.ini when it is missing, and returns the run's exit status: 0 when
/// all three are written, 1 when the file cannot be created or a key cannot
/// be written (later keys are then not written). `chosen` is the adapter's
/// number, `speed` in megabits per second (0 records an empty value).
int RecordSettings(int chosen, const std::string& adapter_name,
                   const std::string& mac_text, int32_t speed);

#endif  // ETHERCFG_SETTINGS_SETTINGS_H_
