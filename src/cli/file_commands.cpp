// export, import.
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "exchange/export_run.h"
#include "exchange/import_run.h"

namespace zel::cli {

int FilterIndexOf(const FileDialogState& dialog, const std::string& ext) {
  for (std::size_t i = 0; i < dialog.filters.size(); ++i) {
    if (dialog.filters[i].ext == ext) return static_cast<int>(i);
  }
  return -1;
}

void NoteWrittenName(Session& s, const std::string& given, const std::string& written) {
  if (written != given) s.console.Note("zelbase-cli: file name completed to " + written);
}

int RunExport(Session& s, const CliArgs& args) {
  const std::string format = ChosenFormat(args, {"csv", "txt", "zlb"});
  if (format.empty()) {
    s.console.Note("zelbase-cli: export needs --format csv, txt or zlb, or a file ending in one");
    return kExitUsage;
  }
  if (!BeginExport(s.ws)) return kExitUsage;  // the range message was shown
  FileDialogState dialog = ExportDialog();
  const OperationWatch watch(s);
  const bool ok = ExportToFile(s.ws, dialog, args.file, FilterIndexOf(dialog, format));
  NoteWrittenName(s, args.file, dialog.fileName);
  return watch.ExitCode(ok);
}

int RunImport(Session& s, const CliArgs& args) {
  CliImportHost host(s.console);
  if (!BeginImport(s.ws, host)) return kExitUsage;  // the range message was shown
  const OperationWatch watch(s);
  if (ChosenFormat(args, {"zlb"}) == "zlb") {
    return watch.ExitCode(ImportFromFile(s.ws, host, args.file, int(ImportFormat::ZelBase)));
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(args.file, ec)) {
    // The import itself tells the operator the file is missing.
    return watch.ExitCode(ImportFromFile(s.ws, host, args.file, int(ImportFormat::Text)));
  }
  const TextImportResult result = RunTextImport(s.ws, host, args.file);
  if (const int code = watch.ExitCode(!result.failed && !result.stopped); code != kExitOk) {
    return code;
  }
  // Lines that did not get in are the file's fault, as a bad range is ours.
  return result.errors > 0 || result.reachedEnd ? kExitUsage : kExitOk;
}

}  // namespace zel::cli
