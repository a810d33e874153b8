#include "exchange/line_reader.h"

namespace zel {
namespace {

using Traits = std::istream::traits_type;

}  // namespace

bool LineReader::AtEnd() {
  return !in_.good() || in_.peek() == Traits::eof();
}

bool LineReader::Next(std::string& line) {
  line.clear();
  if (AtEnd()) return false;
  std::streambuf& buf = *in_.rdbuf();
  for (;;) {
    const Traits::int_type c = buf.sbumpc();
    if (c == Traits::eof() || c == '\n') break;
    if (c == '\r') {
      if (buf.sgetc() == '\n') buf.sbumpc();
      break;
    }
    if (line.size() < kMaxLineBytes) line += Traits::to_char_type(c);
  }
  return true;
}

}  // namespace zel
