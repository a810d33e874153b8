// The settings file parser; what it serializes must parse to the same text.
#include <cstdlib>

#include "base/ini_file.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Parse(text);
  const std::string once = ini.Serialize();
  // What we write is cp1251 and must read back the same, unless its names
  // happen to form UTF-8, which is taken for an editor's file by design.
  const IniFile again = IniFile::Parse(once);
  if (!again.ReadAsUtf8() && again.Serialize() != once) std::abort();
  ini.ReadInteger("Main", "Left", 0);
  ParseIniInteger(text);
  return 0;
}
