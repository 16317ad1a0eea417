#ifndef KORVALE_BASE_FAILURE_REASON_H_
#define KORVALE_BASE_FAILURE_REASON_H_

// The line under an error message that says why it failed: the program's own
// words (a language string with one argument, or a text the layer that found
// out wrote) and the operating system's error number, which the reporter
// words in the user's language.

#include <cstdint>
#include <string_view>

#include "base/string_ids.h"

namespace kv {

struct FailureReason {
  std::string_view text;      // the words, or the argument of `text_id`
  std::uint32_t text_id = 0;  // 0: `text` is the words themselves
  int system_error = 0;       // errno; 0 when the system gave none

  bool empty() const { return text.empty() && text_id == 0 && system_error == 0; }
};

}  // namespace kv

#endif  // KORVALE_BASE_FAILURE_REASON_H_
