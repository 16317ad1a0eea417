#include "base/message_tables.h"

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
  return tables;
}

}  // namespace kv
