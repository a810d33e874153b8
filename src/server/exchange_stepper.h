// Runs the steps of one server exchange on the main thread, one at a time
// and in order: a zero-interval timer hands the worker its next step once
// the event loop is free again, so the window repaints and clients are
// answered between steps.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

#include "common/prompts.h"

namespace zel {

/// One exchange, as a sequence of steps.
class ServerWorker {
 public:
  virtual ~ServerWorker() = default;
  /// Handles one record (or block); ends the exchange itself when done.
  virtual void Step() = 0;
  /// Ends the exchange with `code` after a fault that escaped a step.
  virtual void Abort(int code) = 0;
  /// Class name, for the log.
  virtual const char* Name() const = 0;
};

class ExchangeStepper {
 public:
  ExchangeStepper();
  /// The boxes a step raises are raised for the client that started it.
  void SetPrompts(Prompts* prompts) { prompts_ = prompts; }
  /// Called before each step, right after the event loop has run.
  void SetBeforeStep(std::function<void()> beforeStep) { beforeStep_ = std::move(beforeStep); }
  ExchangeStepper(const ExchangeStepper&) = delete;
  ExchangeStepper& operator=(const ExchangeStepper&) = delete;

  /// Runs `worker`'s steps from the next turn of the event loop on.
  void Start(std::shared_ptr<ServerWorker> worker);
  /// No further step runs; a step in progress finishes first and its
  /// worker is released once it has returned.
  void Stop();
  /// True while a worker is held.
  bool Running() const { return worker_ != nullptr; }

 private:
  void Tick();

  QTimer timer_;
  std::shared_ptr<ServerWorker> worker_;
  bool inStep_ = false;
  Prompts* prompts_ = nullptr;
  std::function<void()> beforeStep_;
};

}  // namespace zel
