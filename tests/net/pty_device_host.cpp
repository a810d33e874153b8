#include "pty_device_host.h"

// termios2 carries any speed; its kernel header clashes with <termios.h>.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

namespace zel::testing {
namespace {

// How long the thread sleeps when nothing is due: short enough to notice a stop.
constexpr int64_t kIdleWakeUs = 50'000;

// Until the server configures the slave it must neither echo nor translate.
bool MakeRaw(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_iflag = 0;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag |= CLOCAL | CREAD;
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace

LineSettings SlaveSettings(int masterFd) {
  LineSettings s;
  termios2 t{};
  if (::ioctl(masterFd, TCGETS2, &t) != 0) return s;
  s.baud = t.c_ospeed;
  if (t.c_cflag & CMSPAR) s.parity = (t.c_cflag & PARODD) ? Parity::Mark : Parity::Space;
  s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
  return s;
}

PtyDeviceHost::PtyDeviceHost(int64_t batchUs) : batchUs_(batchUs) {
  if (!Open()) return;
  thread_ = std::thread([this] { Run(); });
}

PtyDeviceHost::~PtyDeviceHost() {
  Unplug();
}

void PtyDeviceHost::Unplug() {
  stop_ = true;
  const uint8_t b = 1;
  if (wakePipe_[1] >= 0) {
    const ssize_t r = ::write(wakePipe_[1], &b, 1);
    (void)r;  // a full pipe already wakes the thread
  }
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&master_, &slave_, &wakePipe_[0], &wakePipe_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

bool PtyDeviceHost::Open() {
  char name[64] = {};
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0 || ::fcntl(master_, F_SETFL, O_NONBLOCK) != 0) {
    problem_ = std::string("no pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0 || !MakeRaw(slave_) || ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    problem_ = std::string(name) + ": " + std::strerror(errno);
    return false;
  }
  slavePath_ = name;
  return true;
}

void PtyDeviceHost::Attach(std::shared_ptr<LineDevice> device) {
  std::lock_guard lock(mu_);
  line_.Attach(std::move(device));
}

void PtyDeviceHost::WithLine(const std::function<void(SimulatedLine&)>& use) {
  std::lock_guard lock(mu_);
  use(line_.Line());
}

void PtyDeviceHost::Inspect(const std::function<void()>& look) {
  std::lock_guard lock(mu_);
  look();
}

PtyDeviceHost::Tally PtyDeviceHost::Counts() {
  std::lock_guard lock(mu_);
  return tally_;
}

std::vector<PtyDeviceHost::Arrival> PtyDeviceHost::Arrivals() {
  std::lock_guard lock(mu_);
  return arrivals_;
}

bool PtyDeviceHost::AwaitArrivals(std::size_t count, int timeoutMs) {
  std::unique_lock lock(mu_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return arrivals_.size() >= count; });
}

void PtyDeviceHost::Run() {
  // The default 50 us of timer slack would make every reply that late.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  while (!stop_) {
    int64_t wakeUs;
    {
      std::lock_guard lock(mu_);
      wakeUs = line_.NextWakeUs(kIdleWakeUs);
      if (batchUs_ > 0) wakeUs = std::max(wakeUs, lastSendUs_ + batchUs_);
    }
    const int64_t us = std::max<int64_t>(0, wakeUs - line_.NowUs());
    dueUs_ = wakeUs;
    const timespec ts{static_cast<time_t>(us / 1'000'000),
                      static_cast<long>(us % 1'000'000) * 1000};
    pollfd p[2] = {{master_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    ::ppoll(p, 2, &ts, nullptr);
    uint8_t drain[64];
    while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
    std::lock_guard lock(mu_);
    if (p[0].revents & POLLIN) TakeFromMaster();
    SendDue();
    changed_.notify_all();
  }
}

// Settings read after the bytes arrived are those they were sent with: the
// server changes them without draining, but the client changes parity only
// after the echo of the address byte, so no change overtakes waiting bytes.
void PtyDeviceHost::TakeFromMaster() {
  uint8_t buf[512];
  const ssize_t n = ::read(master_, buf, sizeof buf);
  if (n <= 0) return;
  if (std::exchange(answered_, false)) {
    ++tally_.turns;
    tally_.answerUs += line_.NowUs() - lastSendUs_;
  }
  const LineSettings s = SlaveSettings(master_);
  line_.Apply(s);
  line_.Write(buf, static_cast<std::size_t>(n));
  for (ssize_t i = 0; i < n; ++i) arrivals_.push_back({buf[i], s.baud, s.parity});
}

void PtyDeviceHost::SendDue() {
  const std::vector<uint8_t> out = line_.TakeDue();
  if (!out.empty()) {
    lastSendUs_ = line_.NowUs();
    answered_ = true;
    // Only the end of a burst keeps the other side waiting.
    const bool burstEnds = line_.NextWakeUs(kIdleWakeUs) >= lastSendUs_ + kIdleWakeUs;
    if (burstEnds) tally_.lateUs += std::max<int64_t>(0, lastSendUs_ - dueUs_);
  }
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t w = ::write(master_, out.data() + done, out.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;  // the slave's queue is full: the bytes are lost, as on a wire
    done += static_cast<std::size_t>(w);
  }
}

}  // namespace zel::testing
