#include "base/message_tables.h"

#include "base/system_error_text.h"

namespace kv {

MessageTables MessageTables::FromStrings(const StringTable& strings) {
  MessageTables tables;
  for (std::uint32_t i = 0; i < kMessageTableSize; ++i) {
    tables.main[i] = strings.Get(kFirstMainMessageId + i);
    tables.detail[i] = strings.Get(kFirstDetailMessageId + i);
  }
  for (std::uint32_t i = 0; i < tables.frame.size(); ++i) {
    tables.frame[i] = strings.Get(kFirstFrameTextId + i);
  }
  tables.unknown_failure = strings.Get(kUnknownFailureId);
  for (std::uint32_t id = kSystemErrorCodeMessageId; id <= kLastReasonTextId; ++id) {
    if (strings.Contains(id)) tables.reasons.Set(id, strings.Get(id));
  }
  for (std::uint32_t id = kFirstExportReasonId; id <= kLastExportReasonId; ++id) {
    if (strings.Contains(id)) tables.reasons.Set(id, strings.Get(id));
  }
  return tables;
}

}  // namespace kv
