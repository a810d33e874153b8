// The seam between the core and message boxes. The window shows real boxes;
// tests answer from a script and record every text.
#pragma once

#include <string>

namespace zel {

enum class Answer { Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;
  /// Plain message with OK, captioned with the program's title.
  virtual void Message(const std::string& text) = 0;
  /// Information box ("Информация").
  virtual void Information(const std::string& text) = 0;
  /// Warning box ("Внимание").
  virtual void Warning(const std::string& text) = 0;
  /// Error box ("Ошибка").
  virtual void Error(const std::string& text) = 0;
  /// Yes/No question ("Подтверждение"); true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  /// Yes/No/Cancel question ("Подтверждение").
  virtual Answer AskYesNoCancel(const std::string& text) = 0;

  /// True while the boxes raised are on behalf of an automation client (a
  /// server call or a step of its exchange) rather than of the operator.
  bool ForClient() const { return clientDepth_ > 0; }

 private:
  friend class ClientPromptScope;
  int clientDepth_ = 0;
};

/// Marks the boxes raised while it lives as raised for an automation client.
class ClientPromptScope {
 public:
  explicit ClientPromptScope(Prompts& prompts) : prompts_(prompts) { ++prompts_.clientDepth_; }
  ~ClientPromptScope() { --prompts_.clientDepth_; }
  ClientPromptScope(const ClientPromptScope&) = delete;
  ClientPromptScope& operator=(const ClientPromptScope&) = delete;

 private:
  Prompts& prompts_;
};

}  // namespace zel
