#include "link/spy_port.h"

#include <cinttypes>
#include <cstdio>

namespace zel {
namespace {

const char* ParityName(Parity p) {
  switch (p) {
    case Parity::Mark:
      return "mark ";
    case Parity::Space:
      return "space";
    case Parity::None:
      break;
  }
  return "none ";
}

std::string TrimmedParity(Parity p) {
  std::string name = ParityName(p);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::string Milliseconds(int64_t us) {
  char text[32];
  const int64_t tenths = us < 0 ? 0 : us / 100;
  std::snprintf(text, sizeof text, "%" PRId64 ".%" PRId64, tenths / 10, tenths % 10);
  return text;
}

std::string SettingsText(const LineSettings& s, std::optional<bool> dtrRaised, bool drain) {
  std::string text = "set " + std::to_string(s.baud) + " baud, " + std::to_string(s.dataBits) +
                     " data bits, parity " + TrimmedParity(s.parity) + ", " +
                     std::to_string(s.stopBits) + (s.stopBits == 1 ? " stop bit" : " stop bits") +
                     ", DTR " +
                     (!dtrRaised   ? "unset"
                      : *dtrRaised ? "raised"
                                   : "dropped");
  if (drain) text += ", after drain";
  return text;
}

}  // namespace

std::shared_ptr<TraceLog> TraceLog::OpenFile(const std::string& path, std::string* error) {
  std::shared_ptr<TraceLog> log(new TraceLog());
  log->file_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!log->file_) {
    if (error) *error = "cannot write the trace file " + path;
    return nullptr;
  }
  log->out_ = &log->file_;
  return log;
}

// Flushed line by line: the trace is read after a hang or a crash too.
void TraceLog::Line(int64_t nowUs, std::string_view kind, std::string_view text) {
  if (!originUs_) originUs_ = nowUs;
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%10s ", Milliseconds(nowUs - *originUs_).c_str());
  *out_ << stamp << kind << ' ' << text << '\n';
  out_->flush();
}

SpyPort::SpyPort(std::shared_ptr<BytePort> inner, std::shared_ptr<TraceLog> log, std::string name)
    : inner_(std::move(inner)), log_(std::move(log)), name_(std::move(name)) {
  parity_ = inner_->Current().parity;
  wasOpen_ = opened_ = inner_->IsOpen();
  lastProblem_ = inner_->LastProblem();
  if (wasOpen_)
    Event("open " + name_);
  else
    Event("open " + name_ + " failed: " + lastProblem_);
}

SpyPort::~SpyPort() {
  if (opened_) Event("close " + name_);
}

void SpyPort::Bytes(int64_t atUs, std::string_view direction, Parity parity, const uint8_t* bytes,
                    std::size_t n) {
  std::string text = ParityName(parity);
  char hex[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    text += hex;
  }
  log_->Line(atUs, direction, text);
}

void SpyPort::FlushReceived() {
  if (received_.empty()) return;
  Bytes(receivedAtUs_, "RX", receivedParity_, received_.data(), received_.size());
  received_.clear();
}

void SpyPort::FlushTimeout() {
  if (!failedWait_) return;
  const FailedWait w = *failedWait_;
  failedWait_.reset();
  log_->Line(w.endUs, "--",
             "time-out: waited " + Milliseconds(w.endUs - w.startUs) + " ms for " +
                 std::to_string(w.count) + (w.count == 1 ? " byte" : " bytes"));
}

void SpyPort::Event(std::string_view text) {
  FlushReceived();
  FlushTimeout();
  log_->Line(NowUs(), "--", text);
}

void SpyPort::CheckHealth() {
  const bool open = inner_->IsOpen();
  std::string problem = inner_->LastProblem();
  if (wasOpen_ && !open)
    Event("failure: " + (problem.empty() ? std::string("the port has gone") : problem));
  else if (open && !problem.empty() && problem != lastProblem_)
    Event("warning: " + problem);
  wasOpen_ = open;
  lastProblem_ = std::move(problem);
}

bool SpyPort::Apply(const LineSettings& settings, bool drain) {
  const bool ok = inner_->Apply(settings, drain);
  Event(SettingsText(settings, dtrRaised_, drain));
  if (!ok && inner_->IsOpen()) Event("failure: settings not applied: " + inner_->LastProblem());
  parity_ = settings.parity;
  CheckHealth();
  return ok;
}

void SpyPort::SetDtr(bool raised) {
  inner_->SetDtr(raised);
  dtrRaised_ = raised;
  Event(raised ? "DTR raised" : "DTR dropped");
  CheckHealth();
}

void SpyPort::Purge() {
  inner_->Purge();
  Event("purge");
  CheckHealth();
}

std::size_t SpyPort::BytesWaiting() {
  const std::size_t n = inner_->BytesWaiting();
  if (wasOpen_ && !inner_->IsOpen()) CheckHealth();
  return n;
}

// The link waits in short slices; consecutive slices that run out are one
// time-out, and one that ends with bytes after all is no time-out.
bool SpyPort::WaitForBytes(std::size_t count, int64_t deadlineUs) {
  const int64_t startUs = NowUs();
  const bool arrived = inner_->WaitForBytes(count, deadlineUs);
  if (arrived) {
    failedWait_.reset();
    return true;
  }
  FlushReceived();
  if (!inner_->IsOpen()) {
    failedWait_.reset();
    CheckHealth();
    return false;
  }
  if (!failedWait_ || failedWait_->count != count) {
    FlushTimeout();
    failedWait_ = FailedWait{startUs, startUs, count};
  }
  failedWait_->endUs = NowUs();
  return false;
}

std::size_t SpyPort::Read(uint8_t* dst, std::size_t maxBytes) {
  const std::size_t n = inner_->Read(dst, maxBytes);
  if (n > 0) {
    failedWait_.reset();
    if (received_.empty() || receivedParity_ != parity_) {
      FlushReceived();
      receivedAtUs_ = NowUs();
      receivedParity_ = parity_;
    }
    received_.insert(received_.end(), dst, dst + n);
  }
  if (wasOpen_ && !inner_->IsOpen()) CheckHealth();
  return n;
}

std::size_t SpyPort::Write(const uint8_t* src, std::size_t n, int timeoutMs) {
  FlushReceived();
  FlushTimeout();
  const int64_t atUs = NowUs();
  const std::size_t written = inner_->Write(src, n, timeoutMs);
  Bytes(atUs, "TX", parity_, src, n);
  if (written < n && inner_->IsOpen())
    Event("failure: " + std::to_string(written) + " of " + std::to_string(n) + " bytes written");
  CheckHealth();
  return written;
}

}  // namespace zel
