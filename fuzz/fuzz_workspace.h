// A workspace for the fuzz targets that run whole operations: a program
// folder of its own under the temporary folder (removed at exit), message
// boxes that are counted and answered No, and no port.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/workspace.h"

namespace zel::fuzz {

/// A fresh folder, removed when the run ends.
class ProgramFolder {
 public:
  ProgramFolder() {
    std::string name = (TempRoot() / "zel-fuzz-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) std::abort();
    path_ = name;
  }
  ~ProgramFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  // Memory-backed when there is such a folder: every base store is flushed.
  static std::filesystem::path TempRoot() {
    std::error_code ec;
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }

  std::filesystem::path path_;
};

class CountingPrompts final : public Prompts {
 public:
  void Message(const std::string& text) override { Shown("message", text); }
  void Information(const std::string& text) override { Shown("information", text); }
  void Warning(const std::string& text) override { Shown("warning", text); }
  void Error(const std::string& text) override { Shown("error", text); }
  bool AskYesNo(const std::string& text) override {
    Shown("question", text);
    return false;
  }
  Answer AskYesNoCancel(const std::string& text) override {
    Shown("question", text);
    return Answer::No;
  }

  int errors = 0;
  std::vector<std::string> shown;  ///< "kind: text", cleared by the target

 private:
  void Shown(const char* kind, const std::string& text) {
    if (std::string_view(kind) == "error") ++errors;
    shown.push_back(std::string(kind) + ": " + text);
  }
};

class NullProgress final : public ProgressHost {
 public:
  void ShowProgress(const std::string&, int, bool) override {}
  void AdvanceProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {}
};

class NeverDisconnect final : public DisconnectWarning {
 public:
  Answer Ask() override { return {}; }
};

/// The workspace and its fakes; ports open to `line`, or to nothing.
struct FuzzWorkspace {
  explicit FuzzWorkspace(const std::filesystem::path& programDir,
                         std::shared_ptr<BytePort> line = nullptr)
      : port(link, [line](const std::string&) { return line; }),
        ws(programDir, prompts, progress, warning, link, port) {}

  CountingPrompts prompts;
  NullProgress progress;
  NeverDisconnect warning;
  Link link;
  PortSetup port;
  Workspace ws;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

/// Aborts with `what` on stderr: the target's invariant does not hold.
[[noreturn]] inline void Broken(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace zel::fuzz
