// The product-base tests' workspace on a temporary program folder, wired to
// the recording fakes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/workspace.h"
#include "support/files.h"
#include "support/workspace_fakes.h"

namespace zel::testing {

/// A workspace on a temporary program folder; ports open to nothing, and
/// every path asked for is recorded.
class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest()
      : port(link,
             [this](const std::string& path) -> std::shared_ptr<BytePort> {
               openedPaths.push_back(path);
               return nullptr;
             }),
        ws(dir.path(), prompts, progress, warning, link, port) {}

  std::filesystem::path BasePath(int channel) const {
    return dir.path() / "Base" / ("Base" + std::to_string(channel) + ".bsd");
  }

  TempDir dir;
  ScriptedPrompts prompts;
  RecordingProgress progress;
  ScriptedWarning warning;
  Link link;
  std::vector<std::string> openedPaths;
  PortSetup port;
  Workspace ws;
};

}  // namespace zel::testing
