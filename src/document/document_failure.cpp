#include "document/document_failure.h"

#include <new>
#include <stdexcept>

#include "base/exceptions.h"

namespace kv {

bool CaptureFailure(const std::function<void()>& body, std::string_view unnamed_file,
                    DocumentFailure* failure) {
  try {
    body();
    return true;
  } catch (const LException& error) {
    failure->kind = FailureKind::kProgram;
    failure->code = error.code();
    // Decoders may leave an empty name behind; that names no file either.
    const char* name = error.file_name();
    failure->file_name = name != nullptr && *name != '\0' ? name : std::string(unnamed_file);
    failure->reason = error.reason() != nullptr ? error.reason() : "";
    failure->reason_id = error.reason_id();
    failure->system_error = error.system_error();
  } catch (const std::bad_alloc&) {
    failure->kind = FailureKind::kProgram;
    failure->code = kErrBadAlloc;
    failure->file_name.clear();
  } catch (const std::exception& error) {
    failure->kind = FailureKind::kStandard;
    failure->code = kErrUnknown;
    failure->description = error.what();
  } catch (...) {
    failure->kind = FailureKind::kUnknown;
    failure->code = kErrUnknown;
  }
  return false;
}

void ReportDocumentFailure(ErrorReporter& reporter, std::string_view context,
                           const DocumentFailure& failure) noexcept {
  switch (failure.kind) {
    case FailureKind::kProgram:
      reporter.ReportError(context, failure.code,
                           failure.file_name.empty() ? nullptr : failure.file_name.c_str(),
                           FailureReason{failure.reason, failure.reason_id, failure.system_error});
      break;
    case FailureKind::kStandard:
      try {
        reporter.ReportStdException(std::runtime_error(failure.description), context);
      } catch (...) {
        reporter.ReportUnknownFailure(context);
      }
      break;
    case FailureKind::kUnknown:
      reporter.ReportUnknownFailure(context);
      break;
  }
}

}  // namespace kv
