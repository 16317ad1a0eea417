#include "cli/cli_context.h"

#include <cstdio>
#include <iostream>

namespace kv::cli {

void StderrErrorDisplay::ShowErrorBox(const ErrorBox& box) noexcept {
  try {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(box.code));
    out_ << "kvmap: error " << code << ": " << box.message;
    if (!box.extra1.empty()) out_ << '\n' << box.extra1;
    if (!box.extra2.empty()) out_ << '\n' << box.extra2;
    out_ << std::endl;
  } catch (...) {
  }
}

CliContext::CliContext(StringTable language)
    : strings(std::move(language)),
      tables(MessageTables::FromStrings(strings)),
      display(std::cerr),
      reporter(tables, display) {}

int RunReported(CliContext& context, std::uint32_t context_id, const std::function<void()>& body) {
  const std::string& context_text = context.strings.Get(context_id);
  try {
    body();
    return 0;
  } catch (const LException& error) {
    context.reporter.ReportException(error, context_text);
  } catch (const std::exception& error) {
    context.reporter.ReportStdException(error, context_text);
  } catch (...) {
    context.reporter.ReportUnknownFailure(context_text);
  }
  return 1;
}

}  // namespace kv::cli
