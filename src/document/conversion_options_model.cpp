#include "document/conversion_options_model.h"

#include "base/string_ids.h"
#include "base/utf8_cut.h"
#include "map/map_layout.h"

namespace kv {

namespace {

constexpr int kDepthWithoutSelection = 8;

// Output pixels per source pixel of each scale entry.
constexpr std::array<ScaleRatio, 3> kScaleRatios = {{{1, 1}, {1, 2}, {1, 4}}};

// The entry's index in a list of `size`, or none.
bool EntryIndex(int entry, std::size_t size, std::size_t* index) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= size) return false;
  *index = static_cast<std::size_t>(entry);
  return true;
}

}  // namespace

const std::array<DepthListEntry, 5>& DepthListEntries() {
  static constexpr std::array<DepthListEntry, 5> kEntries = {{{16, kSixteenBitsNameId},
                                                              {8, kEightBitsNameId},
                                                              {4, kFourBitsNameId},
                                                              {2, kTwoBitsNameId},
                                                              {1, kOneBitNameId}}};
  return kEntries;
}

const std::array<std::string_view, 3>& ScaleListTexts() {
  static constexpr std::array<std::string_view, 3> kTexts = {"100%", "50%", "25%"};
  return kTexts;
}

ConversionOptionsFields OpenConversionOptions(const std::string& map_name,
                                              const ConversionSettings& settings) {
  ConversionOptionsFields fields;
  fields.map_name = map_name;
  fields.scale_entry = 0;
  fields.depth_entry = 0;
  const auto& depths = DepthListEntries();
  for (std::size_t i = 0; i < depths.size(); ++i) {
    if (depths[i].depth == settings.colourDepth) fields.depth_entry = static_cast<int>(i);
  }
  fields.compress = settings.compressBitmaps;
  return fields;
}

void AcceptConversionOptions(const ConversionOptionsFields& fields, std::string* map_name,
                             ConversionSettings* settings) {
  *map_name = FittedMapName(fields.map_name);
  std::size_t index = 0;
  if (EntryIndex(fields.scale_entry, kScaleRatios.size(), &index)) {
    settings->scale = kScaleRatios[index];
  }
  const auto& depths = DepthListEntries();
  settings->colourDepth = EntryIndex(fields.depth_entry, depths.size(), &index)
                              ? depths[index].depth
                              : kDepthWithoutSelection;
  settings->compressBitmaps = fields.compress;
}

std::string FittedMapName(const std::string& name) { return CutUtf8(name, kMaxImageNameLength); }

}  // namespace kv
