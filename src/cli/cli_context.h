#ifndef KORVALE_CLI_CLI_CONTEXT_H_
#define KORVALE_CLI_CLI_CONTEXT_H_

// What every kvmap command shares: the language strings and the error
// reporting, which prints to standard error in place of a message box.

#include <cstdint>
#include <functional>
#include <iosfwd>

#include "base/error_display.h"
#include "base/error_reporter.h"
#include "base/message_tables.h"
#include "base/string_table.h"

namespace kv::cli {

// "kvmap: error 0x20000006: " followed by the main and detail texts.
class StderrErrorDisplay final : public ErrorDisplay {
 public:
  explicit StderrErrorDisplay(std::ostream& out) : out_(out) {}
  void ShowErrorBox(const ErrorBox& box) noexcept override;

 private:
  std::ostream& out_;
};

struct CliContext {
  // Errors and notices go to `errors`: standard error, or a buffer for a
  // map of a batch, which prints them when it is over.
  explicit CliContext(StringTable language);
  CliContext(StringTable language, std::ostream& errors);

  StringTable strings;
  std::ostream& errors;
  MessageTables tables;
  StderrErrorDisplay display;
  ErrorReporter reporter;
};

// Runs a command body at the one place where kvmap catches failures: they
// are reported with the context string `context_id` and give exit code 1.
int RunReported(CliContext& context, std::uint32_t context_id, const std::function<void()>& body);

}  // namespace kv::cli

#endif  // KORVALE_CLI_CLI_CONTEXT_H_
