#include "cli/console.h"

#include <unistd.h>

#include <cstdio>

namespace zel::cli {

void Console::Out(const std::string& line) {
  ClearProgress();
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void Console::Note(const std::string& line) {
  if (holding_) {
    held_.push_back(line);
    return;
  }
  ClearProgress();
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
}

void Console::Progress(const std::string& text) {
  if (!progressShown_) return;
  // Carriage return and "erase to end of line": the line is redrawn in place.
  std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void Console::ClearProgress() {
  if (!drawn_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

void Console::ReleaseNotes() {
  holding_ = false;
  for (const std::string& line : held_) Note(line);
  held_.clear();
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace zel::cli
