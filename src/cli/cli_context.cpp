#include "cli/cli_context.h"

#include <cstdio>
#include <iostream>

#include "document/document_failure.h"

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

CliContext::CliContext(StringTable language) : CliContext(std::move(language), std::cerr) {}

CliContext::CliContext(StringTable language, std::ostream& error_stream)
    : strings(std::move(language)),
      errors(error_stream),
      tables(MessageTables::FromStrings(strings)),
      display(error_stream),
      reporter(tables, display) {}

int RunReported(CliContext& context, std::uint32_t context_id, const std::function<void()>& body) {
  DocumentFailure failure;
  if (CaptureFailure(body, {}, &failure)) return 0;
  ReportDocumentFailure(context.reporter, context.strings.Get(context_id), failure);
  return 1;
}

}  // namespace kv::cli
