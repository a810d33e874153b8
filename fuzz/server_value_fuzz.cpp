// A VARIANT argument a D-Bus client passes as text: its conversion to a
// number either succeeds or refuses with ServerFailure, nothing else.
#include "server/server_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const zel::ServerValue value(std::string(reinterpret_cast<const char*>(data), size));
  value.Text();
  try {
    value.Integer("Num");
  } catch (const zel::ServerFailure&) {
  }
  return 0;
}
