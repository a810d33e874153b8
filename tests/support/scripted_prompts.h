// A Prompts fake: records every text and answers questions from a queue.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/prompts.h"

namespace zel::testing {

class ScriptedPrompts final : public Prompts {
 public:
  /// One shown box: its kind ("message", "information", "warning", "error",
  /// "yesno", "yesnocancel") and its text.
  struct Shown {
    std::string kind;
    std::string text;
    bool operator==(const Shown&) const = default;
  };

  /// Queues the answer of the next question.
  void Answer(zel::Answer a) { answers_.push_back(a); }

  void Message(const std::string& t) override { shown_.push_back({"message", t}); }
  void Information(const std::string& t) override { shown_.push_back({"information", t}); }
  void Warning(const std::string& t) override { shown_.push_back({"warning", t}); }
  void Error(const std::string& t) override { shown_.push_back({"error", t}); }
  bool AskYesNo(const std::string& t) override {
    shown_.push_back({"yesno", t});
    return Next() == zel::Answer::Yes;
  }
  zel::Answer AskYesNoCancel(const std::string& t) override {
    shown_.push_back({"yesnocancel", t});
    return Next();
  }

  const std::vector<Shown>& shown() const { return shown_; }
  /// Texts only, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& s : shown_) out.push_back(s.text);
    return out;
  }
  void Clear() { shown_.clear(); }

 private:
  // An unscripted question is answered No: the safe choice for a test.
  zel::Answer Next() {
    if (answers_.empty()) return zel::Answer::No;
    const zel::Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }

  std::deque<zel::Answer> answers_;
  std::vector<Shown> shown_;
};

}  // namespace zel::testing
