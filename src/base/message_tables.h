#ifndef KORVALE_BASE_MESSAGE_TABLES_H_
#define KORVALE_BASE_MESSAGE_TABLES_H_

// The texts that error reporting composes its messages from, loaded once
// from the language strings.

#include <array>
#include <cstdint>
#include <string>

#include "base/error_codes.h"
#include "base/string_ids.h"
#include "base/string_table.h"

namespace kv {

// String IDs of the contexts that head an error message.
inline constexpr std::uint32_t kContextOpen = 1000;
inline constexpr std::uint32_t kContextSave = 1001;
inline constexpr std::uint32_t kContextInstall = 1002;
inline constexpr std::uint32_t kContextImport = 1003;
inline constexpr std::uint32_t kContextColourDepth = 1005;
inline constexpr std::uint32_t kContextPocketPcCopy = 2082;

struct MessageTables {
  // Entry i belongs to code kProgramErrorBit + i; each is a format whose one
  // argument ("%s") is the file name.
  std::array<std::string, kMessageTableSize> main;
  std::array<std::string, kMessageTableSize> detail;
  // Before the context, between context and message, between message and
  // detail.
  std::array<std::string, 3> frame;
  std::string unknown_failure;
  // Reasons and system errors in words (the strings of failure_reason.h and
  // system_error_text.h).
  StringTable reasons;

  static MessageTables FromStrings(const StringTable& strings);
};

}  // namespace kv

#endif  // KORVALE_BASE_MESSAGE_TABLES_H_
