#include "cli/session.h"

#include <system_error>

#include "base/active_device.h"
#include "base/base_ops.h"
#include "base/program_folder.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"

namespace zel::cli {
namespace {

int ResolveFolder(const CliArgs& args, Console& console, SessionPlan& plan) {
  if (args.dataDir.empty()) {
    plan.folder = args.demo ? DemoDataFolder() : DefaultProgramFolder(ExecutableFolder());
    return kExitOk;
  }
  // A folder that does not exist yet is a new user's first run: it is made below.
  std::error_code ec;
  if (std::filesystem::exists(args.dataDir, ec) &&
      !std::filesystem::is_directory(args.dataDir, ec)) {
    console.Note("zelbase-cli: --data-dir " + args.dataDir + " is not a folder");
    return kExitUsage;
  }
  plan.folder = std::filesystem::absolute(args.dataDir, ec);
  if (ec) plan.folder = args.dataDir;
  return kExitOk;
}

int PrepareFolder(const SessionPlan& plan, Console& console) {
  std::string error;
  if (plan.demo) {
    if (PrepareDemoFolder(plan.folder, error)) return kExitOk;
    console.Note("zelbase-cli: " + error);
    return kExitFailure;
  }
  if (MakeProgramFolder(plan.folder, error)) return kExitOk;
  console.Note("zelbase-cli: " + error);
  return kExitFailure;
}

// In the demo every COM choice is the demo line; otherwise only "sim" is.
PortOpener MakeOpener(const SessionPlan& plan, std::shared_ptr<SimulatedLine> line) {
  if (!plan.demo) return DefaultPortOpener(std::move(line), plan.trace);
  return [line, trace = plan.trace](const std::string& path) -> std::shared_ptr<BytePort> {
    if (!trace) return line;
    return std::make_shared<SpyPort>(line, trace, path);
  };
}

}  // namespace

int PlanSession(const CliArgs& args, Console& console, SessionPlan& plan) {
  plan.demo = args.demo;
  if (const int code = ResolveFolder(args, console, plan); code != kExitOk) return code;
  if (const int code = PrepareFolder(plan, console); code != kExitOk) return code;
  if (args.traceFile.empty()) return kExitOk;
  std::string problem;
  plan.trace = TraceLog::OpenFile(args.traceFile, &problem);
  if (plan.trace) return kExitOk;
  console.Note("zelbase-cli: " + problem);
  return kExitFailure;
}

Session::Session(const SessionPlan& plan, Console& console)
    : console(console),
      line(std::make_shared<SimulatedLine>(clock)),
      port(link, MakeOpener(plan, line)),
      prompts(console),
      progress(console),
      ws(plan.folder, prompts, progress, warning, link, port),
      settings(plan.folder) {
  SeedDemoNetwork(*line);
  // Before the operation, and not counted as one of its messages.
  port.showLineProblem = [this](const std::string& text) {
    this->console.Note("zelbase-cli: " + text);
  };
  progress.AttachRun(ws.run);
  // Waits for device bytes look at Ctrl-C, as the window's waits run events.
  link.SetEventPump([this] { progress.ProcessEvents(); });
}

Session::~Session() {
  port.ResetPort();
}

int Session::Start(const CliArgs& args) {
  settings.Load(ws);
  if (args.channel) {
    if (const int code = SelectChannel(*args.channel); code != kExitOk) return code;
  }
  return args.rangeGiven ? ConfirmRangeOfRun(args) : kExitOk;
}

int Session::SelectChannel(int n) {
  const int shown = prompts.ShownCount();
  if (!ActivateChannelForServer(ws, n)) {
    console.Note("zelbase-cli: channel " + std::to_string(n) + " is switched off in the settings");
    return kExitUsage;
  }
  // Loading the channel's base file is all that can go wrong here.
  return prompts.ShownCount() == shown ? kExitOk : kExitFailure;
}

int Session::ConfirmRangeOfRun(const CliArgs& args) {
  ws.range.SetStartText(args.rangeFirst);
  ws.range.SetEndText(args.rangeLast);
  const int shown = prompts.ShownCount();
  if (!ConfirmRange(ws)) return kExitUsage;  // the range message was shown
  return prompts.ShownCount() == shown ? kExitOk : kExitFailure;
}

}  // namespace zel::cli
