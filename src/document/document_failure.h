#ifndef KORVALE_DOCUMENT_DOCUMENT_FAILURE_H_
#define KORVALE_DOCUMENT_DOCUMENT_FAILURE_H_

// A failure caught by a document command, in a form that outlives the
// exception: the user interface shows it with the command's context.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/error_codes.h"
#include "base/error_reporter.h"

namespace kv {

enum class FailureKind {
  kProgram,   // an LException (out of memory reads as ErrBadAlloc)
  kStandard,  // another std::exception
  kUnknown,   // anything else
};

struct DocumentFailure {
  FailureKind kind = FailureKind::kUnknown;
  ErrorCode code = kErrUnknown;
  std::string file_name;        // empty when the failure names no file
  std::string description;      // what() of a standard exception
  std::string reason;           // why a file was refused; empty when not known
  std::uint32_t reason_id = 0;  // a language string with `reason` as its argument
  int system_error = 0;         // the system's error number (errno); 0 for none
};

// Runs `body`; a failure becomes `*failure` and the result false. An
// LException without a file name gets `unnamed_file` when that is not empty.
bool CaptureFailure(const std::function<void()>& body, std::string_view unnamed_file,
                    DocumentFailure* failure);

// Shows the failure through the reporter the way a command handler would
// have reported the exception itself; ErrAlreadyReported shows nothing.
void ReportDocumentFailure(ErrorReporter& reporter, std::string_view context,
                           const DocumentFailure& failure) noexcept;

}  // namespace kv

#endif  // KORVALE_DOCUMENT_DOCUMENT_FAILURE_H_
