#include "app/app_core.h"

#include <QCoreApplication>

namespace zel {

void ProgressRelay::ShowProgress(const std::string& caption, int totalSteps, bool withStop) {
  if (target_) target_->ShowProgress(caption, totalSteps, withStop);
}

void ProgressRelay::CountProducts(int products) {
  if (target_) target_->CountProducts(products);
}

void ProgressRelay::AdvanceProgress() {
  if (target_) target_->AdvanceProgress();
}

void ProgressRelay::HideProgress() {
  if (target_) target_->HideProgress();
}

void ProgressRelay::ProcessEvents() {
  if (target_) {
    target_->ProcessEvents();
  } else {
    QCoreApplication::processEvents();
  }
}

AppCore::AppCore(const std::filesystem::path& programDir, Prompts& prompts, PortOpener opener)
    : programDir(programDir),
      prompts(prompts),
      port(link, std::move(opener)),
      ws(programDir, prompts, progress, warning, link, port),
      settings(programDir) {
  // Waits for device bytes keep the window responsive.
  link.SetEventPump([this] { progress.ProcessEvents(); });
  port.showLineProblem = [this](const std::string& text) { this->prompts.Warning(text); };
}

}  // namespace zel
