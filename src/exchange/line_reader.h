// Lines of a text file read as raw bytes. A line ends at CR LF, at LF alone
// or at CR alone; the last line needs no end. Lines are bounded so that a
// file without line ends cannot exhaust memory.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace zel {

/// Bytes kept of one line; the rest of a longer line is skipped.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in) {}

  /// True when no byte is left (or the stream failed).
  bool AtEnd();
  /// The next line without its end, cut to kMaxLineBytes; false when no
  /// line is left.
  bool Next(std::string& line);
  /// True after a read error the stream reported (not the mere end of file).
  bool Failed() const { return in_.bad(); }

 private:
  std::istream& in_;
};

}  // namespace zel
