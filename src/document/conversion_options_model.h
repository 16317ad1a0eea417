#ifndef KORVALE_DOCUMENT_CONVERSION_OPTIONS_MODEL_H_
#define KORVALE_DOCUMENT_CONVERSION_OPTIONS_MODEL_H_

// What the conversion options dialog shows when it opens and what its OK
// makes of the user's choice: the map name, the scale, the colour depth and
// compression. The dialog only maps its controls to these fields.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "bitmap/conversion_context.h"

namespace kv {

// A list entry that is not selected.
inline constexpr int kNoListEntry = -1;

struct DepthListEntry {
  int depth;
  std::uint32_t name_id;  // string resource of the entry's text
};

// The depth list in the order the dialog shows it.
const std::array<DepthListEntry, 5>& DepthListEntries();
// The scale list: texts and the ratios they stand for, full size first.
const std::array<std::string_view, 3>& ScaleListTexts();

struct ConversionOptionsFields {
  std::string map_name;
  int scale_entry = 0;
  int depth_entry = 0;
  bool compress = false;
};

// The fields on opening. The scale always starts at full size, whatever was
// chosen for the previous import; a depth the list does not hold shows the
// first entry.
ConversionOptionsFields OpenConversionOptions(const std::string& map_name,
                                              const ConversionSettings& settings);

// OK: the name is cut to what the map's name field holds (never inside a
// UTF-8 character); an unselected scale keeps the current one, an
// unselected depth gives 8 bits.
void AcceptConversionOptions(const ConversionOptionsFields& fields, std::string* map_name,
                             ConversionSettings* settings);

// The longest start of `name` that fits the map's name field.
std::string FittedMapName(const std::string& name);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CONVERSION_OPTIONS_MODEL_H_
