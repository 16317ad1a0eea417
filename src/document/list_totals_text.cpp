#include "document/list_totals_text.h"

#include "base/string_ids.h"
#include "document/document_texts.h"
#include "document/image_list_model.h"
#include "document/language_format.h"
#include "document/pane_texts.h"

namespace kv {

SizeTexts SizeTextsFor(const StringTable& strings, std::uint64_t bytes) {
  const SizeDisplay shown = DisplaySize(bytes);
  switch (shown.unit) {
    case SizeUnit::kNothing:
      return {DocumentText(strings, kEmptySizeTextId), DocumentText(strings, kKilobytesUnitId)};
    case SizeUnit::kKilobytes:
      return {std::to_string(shown.value), DocumentText(strings, kKilobytesUnitId)};
    case SizeUnit::kBytes:
      break;
  }
  return {std::to_string(shown.value), DocumentText(strings, kBytesUnitId)};
}

std::string ListTotalsText(const StringTable& strings, std::size_t entries, std::uint64_t bytes) {
  const SizeTexts size = SizeTextsFor(strings, bytes);
  const std::uint32_t word = entries == 1 ? kOneEntryWordId : kEntriesWordId;
  return FormatLanguageText(
      DocumentText(strings, kListTotalsFormatId),
      {std::to_string(entries), DocumentText(strings, word), size.number, size.unit});
}

std::string ListTotalsText(const StringTable& strings, const ImageListModel& list) {
  return ListTotalsText(strings, list.count(), list.TotalBytes());
}

std::string PreviewerSizeText(const StringTable& strings, std::size_t entries,
                              std::uint64_t bytes) {
  const SizeTexts size = SizeTextsFor(strings, bytes);
  return FormatLanguageText(
      DocumentText(strings, kPreviewerSizeFormatId),
      {DocumentText(strings, kSizeLabelId), size.number, size.unit, std::to_string(entries)});
}

}  // namespace kv
