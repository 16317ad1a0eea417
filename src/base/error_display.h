#ifndef KORVALE_BASE_ERROR_DISPLAY_H_
#define KORVALE_BASE_ERROR_DISPLAY_H_

// Where error messages go: a message box in the desktop program, standard
// error in kvmap, a recorder in tests.

#include <string>

#include "base/error_codes.h"

namespace kv {

inline constexpr const char* kErrorBoxCaption = "Error";

struct ErrorBox {
  // The code being reported; kErrUnknown for failures that have none.
  ErrorCode code = kErrUnknown;
  std::string context;
  std::string message;
  std::string extra1;
  std::string extra2;
  // The whole text of the box, framed as the language strings say.
  std::string text;
};

class ErrorDisplay {
 public:
  virtual ~ErrorDisplay() = default;
  // Must not throw.
  virtual void ShowErrorBox(const ErrorBox& box) noexcept = 0;
};

}  // namespace kv

#endif  // KORVALE_BASE_ERROR_DISPLAY_H_
