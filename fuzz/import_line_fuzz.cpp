// One line of a text import file.
#include "exchange/import_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zel::ParseImportLine(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
