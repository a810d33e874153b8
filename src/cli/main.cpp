// Program entry of zelbase-cli.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/session.h"

namespace {

int Run(const std::vector<std::string>& args) {
  using namespace zel::cli;
  const CliArgs cli = ParseCliArgs(args);
  if (cli.help) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitOk;
  }
  if (!cli.error.empty()) {
    std::fprintf(stderr, "zelbase-cli: %s\nTry 'zelbase-cli --help'.\n", cli.error.c_str());
    return kExitUsage;
  }
  InstallInterruptHandler();
  Console console(StderrIsTerminal());
  SessionPlan plan;
  if (const int code = PlanSession(cli, console, plan); code != kExitOk) return code;
  Session session(plan, console);
  if (const int code = session.Start(cli); code != kExitOk) return code;
  return RunCommand(session, cli);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelbase-cli: unexpected error: %s\n", e.what());
  } catch (...) {
    std::fputs("zelbase-cli: unexpected error\n", stderr);
  }
  return zel::cli::kExitFailure;
}
