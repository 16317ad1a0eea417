#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/language_folders.h"

int main(int argc, char** argv) {
  kv::cli::CliContext context(kv::LoadLanguage("EN", kv::cli::LanguageFolders(argv[0])));
  CLI::App app{"kvmap: Korvale Map Manager on the command line", "kvmap"};
  app.require_subcommand(1);
  int exit_code = 0;
  kv::cli::AddPdbCommand(app, context, &exit_code);
  CLI11_PARSE(app, argc, argv);
  return exit_code;
}
