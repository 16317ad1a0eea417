#ifndef KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_
#define KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_

// String IDs of the document's own texts, and the English texts used when
// a language file lacks them.

#include <cstdint>
#include <string>

#include "base/string_table.h"

namespace kv {

inline constexpr std::uint32_t kDefaultDocumentNameId = 1028;
inline constexpr std::uint32_t kSaveChangesQuestionId = 1029;
inline constexpr std::uint32_t kCaptionTextId = 1030;
inline constexpr std::uint32_t kReplaceCalibrationQuestionId = 2085;
inline constexpr std::uint32_t kNegativeLettersId = 2052;
// Why an empty map is neither saved nor installed.
inline constexpr std::uint32_t kEmptyMapMessageId = 2250;
// The image counts a smaller scale would give a map with too many images.
inline constexpr std::uint32_t kSmallerScaleCountsId = 2350;

// Status line and previewer totals.
inline constexpr std::uint32_t kOneEntryWordId = 1039;
inline constexpr std::uint32_t kEntriesWordId = 1040;
inline constexpr std::uint32_t kBytesUnitId = 1041;
inline constexpr std::uint32_t kKilobytesUnitId = 1042;
inline constexpr std::uint32_t kEmptySizeTextId = 1043;

// The text of `id`, or the built-in English one when the table has none.
std::string DocumentText(const StringTable& strings, std::uint32_t id);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_DOCUMENT_TEXTS_H_
