#include "link/posix_tty_port.h"

// termios2 (BOTHER, TCSETS2) lives in the kernel headers, which clash with
// <termios.h>; this file uses only the kernel's view.
#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zel {
namespace {

// An adapter more than this far off the asked speed garbles every byte.
constexpr double kSpeedTolerance = 0.015;
// Beyond the bytes' own time on the wire, how long the output queue may take
// to empty before the line counts as stuck.
constexpr int64_t kDrainSlackUs = 100'000;
// How long a port may hold bytes back and then deliver them at once: a USB
// adapter at low latency 1 ms, a UART up to its FIFO's trigger level, a
// local relay in front of a pty its own jitter.
constexpr int64_t kHeldBackUs = 2'000;
constexpr int64_t kHeldBackBytes = 16;
// Right after a delivery woke us, the freshest byte ended about then: an
// adapter or a UART hands over all it has at once. This covers our waking.
constexpr int64_t kWokenHeldBackUs = 100;

void ToRaw(termios2& t) {
  t.c_iflag &=
      ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

void SetFraming(termios2& t, const LineSettings& s) {
  t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
  t.c_cflag |= s.dataBits == 7 ? CS7 : CS8;
  if (s.stopBits == 2) t.c_cflag |= CSTOPB;
  if (s.parity == Parity::Mark) t.c_cflag |= PARENB | PARODD | CMSPAR;
  if (s.parity == Parity::Space) t.c_cflag |= PARENB | CMSPAR;
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ispeed = s.baud;
  t.c_ospeed = s.baud;
}

timespec Remaining(int64_t deadlineUs, int64_t nowUs) {
  const int64_t us = std::max<int64_t>(0, deadlineUs - nowUs);
  return timespec{static_cast<time_t>(us / 1'000'000), static_cast<long>(us % 1'000'000) * 1000};
}

}  // namespace

PosixTtyPort::PosixTtyPort(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    problem_ = path + ": " + std::strerror(errno);
    return;
  }
  termios2 t{};
  if (::ioctl(fd_, TCGETS2, &t) != 0) {
    Refuse(path + ": not a serial device");
    return;
  }
  // TIOCEXCL keeps out later openers only, and not root: a port already
  // exclusive or locked (as we lock it, and pyserial) is held by another
  // program. The checks come first so that its owner's settings stay as they are.
  int exclusive = 0;
  if (::ioctl(fd_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) {
    Refuse(path + ": held by another program (exclusive)");
    return;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    Refuse(path + ": held by another program (locked)");
    return;
  }
  if (::ioctl(fd_, TIOCEXCL) != 0 && errno != ENOTTY) {
    problem_ = path + ": " + std::strerror(errno);
  }
  RequestLowLatency();
}

void PosixTtyPort::Refuse(const std::string& problem) {
  problem_ = problem;
  ::close(fd_);
  fd_ = -1;
}

PosixTtyPort::~PosixTtyPort() {
  if (fd_ >= 0) {
    ::ioctl(fd_, TCFLSH, TCIOFLUSH);
    // A pty keeps the flag while its other side is open: the next open would fail.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
}

// USB adapters hold bytes up to 16 ms by default; the echoes are expected
// within 20 ms, so ask for immediate delivery. Built-in ports and ptys refuse.
void PosixTtyPort::RequestLowLatency() {
  serial_struct ss{};
  if (::ioctl(fd_, TIOCGSERIAL, &ss) != 0) return;
  ss.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd_, TIOCSSERIAL, &ss);
}

void PosixTtyPort::MarkGone(const char* what, int err) {
  gone_ = true;
  problem_ = path_ + ": " + what + (err ? std::string(": ") + std::strerror(err) : "");
}

bool PosixTtyPort::Apply(const LineSettings& s, bool drain) {
  if (!IsOpen()) return false;
  // Nobody else sets this descriptor's termios: a parity switch before every
  // address byte need not read them back first.
  if (!termios_) {
    auto read = std::make_unique<termios2>();
    if (::ioctl(fd_, TCGETS2, read.get()) != 0) return false;
    termios_ = std::move(read);
  }
  termios2 t = *termios_;
  ToRaw(t);
  SetFraming(t, s);
  if (::ioctl(fd_, drain ? TCSETSW2 : TCSETS2, &t) != 0) {
    problem_ = path_ + ": " + std::strerror(errno);
    return false;
  }
  *termios_ = t;
  settings_ = s;
  // RTS handshake with a queue that never fills means RTS stays raised; the
  // kernel's CRTSCTS would also stop output on CTS, which the devices don't drive.
  // A parity switch before every address byte leaves RTS and the speed as they were.
  if (rts_ != s.RtsHandshake()) {
    rts_ = s.RtsHandshake();
    SetModemLine(TIOCM_RTS, *rts_);
  }
  termios2 back{};
  if (s.baud > 0 && s.baud != checkedBaud_ && ::ioctl(fd_, TCGETS2, &back) == 0) {
    checkedBaud_ = s.baud;
    const double off = std::abs(static_cast<double>(back.c_ospeed) - s.baud) / s.baud;
    std::string speed;
    if (off > kSpeedTolerance)
      speed = path_ + ": адаптер не поддерживает скорость " + std::to_string(s.baud) +
              " бод (установлено " + std::to_string(back.c_ospeed) + ")";
    if (!speed.empty() && speed != lineProblem_) problem_ = speed;
    lineProblem_ = std::move(speed);
  }
  return true;
}

LineSettings PosixTtyPort::Current() {
  return settings_;
}

void PosixTtyPort::SetModemLine(int line, bool raised) {
  if (!IsOpen()) return;
  // A pty has no modem lines; the request fails and is of no consequence.
  ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &line);
}

void PosixTtyPort::SetDtr(bool raised) {
  SetModemLine(TIOCM_DTR, raised);
}

void PosixTtyPort::Purge() {
  rx_.clear();
  rxHead_ = 0;
  txFreeUs_ = 0;  // what had not left is discarded
  emptiedUs_ = -1;
  if (IsOpen()) ::ioctl(fd_, TCFLSH, TCIOFLUSH);
}

// With VMIN = VTIME = 0 a read of an idle tty returns 0, so an empty read
// means "nothing yet" here; only poll() can tell that the device is gone.
std::size_t PosixTtyPort::Drain() {
  if (!IsOpen()) return 0;
  // Emptied less than half a byte ago: another read would find nothing whole,
  // and what comes meanwhile the next wait's poll() reports at once.
  if (emptiedUs_ >= 0 && clock_.NowUs() - emptiedUs_ < settings_.ByteTimeUs() / 2) return 0;
  if (rxHead_ > 0 && (rxHead_ == rx_.size() || rxHead_ > 4096)) {
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_));
    rxHead_ = 0;
  }
  std::size_t total = 0;
  uint8_t chunk[512];
  while (true) {
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n > 0) {
      total += static_cast<std::size_t>(n);
      // Beyond the queue limit bytes are dropped, as a driver's overrun would.
      const std::size_t held = rx_.size() - rxHead_;
      const std::size_t room = queueLimit_ > held ? queueLimit_ - held : 0;
      const std::size_t keep = std::min(room, static_cast<std::size_t>(n));
      rx_.insert(rx_.end(), chunk, chunk + keep);
      // A short read took all the kernel held: another would come back empty.
      if (static_cast<std::size_t>(n) < sizeof chunk) break;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) MarkGone("read failed", errno);
    break;
  }
  emptiedUs_ = clock_.NowUs();
  return total;
}

std::size_t PosixTtyPort::BytesWaiting() {
  Drain();
  return rx_.size() - rxHead_;
}

bool PosixTtyPort::WaitForBytes(std::size_t count, int64_t deadlineUs) {
  // Set when a wake-up brought bytes: when, and how many were then in hand.
  int64_t freshUs = -1;
  std::size_t freshHave = 0;
  while (IsOpen()) {
    const std::size_t have = BytesWaiting();
    if (have >= count) return true;
    if (!IsOpen()) return false;
    const int64_t now = clock_.NowUs();
    if (now >= deadlineUs) return false;
    // The rest follow at the line's rate: sleep until the last can be here
    // rather than wake for every byte on the way. Without a fresh delivery to
    // count from, the next byte may have ended up to the hold-back ago.
    const int64_t byteUs = settings_.ByteTimeUs();
    const int64_t lastUs =
        freshUs >= 0 ? freshUs + static_cast<int64_t>(count - freshHave) * byteUs - kWokenHeldBackUs
                     : now + static_cast<int64_t>(count - have - 1) * byteUs -
                           std::max(kHeldBackUs, kHeldBackBytes * byteUs);
    if (lastUs > now) {
      clock_.SleepUntilUs(std::min(deadlineUs, lastUs));
      continue;
    }
    pollfd p{fd_, POLLIN, 0};
    const timespec ts = Remaining(deadlineUs, now);
    const int r = ::ppoll(&p, 1, &ts, nullptr);
    if (r < 0 && errno != EINTR) {
      MarkGone("poll failed", errno);
      return false;
    }
    if (r <= 0) continue;
    // Readable yet nothing to read, or a hang-up: the device has gone.
    emptiedUs_ = -1;
    const std::size_t got = Drain();
    if (got > 0) {
      freshUs = clock_.NowUs();
      freshHave = rx_.size() - rxHead_;
    }
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
      MarkGone("device hung up", 0);
    else if (got == 0 && IsOpen())
      MarkGone("device closed", 0);
    if (!IsOpen()) return rx_.size() - rxHead_ >= count;
  }
  return false;
}

std::size_t PosixTtyPort::Read(uint8_t* dst, std::size_t maxBytes) {
  Drain();
  const std::size_t n = std::min(maxBytes, rx_.size() - rxHead_);
  std::copy_n(rx_.begin() + static_cast<std::ptrdiff_t>(rxHead_), n, dst);
  rxHead_ += n;
  return n;
}

std::size_t PosixTtyPort::Write(const uint8_t* src, std::size_t n, int timeoutMs) {
  const int64_t deadline = clock_.NowUs() + static_cast<int64_t>(timeoutMs) * 1000;
  std::size_t done = 0;
  while (done < n && IsOpen()) {
    const ssize_t w = ::write(fd_, src + done, n - done);
    if (w > 0) {
      done += static_cast<std::size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      MarkGone("write failed", errno);
      break;
    }
    const int64_t now = clock_.NowUs();
    if (now >= deadline) break;
    pollfd p{fd_, POLLOUT, 0};
    const timespec ts = Remaining(deadline, now);
    if (::ppoll(&p, 1, &ts, nullptr) < 0 && errno != EINTR) break;
  }
  const int64_t now = clock_.NowUs();
  txFreeUs_ = std::max(now, txFreeUs_) + static_cast<int64_t>(done) * settings_.ByteTimeUs();
  // No answer can have ended within half a byte of the request, and what was
  // there before it the next wait's poll() reports at once: no read for that.
  if (done > 0) emptiedUs_ = now;
  return done;
}

// Not before the bytes can have left at the line's pace: a USB adapter's
// driver counts them sent once they reach the chip's own buffer, and a pty
// never holds them. Then the kernel's queue, and tcdrain for the UART's FIFO
// once that queue is empty, so that it cannot block on a stuck line.
void PosixTtyPort::WaitUntilSent() {
  if (!IsOpen()) return;
  clock_.SleepUntilUs(txFreeUs_);
  const int64_t byteUs = std::max<int64_t>(settings_.ByteTimeUs(), 100);
  const int64_t deadline = clock_.NowUs() + kDrainSlackUs;
  int queued = 0;
  while (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0) {
    const int64_t now = clock_.NowUs();
    if (now >= deadline) return;
    clock_.SleepUntilUs(std::min(deadline, now + queued * byteUs));
  }
  ::ioctl(fd_, TCSBRK, 1);
}

}  // namespace zel
