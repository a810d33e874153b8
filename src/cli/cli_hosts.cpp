#include "cli/cli_hosts.h"

#include "cli/interrupt.h"

namespace zel::cli {

void CliProgress::ShowProgress(const std::string& caption, int totalSteps, bool) {
  caption_ = caption;
  total_ = totalSteps;
  done_ = 0;
  Draw();
}

void CliProgress::CountProducts(int products) {
  products_ = products;
  Draw();
}

void CliProgress::AdvanceProgress() {
  ++done_;
  Draw();
}

void CliProgress::HideProgress() {
  products_ = 0;
  console_.ClearProgress();
}

void CliProgress::ProcessEvents() {
  if (!InterruptRequested()) return;
  stopped_ = true;
  // Set again at every look: each operation clears it when it starts.
  if (run_) run_->stopRequested = true;
}

void CliProgress::Draw() {
  if (total_ <= 0) return console_.Progress(caption_);
  const int steps = done_ < total_ ? done_ : total_;
  const int of = products_ > 0 ? products_ : total_;
  const int shown = static_cast<int>(static_cast<long long>(steps) * of / total_);
  console_.Progress(caption_ + "  " + std::to_string(steps * 100 / total_) + "% (" +
                    std::to_string(shown) + "/" + std::to_string(of) + ")");
}

bool CliImportHost::StopRequested() const {
  return InterruptRequested();
}

void CliImportHost::ClearStopRequest() {
  ClearInterrupt();
}

bool NoticeReminder::Show(int&) {
  console_.Note(
      "Внимание: перед чтением контрольной ленты необходимо убедиться в том, что содержимое "
      "базы товаров в приборе ЖРМ 3 идентично содержимому в таблице базы товаров программы.");
  return true;
}

}  // namespace zel::cli
