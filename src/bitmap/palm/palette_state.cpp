#include "bitmap/palm/palette_state.h"

#include <new>

#include "bitmap/palm/system_colour_tables.h"

namespace kv {

PaletteState::PaletteState() = default;
PaletteState::~PaletteState() = default;

void PaletteState::DiscardCustomTable() {
  custom_matcher_.reset();
  custom_.reset();
}

bool PaletteState::SetCustomTable(std::span<const std::uint32_t> colours) {
  try {
    return SetCustomTable(ColourTable::FromColours(colours, ColourTable::IndexBytes::kZero));
  } catch (const std::bad_alloc&) {
    DiscardCustomTable();
    return false;
  }
}

bool PaletteState::SetCustomTable(const ColourTable& table) {
  DiscardCustomTable();
  try {
    custom_ = std::make_unique<ColourTable>(table);
    custom_matcher_ = std::make_unique<PaletteMatcher>(*custom_);
  } catch (const std::bad_alloc&) {
    DiscardCustomTable();
    return false;
  }
  return true;
}

const ColourTable* PaletteState::TableForDepth(int depth) const {
  if (custom_ != nullptr && custom_->Count() > (1 << depth)) return nullptr;
  return custom_.get();
}

PaletteMatcher* PaletteState::MatcherFor(const ColourTable* table) {
  if (table == nullptr) return nullptr;
  if (table == custom_.get()) return custom_matcher_.get();
  constexpr std::array<int, 4> kSystemDepths = {1, 2, 4, 8};
  for (std::size_t i = 0; i < kSystemDepths.size(); ++i) {
    if (table != SystemColourTable(kSystemDepths[i])) continue;
    if (!system_matchers_[i]) {
      try {
        system_matchers_[i] = std::make_unique<PaletteMatcher>(*table);
      } catch (const std::bad_alloc&) {
        return nullptr;
      }
    }
    return system_matchers_[i].get();
  }
  return nullptr;
}

}  // namespace kv
