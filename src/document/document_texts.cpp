#include "document/document_texts.h"

namespace kv {

std::string DocumentText(const StringTable& strings, std::uint32_t id) {
  if (!strings.Get(id).empty()) return strings.Get(id);
  // A language file without this text: the program's own English one.
  static const StringTable kEnglish = StringTable::Parse(BuiltInEnglishText());
  return kEnglish.Get(id);
}

}  // namespace kv
