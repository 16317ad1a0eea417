#ifndef KORVALE_CLI_COMMANDS_H_
#define KORVALE_CLI_COMMANDS_H_

// Each kvmap command registers itself on the application. A command's
// callback stores its exit code in `*exit_code`.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace kv::cli {

void AddPdbCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddCoordCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddInfoCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddCalibrationCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddConvertCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddRenderCommands(CLI::App& app, CliContext& context, int* exit_code);
void AddRecodeCommand(CLI::App& app, CliContext& context, int* exit_code);
void AddInstallCommand(CLI::App& app, CliContext& context, int* exit_code);

}  // namespace kv::cli

#endif  // KORVALE_CLI_COMMANDS_H_
