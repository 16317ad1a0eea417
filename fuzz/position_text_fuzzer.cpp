// Parses arbitrary bytes as a typed position, then carries the value through
// the formatting and the grid conversions that typed positions reach.
//
// Input: the first line is the letter set, the rest the position text. The
// value is used as latitude and longitude and its grid reference is read
// back in every coordinate system.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "geo/coordinate_systems.h"
#include "geo/grid_conversion.h"
#include "geo/position_text.h"
#include "geo/utm.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void ConvertEverywhere(double latitude, double longitude, std::string_view zone) {
  kv::CoordinateContext context;
  for (int system = 0; system < kv::kCoordinateSystemCount; ++system) {
    kv::GridReference grid;
    static_cast<void>(kv::LatLonToGrid(context, 0, {latitude, longitude}, system, true, &grid));
    kv::LatLon back;
    static_cast<void>(kv::GridToLatLon(context, 8, grid, system, true, &back));
    grid.zone = std::string(zone);
    static_cast<void>(kv::GridToLatLon(context, 16, grid, system, false, &back));
  }
  volatile double sink = kv::UtmZoneMeridian(zone);
  (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view letters =
      newline == std::string_view::npos ? kv::kDefaultNegativeLetters : input.substr(0, newline);
  const std::string_view text =
      newline == std::string_view::npos ? input : input.substr(newline + 1);

  const double value = kv::ParsePosition(text, letters);
  Check(std::isfinite(value));

  const kv::PositionTexts texts = {"NS", "EW", ".", std::string(letters)};
  for (int system = 0; system <= 2; ++system) {
    for (int precision : {0, 1, 3, 7, kv::kFullPrecision}) {
      const std::string formatted =
          kv::FormatPosition(texts, value, kv::PositionAxis::kLatitude, system, precision);
      Check(formatted.size() < 512);
    }
  }
  ConvertEverywhere(value, value, text.substr(0, 16));
  return 0;
}
