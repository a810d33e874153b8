// Message boxes on the command line: every text goes to stderr under its
// box's caption, questions are answered from the command's flags, and what
// was shown is counted so that a command can tell failure from success.
#pragma once

#include <optional>
#include <string>

#include "cli/console.h"
#include "common/prompts.h"

namespace zel::cli {

class CliPrompts final : public Prompts {
 public:
  explicit CliPrompts(Console& console) : console_(console) {}

  /// The answer to Yes/No questions; without one every such question is
  /// refused (answered No and recorded).
  void ConsentYesNo(bool yes) { yesNo_ = yes; }
  /// The answer to Yes/No/Cancel questions; without one they are refused
  /// (answered Cancel and recorded).
  void AnswerYesNoCancel(Answer answer) { yesNoCancel_ = answer; }

  /// Boxes of every kind shown so far (questions excluded).
  int ShownCount() const { return shown_; }
  /// A question was refused for want of its flag.
  bool Refused() const { return refused_; }

  void Message(const std::string& text) override;
  void Information(const std::string& text) override;
  void Warning(const std::string& text) override;
  void Error(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;

 private:
  void Show(const char* caption, const std::string& text);
  void Refuse(const std::string& text, const char* why);

  Console& console_;
  std::optional<bool> yesNo_;
  std::optional<Answer> yesNoCancel_;
  int shown_ = 0;
  bool refused_ = false;
};

}  // namespace zel::cli
