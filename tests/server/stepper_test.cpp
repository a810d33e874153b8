// The stepper that runs server exchanges on the event loop: one step at a
// time, in order, never inside another step, and no fault escapes it.
#include "server/exchange_stepper.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <stdexcept>

#include "server/server_codes.h"
#include "server_fixture.h"

namespace zel::testing {
namespace {

class ScriptedWorker final : public ServerWorker {
 public:
  ScriptedWorker(ExchangeStepper& stepper, int steps, bool* destroyed = nullptr)
      : stepper_(stepper), steps_(steps), destroyed_(destroyed) {}
  ~ScriptedWorker() override {
    if (destroyed_) *destroyed_ = true;
  }

  void Step() override {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    ran.push_back(static_cast<int>(ran.size()) + 1);
    if (throwAt == static_cast<int>(ran.size())) {
      --depth;
      throw std::runtime_error("cell 7 is not a number");
    }
    // A device wait processes events, as the link does.
    QCoreApplication::processEvents();
    if (static_cast<int>(ran.size()) == steps_) {
      stepper_.Stop();
      if (destroyed_) stillAliveAfterStop = !*destroyed_;
      if (onLast) onLast();
    }
    --depth;
  }
  void Abort(int code) override {
    aborts.push_back(code);
    stepper_.Stop();
  }
  const char* Name() const override { return "ScriptedWorker"; }

  std::vector<int> ran;
  std::vector<int> aborts;
  int depth = 0;
  int maxDepth = 0;
  int throwAt = 0;
  bool stillAliveAfterStop = false;
  std::function<void()> onLast;

 private:
  ExchangeStepper& stepper_;
  int steps_;
  bool* destroyed_;
};

void RunWhile(const ExchangeStepper& stepper) {
  for (int turn = 0; stepper.Running() && turn < 1000; ++turn) QCoreApplication::processEvents();
  ASSERT_FALSE(stepper.Running());
}

TEST(ExchangeStepper, RunsStepsInOrderOneAtATime) {
  QtCore();
  ExchangeStepper stepper;
  auto worker = std::make_shared<ScriptedWorker>(stepper, 5);
  stepper.Start(worker);
  EXPECT_TRUE(worker->ran.empty());  // nothing runs inside Start
  RunWhile(stepper);
  EXPECT_EQ(worker->ran, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(worker->maxDepth, 1);
  EXPECT_TRUE(worker->aborts.empty());
}

TEST(ExchangeStepper, WorkerOutlivesAStopMadeInsideItsStep) {
  QtCore();
  ExchangeStepper stepper;
  bool destroyed = false;
  auto worker = std::make_shared<ScriptedWorker>(stepper, 2, &destroyed);
  ScriptedWorker* raw = worker.get();
  stepper.Start(std::move(worker));
  bool aliveAfterStop = false;
  raw->onLast = [&] { aliveAfterStop = raw->stillAliveAfterStop; };
  RunWhile(stepper);
  EXPECT_TRUE(aliveAfterStop);
  EXPECT_TRUE(destroyed);  // released once its step had returned
}

TEST(ExchangeStepper, FaultEscapingAStepEndsTheExchangeWithFour) {
  QtCore();
  ExchangeStepper stepper;
  auto worker = std::make_shared<ScriptedWorker>(stepper, 10);
  worker->throwAt = 2;
  ::testing::internal::CaptureStderr();
  stepper.Start(worker);
  RunWhile(stepper);
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(worker->ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(worker->aborts, (std::vector<int>{kCodeLinkFailure}));
  EXPECT_NE(log.find("ScriptedWorker"), std::string::npos) << log;
  EXPECT_NE(log.find("cell 7 is not a number"), std::string::npos) << log;
}

TEST(ExchangeStepper, ExchangeStartedInsideTheLastStepRunsAfterIt) {
  QtCore();
  ExchangeStepper stepper;
  bool firstDestroyed = false;
  auto first = std::make_shared<ScriptedWorker>(stepper, 1, &firstDestroyed);
  auto second = std::make_shared<ScriptedWorker>(stepper, 2);
  first->onLast = [&] { stepper.Start(second); };
  stepper.Start(first);
  RunWhile(stepper);
  EXPECT_TRUE(firstDestroyed || first.use_count() == 1);
  EXPECT_EQ(second->ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(second->maxDepth, 1);
}

}  // namespace
}  // namespace zel::testing
