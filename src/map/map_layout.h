#ifndef KORVALE_MAP_MAP_LAYOUT_H_
#define KORVALE_MAP_MAP_LAYOUT_H_

// The fixed layout of a map database.
//
// A map is a Palm resource database of type "tBMP", creator "DoDa":
//   Tbmp  the first image's bitmap
//   DESC  34 bytes   image name, at most 31 characters, NUL, zeros
//   DATE  4 bytes    image date, big-endian stored time
//   ORWD  4 bytes    map width at output scale, big-endian
//   ORHT  4 bytes    map height at output scale, big-endian
//   TLLG TLLT BRLG BRLT  34 bytes each: corner texts in 24-byte fields
//   MCAL  >= 2048, even: calibration text, NUL, zeros
//   MVEH  100 bytes  a text of at most 99 characters, NUL, zeros
//   MATT  4 bytes    attribute word, written as 0
//   Tbmp ...         the other images' bitmaps, in list order
//   ...              preserved resources, byte for byte
// The eleven metadata resources share the first image's resource ID.

#include <array>
#include <cstddef>
#include <cstdint>

#include "pdb/database.h"

namespace kv {

inline constexpr std::uint32_t kMapDatabaseType = FourCharCode("tBMP");
inline constexpr std::uint32_t kMapDatabaseCreator = FourCharCode("DoDa");
// Bit 0: resource database; bit 3: back up on synchronisation.
inline constexpr std::uint16_t kMapDatabaseAttributes = 0x0009;
inline constexpr std::uint16_t kMapDatabaseVersion = 3;

inline constexpr std::uint32_t kBitmapResourceType = FourCharCode("Tbmp");
inline constexpr std::uint32_t kNameResourceType = FourCharCode("DESC");
inline constexpr std::uint32_t kDateResourceType = FourCharCode("DATE");
inline constexpr std::uint32_t kMapWidthResourceType = FourCharCode("ORWD");
inline constexpr std::uint32_t kMapHeightResourceType = FourCharCode("ORHT");
inline constexpr std::uint32_t kTopLeftLongitudeType = FourCharCode("TLLG");
inline constexpr std::uint32_t kTopLeftLatitudeType = FourCharCode("TLLT");
inline constexpr std::uint32_t kBottomRightLongitudeType = FourCharCode("BRLG");
inline constexpr std::uint32_t kBottomRightLatitudeType = FourCharCode("BRLT");
inline constexpr std::uint32_t kCalibrationResourceType = FourCharCode("MCAL");
inline constexpr std::uint32_t kExtraTextResourceType = FourCharCode("MVEH");
inline constexpr std::uint32_t kAttributeResourceType = FourCharCode("MATT");

inline constexpr std::size_t kMetadataResourceCount = 11;
// In the order the writer stores them.
inline constexpr std::array<std::uint32_t, kMetadataResourceCount> kMetadataResourceTypes = {
    kNameResourceType,         kDateResourceType,        kMapWidthResourceType,
    kMapHeightResourceType,    kTopLeftLongitudeType,    kTopLeftLatitudeType,
    kBottomRightLongitudeType, kBottomRightLatitudeType, kCalibrationResourceType,
    kExtraTextResourceType,    kAttributeResourceType};

inline constexpr std::size_t kNameResourceSize = 34;
inline constexpr std::size_t kMaxImageNameLength = 31;
inline constexpr std::size_t kCornerResourceSize = 34;
inline constexpr std::size_t kMaxCornerTextLength = 23;
inline constexpr std::size_t kMinCalibrationSize = 2048;
inline constexpr std::size_t kExtraTextSize = 100;

inline constexpr std::uint16_t kUnassignedResourceId = 0xFFFF;
inline constexpr std::size_t kMaxImages = 9999;

// Tiles and the overview are this big at output scale.
inline constexpr int kTileWidth = 160;
inline constexpr int kTileHeight = 131;

// The four corner texts, in the order they are stored.
enum CornerText : std::size_t {
  kTopLeftLongitude,
  kTopLeftLatitude,
  kBottomRightLongitude,
  kBottomRightLatitude,
  kCornerTextCount
};

inline constexpr std::array<std::uint32_t, kCornerTextCount> kCornerResourceTypes = {
    kTopLeftLongitudeType, kTopLeftLatitudeType, kBottomRightLongitudeType,
    kBottomRightLatitudeType};

inline bool IsLatitudeCorner(CornerText corner) {
  return corner == kTopLeftLatitude || corner == kBottomRightLatitude;
}

}  // namespace kv

#endif  // KORVALE_MAP_MAP_LAYOUT_H_
