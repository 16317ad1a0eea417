#ifndef KORVALE_DOCUMENT_LIST_TOTALS_TEXT_H_
#define KORVALE_DOCUMENT_LIST_TOTALS_TEXT_H_

// The totals of a map's entries as the user reads them: the status lines
// of the image list and the image view ("3 images, 12 KB") and the size
// label of the previewer ("Size: 12KB (3 tiles)"). Words and units come
// from the language file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/string_table.h"

namespace kv {

class ImageListModel;

// A byte count as a number and its unit: nothing shows the "nothing" text
// with the kilobyte unit, more than 2 kilobytes (rounded) show kilobytes,
// anything else the bytes.
struct SizeTexts {
  std::string number;
  std::string unit;
};
SizeTexts SizeTextsFor(const StringTable& strings, std::uint64_t bytes);

// The status line: kListTotalsFormatId with the count, its singular or plural
// word, the size and its unit.
std::string ListTotalsText(const StringTable& strings, std::size_t entries, std::uint64_t bytes);
std::string ListTotalsText(const StringTable& strings, const ImageListModel& list);

// The previewer's size label: its label text, the size glued to its unit,
// and the number of entries, in the language's words.
std::string PreviewerSizeText(const StringTable& strings, std::size_t entries, std::uint64_t bytes);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_LIST_TOTALS_TEXT_H_
