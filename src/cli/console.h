// The terminal of zelbase-cli: data lines on stdout, messages on stderr and,
// when stderr is a terminal, one progress line that messages write over.
#pragma once

#include <string>
#include <vector>

namespace zel::cli {

class Console {
 public:
  /// `progressShown`: stderr is a terminal, so the progress line is drawn.
  explicit Console(bool progressShown) : progressShown_(progressShown) {}

  /// One line on stdout, flushed at once (--watch is read line by line).
  void Out(const std::string& line);
  /// One line on stderr, over the progress line if one is drawn.
  void Note(const std::string& line);
  /// Draws `text` as the progress line; nothing when stderr is no terminal.
  void Progress(const std::string& text);
  /// Removes the progress line.
  void ClearProgress();

  /// From now on notes wait, so that they follow what Out prints meanwhile.
  void HoldNotes() { holding_ = true; }
  /// Writes the notes that waited, in order, and stops holding them.
  void ReleaseNotes();

 private:
  bool progressShown_;
  bool drawn_ = false;
  bool holding_ = false;
  std::vector<std::string> held_;
};

/// True when stderr is a terminal.
bool StderrIsTerminal();

}  // namespace zel::cli
