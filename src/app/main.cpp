// Program entry. For now: parse the command line, open the port, report.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "link/link.h"
#include "link/port_setup.h"
#include "sim/simulated_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(zel::UsageText().c_str(), stdout);
    return 0;
  }
  const zel::CommandLine cl = zel::ParseCommandLine(args);
  if (!cl.error.empty()) {
    std::fprintf(stderr, "zelbase: %s\n%s", cl.error.c_str(), zel::UsageText().c_str());
    return 2;
  }
  if (cl.automation != zel::AutomationSwitch::None) {
    std::fputs("zelbase: the automation server is not available yet\n", stderr);
    return 2;
  }

  zel::SteadyClock clock;
  auto simLine = std::make_shared<zel::SimulatedLine>(clock);
  zel::Link link;
  zel::PortSetup setup(link, zel::DefaultPortOpener(simLine));
  if (cl.demo) setup.comPaths[0] = "sim";
  setup.OpenAtStartup();
  std::printf("zelbase: port %s %s\n", setup.CurrentPath().c_str(),
              link.PortValid() ? "opened" : "could not be opened");
  setup.ResetPort();
  return 0;
}
