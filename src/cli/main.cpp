#include <iostream>

#include "base/file_size_signal.h"
#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/language_folders.h"

namespace {

// Usage mistakes are not failures of the work itself: CLI11 words them, and
// the exit status is 2 so that scripts can tell them apart.
constexpr int kUsageExitCode = 2;

}  // namespace

int main(int argc, char** argv) {
  kv::IgnoreFileSizeSignal();
  kv::cli::CliContext context(kv::LoadLanguage("EN", kv::cli::LanguageFolders(argv[0])));
  CLI::App app{"kvmap: Korvale Map Manager on the command line", "kvmap"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "kvmap " KORVALE_VERSION);
  int exit_code = 0;
  kv::cli::AddPdbCommand(app, context, &exit_code);
  kv::cli::AddCoordCommand(app, context, &exit_code);
  kv::cli::AddInfoCommand(app, context, &exit_code);
  kv::cli::AddCalibrationCommand(app, context, &exit_code);
  kv::cli::AddConvertCommand(app, context, &exit_code);
  kv::cli::AddRenderCommands(app, context, &exit_code);
  kv::cli::AddRecodeCommand(app, context, &exit_code);
  kv::cli::AddInstallCommand(app, context, &exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    std::cerr << "kvmap: " << error.what() << "\nRun 'kvmap --help' for more information.\n";
    return kUsageExitCode;
  }
  return exit_code;
}
