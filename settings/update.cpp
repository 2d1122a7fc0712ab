#include <cstdio>
#include <new>
#include <string>

#include "settings/replace.h"
#include "settings/settings.h"

const char kIniName[] = "ethernet.ini";
const char kTempIniName[] = "__temp__ethernet__.ini";

namespace {

// Reads one line into `line` without its line end; CR LF and a lone LF end a
// line. Returns false at the end of the file or on a read error (see ferror),
// when nothing was read. `*ended` tells whether the line had a line end.
bool ReadLine(FILE* in, std::string* line, bool* ended) {
  line->clear();
  int c;
  while ((c = getc(in)) != EOF && c != '\n')
    line->push_back(static_cast<char>(c));
  *ended = c == '\n';
  if (*ended && !line->empty() && line->back() == '\r')
    line->pop_back();
  return *ended || (!line->empty() && !ferror(in));
}

bool Write(FILE* out, const std::string& text) {
  return fwrite(text.data(), 1, text.size(), out) == text.size();
}

// Closes its file on every path that has not closed it already.
struct OpenFile {
  FILE* file = nullptr;
  ~OpenFile() {
    if (file != nullptr)
      fclose(file);
  }
  int Close() {
    FILE* closing = file;
    file = nullptr;
    return fclose(closing);
  }
};

}  // namespace

bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool LineIsBlank(const std::string& line) {
  for (char c : line)
    if (!IsBlank(c))
      return false;
  return true;
}

bool LineBelongsToKey(const std::string& line, const std::string& key) {
  size_t start = 0;
  while (start < line.size() && IsBlank(line[start]))
    ++start;
  size_t end = start;
  while (end < line.size() && !IsBlank(line[end]))
    ++end;
  return end - start >= key.size() && line.compare(start, key.size(), key) == 0;
}

CopyResult CopyWithKey(FILE* in, FILE* out, const std::string& key,
                       const std::string& value) {
  const std::string setting = key + "=" + value + "\r\n";
  bool found = false;
  std::string line;
  bool ended;
  while (ReadLine(in, &line, &ended)) {
    if (LineIsBlank(line))
      continue;
    if (LineBelongsToKey(line, key)) {
      found = true;
      if (!Write(out, setting))
        return kCopyWriteError;
    } else if (!Write(out, line) || (ended && !Write(out, "\r\n"))) {
      return kCopyWriteError;
    }
  }
  if (ferror(in))
    return kCopyReadError;
  // The leading line end closes a last line that had none; after a complete
  // last line it leaves an empty line, which the next update drops.
  if (!found && (fseek(out, 0, SEEK_END) != 0 || !Write(out, "\r\n" + setting)))
    return kCopyWriteError;
  return kCopyDone;
}

int SetIniKey(const char* key, const char* value) try {
  OpenFile copy;
  copy.file = CreateFreshFile(kTempIniName, kIniName);
  if (copy.file == nullptr) {
    printf("Could not create '%s'\n", kTempIniName);
    return -1;
  }
  OpenFile ini;
  ini.file = fopen(kIniName, "r+b");
  if (ini.file == nullptr) {
    copy.Close();
    RemoveQuietly(kTempIniName);
    printf("Could not open '%s'\n", kIniName);
    return -1;
  }

  const CopyResult copied = CopyWithKey(ini.file, copy.file, key, value);
  if (copied != kCopyDone) {
    ini.Close();
    copy.Close();
    RemoveQuietly(kTempIniName);
    if (copied == kCopyReadError)
      printf("Could not read %s file\n", kIniName);
    else
      printf("Could not write '%s'\n", kTempIniName);
    return -1;
  }

  if (ini.Close() != 0) {
    printf("Could not close %s file\n", kIniName);
    return -1;
  }
  if (FlushToDisk(copy.file) != 0) {
    copy.Close();
    RemoveQuietly(kTempIniName);
    printf("Could not write '%s'\n", kTempIniName);
    return -1;
  }
  if (copy.Close() != 0) {
    printf("Could not close %s file\n", kTempIniName);
    return -1;
  }

  switch (ReplaceAtomically(kTempIniName, kIniName)) {
    case kReplaced:
      return 0;
    case kTargetRefused:
      printf("Could not overwrite %s file\n", kIniName);
      return -1;
    case kReplaceFailed:
      break;
  }
  printf("\nCould not rename '%s' to '%s'\n", kTempIniName, kIniName);
  return -1;
} catch (const std::bad_alloc&) {
  RemoveQuietly(kTempIniName);
  printf("Not enough memory to update %s\n", kIniName);
  return -1;
}
