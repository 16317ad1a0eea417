#include "base/error_reporter.h"

#include <new>
#include <string>

#include "base/system_error_text.h"
#include "base/utf8_cut.h"

namespace kv {

namespace {

// Messages were formatted into 256-byte buffers; longer ones are cut there.
constexpr std::size_t kMaxMessageBytes = 255;

}  // namespace

std::string FormatMessageText(std::string_view format, std::string_view argument) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        out += argument;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  out = CutUtf8(out, kMaxMessageBytes);
  return out;
}

void ErrorReporter::ShowErrorBox(std::string_view context, std::string_view message,
                                 std::string_view extra1, std::string_view extra2,
                                 ErrorCode code) noexcept {
  try {
    ErrorBox box;
    box.code = code;
    box.context = context;
    box.message = message;
    box.extra1 = extra1;
    box.extra2 = extra2;
    box.text = tables_.frame[0] + box.context + tables_.frame[1] + box.message + tables_.frame[2] +
               box.extra1 + box.extra2;
    display_.ShowErrorBox(box);
  } catch (...) {
    // Out of memory while composing: nothing more can be shown.
  }
}

std::string ErrorReporter::ReasonLine(const FailureReason& reason) const {
  const std::string& words = tables_.reasons.Get(reason.text_id);
  std::string line = reason.text_id != 0 && !words.empty() ? FormatMessageText(words, reason.text)
                                                           : std::string(reason.text);
  if (reason.system_error != 0) {
    const std::string system = DescribeSystemError(tables_.reasons, reason.system_error);
    line = line.empty() ? system : line + ": " + system;
  }
  return line;
}

void ErrorReporter::ReportError(std::string_view context, ErrorCode code, const char* file_name,
                                std::string_view reason) noexcept {
  ReportError(context, code, file_name, FailureReason{reason});
}

void ErrorReporter::ReportError(std::string_view context, ErrorCode code, const char* file_name,
                                const FailureReason& failure_reason) noexcept {
  if (code == 0 || code == kErrAlreadyReported) return;
  try {
    if ((code & kProgramErrorBit) == 0) {
      const std::string number = std::to_string(static_cast<std::int32_t>(code));
      std::string message =
          FormatMessageText(tables_.reasons.Get(kSystemErrorCodeMessageId), number);
      if (message.empty()) message = number;
      ShowErrorBox(context, message, {}, {}, code);
      return;
    }
    const std::uint32_t index = code & ~kProgramErrorBit;
    std::string main_text;
    std::string detail_text;
    if (index < kMessageTableSize) {
      std::string_view name = file_name != nullptr ? file_name : "";
      main_text = FormatMessageText(tables_.main[index], name);
      detail_text = FormatMessageText(tables_.detail[index], name);
    }
    // Beside the formatted text, so that a long file name cannot cut it off.
    const std::string reason = ReasonLine(failure_reason);
    if (!reason.empty()) main_text += (main_text.empty() ? "" : "\n") + std::string(reason);
    ShowErrorBox(context, main_text, detail_text, {}, code);
  } catch (...) {
  }
}

void ErrorReporter::ReportException(const LException& error, std::string_view context) noexcept {
  ReportError(context, error.code(), error.file_name(),
              FailureReason{error.reason(), error.reason_id(), error.system_error()});
}

void ErrorReporter::ReportStdException(const std::exception& error,
                                       std::string_view context) noexcept {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    ReportError(context, kErrBadAlloc, "");
    return;
  }
  ShowErrorBox(context, error.what());
}

void ErrorReporter::ReportUnknownFailure(std::string_view context) noexcept {
  ShowErrorBox(context, tables_.unknown_failure);
}

}  // namespace kv
