#include "hosted_line.h"

#include <algorithm>
#include <limits>

namespace zel::testing {

void HostedLine::Write(const uint8_t* bytes, std::size_t n) {
  if (n > 0) line_.Write(bytes, n, 0);
}

std::vector<uint8_t> HostedLine::TakeDue() {
  std::vector<uint8_t> out;
  uint8_t buf[256];
  while (const std::size_t n = line_.Read(buf, sizeof buf)) out.insert(out.end(), buf, buf + n);
  return out;
}

// Asking the line to wait for a byte makes it name, through the PeekClock,
// the time that byte arrives.
int64_t HostedLine::NextWakeUs(int64_t idleUs) {
  const int64_t idle = clock_.NowUs() + idleUs;
  if (!line_.WaitForBytes(1, std::numeric_limits<int64_t>::max())) return idle;
  return std::min(idle, clock_.askedUs);
}

}  // namespace zel::testing
