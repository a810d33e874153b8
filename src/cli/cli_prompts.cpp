#include "cli/cli_prompts.h"

namespace zel::cli {
namespace {

// Box texts break lines with "\r", which a terminal would write over.
std::string Lines(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

const char* AnswerText(Answer a) {
  switch (a) {
    case Answer::Yes:
      return "Да";
    case Answer::No:
      return "Нет";
    case Answer::Cancel:
      return "Отмена";
  }
  return "";
}

}  // namespace

void CliPrompts::Show(const char* caption, const std::string& text) {
  ++shown_;
  console_.Note(*caption ? std::string(caption) + ": " + Lines(text) : Lines(text));
}

void CliPrompts::Message(const std::string& text) {
  Show("", text);
}
void CliPrompts::Information(const std::string& text) {
  Show("Информация", text);
}
void CliPrompts::Warning(const std::string& text) {
  Show("Внимание", text);
}
void CliPrompts::Error(const std::string& text) {
  Show("Ошибка", text);
}

void CliPrompts::Refuse(const std::string& text, const char* why) {
  refused_ = true;
  console_.Note("Подтверждение: " + Lines(text));
  console_.Note(std::string("zelbase-cli: refused: ") + why);
}

bool CliPrompts::AskYesNo(const std::string& text) {
  if (!yesNo_) {
    Refuse(text, "give --yes to answer Yes");
    return false;
  }
  console_.Note("Подтверждение: " + Lines(text) + " " +
                AnswerText(*yesNo_ ? Answer::Yes : Answer::No));
  return *yesNo_;
}

Answer CliPrompts::AskYesNoCancel(const std::string& text) {
  if (!yesNoCancel_) {
    Refuse(text, "no flag answers this question");
    return Answer::Cancel;
  }
  console_.Note("Подтверждение: " + Lines(text) + " " + AnswerText(*yesNoCancel_));
  return *yesNoCancel_;
}

}  // namespace zel::cli
