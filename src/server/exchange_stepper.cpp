#include "server/exchange_stepper.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "server/server_codes.h"

namespace zel {
namespace {

void LogFault(const ServerWorker& worker, const char* what) {
  std::fprintf(stderr, "zelbase: server exchange %s ended with code %d: %s\n", worker.Name(),
               kCodeLinkFailure, what);
}

// The fault that escaped the step; none when it returned normally.
std::optional<std::string> RunStep(ServerWorker& worker, Prompts* prompts) {
  std::optional<ClientPromptScope> forClient;
  if (prompts) forClient.emplace(*prompts);
  try {
    worker.Step();
    return std::nullopt;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown fault";
  }
}

}  // namespace

ExchangeStepper::ExchangeStepper() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void ExchangeStepper::Start(std::shared_ptr<ServerWorker> worker) {
  worker_ = std::move(worker);
  timer_.start();
}

void ExchangeStepper::Stop() {
  timer_.stop();
  worker_.reset();
}

void ExchangeStepper::Tick() {
  // A step that waits for the device processes events; the timer must not
  // start the next step inside it.
  if (inStep_ || !worker_) return;
  // Holding our own reference keeps the worker alive through its step even
  // when the step ends the exchange (or a nested call starts another).
  const std::shared_ptr<ServerWorker> worker = worker_;
  inStep_ = true;
  if (beforeStep_) beforeStep_();
  if (const std::optional<std::string> fault = RunStep(*worker, prompts_)) {
    LogFault(*worker, fault->c_str());
    worker->Abort(kCodeLinkFailure);
    if (worker_ == worker) Stop();
  }
  inStep_ = false;
}

}  // namespace zel
