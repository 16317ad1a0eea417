#ifndef KORVALE_BASE_ERROR_REPORTER_H_
#define KORVALE_BASE_ERROR_REPORTER_H_

// Turns failures into one error message each. Command handlers catch, in
// this order, LException, std::exception and anything else, and report with
// the matching operation and the context of what the user was doing.
// Reporting never throws.

#include <exception>
#include <string>
#include <string_view>

#include "base/error_display.h"
#include "base/exceptions.h"
#include "base/failure_reason.h"
#include "base/message_tables.h"

namespace kv {

class ErrorReporter {
 public:
  ErrorReporter(const MessageTables& tables, ErrorDisplay& display)
      : tables_(tables), display_(display) {}

  // The box text: frame 1, context, frame 2, message, frame 3, extra 1,
  // extra 2.
  void ShowErrorBox(std::string_view context, std::string_view message,
                    std::string_view extra1 = {}, std::string_view extra2 = {},
                    ErrorCode code = kErrUnknown) noexcept;

  // Nothing for 0 and kErrAlreadyReported; a system error number for codes
  // without the program bit; else the main and detail texts of the code,
  // each formatted with the file name. A reason goes on its own line after
  // the main text.
  void ReportError(std::string_view context, ErrorCode code, const char* file_name,
                   std::string_view reason = {}) noexcept;
  void ReportError(std::string_view context, ErrorCode code, const char* file_name,
                   const FailureReason& reason) noexcept;
  void ReportException(const LException& error, std::string_view context) noexcept;
  // Out of memory reads as ErrBadAlloc; anything else shows its description.
  void ReportStdException(const std::exception& error, std::string_view context) noexcept;
  void ReportUnknownFailure(std::string_view context) noexcept;

 private:
  // The reason line in the user's language; "" when there is none.
  std::string ReasonLine(const FailureReason& reason) const;

  const MessageTables& tables_;
  ErrorDisplay& display_;
};

// Replaces each "%s" of `format` with `argument` and each "%%" with "%"; any
// other "%" stays as it is. The result is cut to 255 bytes, never inside a
// UTF-8 sequence.
std::string FormatMessageText(std::string_view format, std::string_view argument);

}  // namespace kv

#endif  // KORVALE_BASE_ERROR_REPORTER_H_
