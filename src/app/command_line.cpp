#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace zel {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// "/RegServer" or "-regserver" -> "REGSERVER"; anything else -> "".
std::string SwitchName(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-') || arg[1] == '-') return {};
  return Upper(arg.substr(1));
}

constexpr std::array<std::pair<const char*, AutomationSwitch>, 4> kSwitches = {{
    {"AUTOMATION", AutomationSwitch::Automation},
    {"EMBEDDING", AutomationSwitch::Embedding},
    {"REGSERVER", AutomationSwitch::RegServer},
    {"UNREGSERVER", AutomationSwitch::UnregServer},
}};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::vector<std::string> switches;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--demo") {
      cl.demo = true;
    } else if (a == "--data-dir") {
      if (i + 1 >= args.size()) {
        cl.error = "--data-dir needs a folder";
        return cl;
      }
      cl.dataDir = args[++i];
    } else if (a.rfind("--data-dir=", 0) == 0) {
      cl.dataDir = a.substr(11);
    } else if (a == "--trace") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        cl.error = "--trace needs a file";
        return cl;
      }
      cl.traceFile = args[++i];
    } else if (a.rfind("--trace=", 0) == 0 && a.size() > 8) {
      cl.traceFile = a.substr(8);
    } else if (const std::string name = SwitchName(a); !name.empty()) {
      switches.push_back(name);
    } else {
      cl.error = "unknown argument: " + a;
      return cl;
    }
  }
  for (const auto& [name, value] : kSwitches) {
    if (std::find(switches.begin(), switches.end(), name) != switches.end()) {
      cl.automation = value;
      break;
    }
  }
  return cl;
}

std::string UsageText() {
  return "Usage: zelbase [--data-dir DIR] [--demo] [--trace FILE] "
         "[/AUTOMATION | /EMBEDDING | /REGSERVER | /UNREGSERVER]\n";
}

}  // namespace zel
