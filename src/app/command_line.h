// The program's command line: data folder, demo line and automation switches.
#pragma once

#include <string>
#include <vector>

namespace zel {

enum class AutomationSwitch { None, RegServer, UnregServer, Automation, Embedding };

struct CommandLine {
  std::string dataDir;    ///< empty: the folder of the executable
  bool demo = false;      ///< run on the built-in virtual device line
  std::string traceFile;  ///< non-empty: trace every port's traffic into this file
  AutomationSwitch automation = AutomationSwitch::None;
  std::string error;  ///< non-empty when the arguments are not understood
};

/// Parses argv[1..]. Automation switches take a leading '-' or '/', any
/// letter case; when several are given, the first in the order AUTOMATION,
/// EMBEDDING, REGSERVER, UNREGSERVER wins.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

/// Usage text for --help and for errors.
std::string UsageText();

}  // namespace zel
