#ifndef KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_
#define KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_

// String IDs of the document's own texts, and the English texts used when
// a language file lacks them.

#include <cstdint>
#include <string>

#include "base/string_ids.h"
#include "base/string_table.h"

namespace kv {

// The text of `id`, or the built-in English one when the table has none.
std::string DocumentText(const StringTable& strings, std::uint32_t id);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_
