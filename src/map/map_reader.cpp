#include "map/map_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "base/exceptions.h"
#include "bitmap/conversion_front.h"
#include "map/corner_text.h"
#include "map/map_layout.h"
#include "map/map_text.h"
#include "map/throw_on_status.h"
#include "pdb/big_endian.h"
#include "pdb/palm_time.h"

namespace kv {

namespace {

struct BitmapEntry {
  std::uint32_t index;
  std::uint16_t id;
};

struct ReadHandleGuard {
  DatabasePtr* handle;
  ~ReadHandleGuard() {
    // Everything was read already; closing a read handle cannot lose it.
    if (*handle) static_cast<void>(CloseDatabase(handle));
  }
};

bool IsKnownType(std::uint32_t type) {
  return type == kBitmapResourceType ||
         std::find(kMetadataResourceTypes.begin(), kMetadataResourceTypes.end(), type) !=
             kMetadataResourceTypes.end();
}

std::vector<BitmapEntry> FindBitmaps(DatabaseHandle& handle, std::uint32_t count) {
  std::vector<BitmapEntry> bitmaps;
  for (std::uint32_t i = 0; i < count; ++i) {
    ResourceInfo info;
    ThrowOnStatus(GetResourceInfo(handle, i, &info));
    if (info.type == kBitmapResourceType) bitmaps.push_back({i, info.id});
  }
  return bitmaps;
}

// The bytes of the metadata resource `type` of bitmap `id`, or none.
std::optional<std::vector<std::uint8_t>> ReadMetadata(DatabaseHandle& handle, std::uint32_t type,
                                                      std::uint16_t id) {
  std::int32_t index = -1;
  PdbStatus status = FindResource(handle, type, id, &index);
  if (status == PdbStatus::kNotFound) return std::nullopt;
  ThrowOnStatus(status);
  ResourceInfo info;
  const std::uint8_t* bytes = nullptr;
  ThrowOnStatus(ReadResource(handle, static_cast<std::uint32_t>(index), &info, &bytes));
  return std::vector<std::uint8_t>(bytes, bytes + info.size);
}

// The text of a metadata resource in the program's form: the stored bytes
// up to the first NUL, at most `max` of them.
std::string TextOf(const std::vector<std::uint8_t>& bytes, std::size_t field, std::size_t max) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), std::min(bytes.size(), field));
  return FromStoredText(BoundedText(text, max));
}

// The calibration buffer with its text in the program's form; the buffer
// grows when the text does, so nothing after it is cut off.
std::vector<std::uint8_t> CalibrationOf(const std::vector<std::uint8_t>& stored) {
  if (stored.empty()) return {};
  const std::string_view bytes(reinterpret_cast<const char*>(stored.data()), stored.size());
  const std::string text = FromStoredText(bytes.substr(0, bytes.find('\0')));
  std::vector<std::uint8_t> buffer(std::max(stored.size(), text.size() + 1), 0);
  std::copy(text.begin(), text.end(), buffer.begin());
  return buffer;
}

std::uint32_t Big32Of(const std::vector<std::uint8_t>& bytes) {
  std::uint8_t value[4] = {};
  std::memcpy(value, bytes.data(), std::min<std::size_t>(bytes.size(), 4));
  return DecodeBig32(value);
}

void ReadCornerTexts(DatabaseHandle& handle, CImage& image, const CornerTextFormatter& format) {
  for (std::size_t i = 0; i < kCornerTextCount; ++i) {
    const auto corner = static_cast<CornerText>(i);
    auto bytes = ReadMetadata(handle, kCornerResourceTypes[corner], image.resource_id());
    if (!bytes) continue;
    std::string text = TextOf(*bytes, kMaxCornerTextLength + 1, kMaxCornerTextLength);
    if (!text.empty()) {
      text = format ? format(text, IsLatitudeCorner(corner))
                    : NormaliseCornerText(text, IsLatitudeCorner(corner));
    }
    image.set_corner_text(corner, text);
  }
}

void ReadImageMetadata(DatabaseHandle& handle, CImage& image, std::uint32_t creation_time,
                       const CornerTextFormatter& format) {
  const std::uint16_t id = image.resource_id();
  if (auto name = ReadMetadata(handle, kNameResourceType, id)) {
    image.SetName(TextOf(*name, kMaxImageNameLength + 1, kMaxImageNameLength));
  }
  auto date = ReadMetadata(handle, kDateResourceType, id);
  image.set_date(date ? Big32Of(*date) : creation_time);
  auto width = ReadMetadata(handle, kMapWidthResourceType, id);
  auto height = ReadMetadata(handle, kMapHeightResourceType, id);
  image.set_map_size(width ? Big32Of(*width) : 0, height ? Big32Of(*height) : 0);
  ReadCornerTexts(handle, image, format);
  if (auto stored = ReadMetadata(handle, kCalibrationResourceType, id)) {
    const std::vector<std::uint8_t> calibration = CalibrationOf(*stored);
    image.SetCalibration(calibration.data(), calibration.size());
  }
  if (auto extra = ReadMetadata(handle, kExtraTextResourceType, id)) {
    std::array<std::uint8_t, kExtraTextSize> text{};
    std::memcpy(text.data(), extra->data(), std::min(extra->size(), kExtraTextSize - 1));
    image.set_extra_text(text);
  }
  if (auto attributes = ReadMetadata(handle, kAttributeResourceType, id)) {
    image.set_attribute_word(Big32Of(*attributes));
  }
}

struct ReadContext {
  DatabaseHandle& handle;
  CImageContainer& container;
  ConversionSettings& settings;
  const CornerTextFormatter& format;
  std::uint32_t creation_time;
};

std::unique_ptr<CImage> MakeImage(const ReadContext& read, const BitmapEntry& entry) {
  DatabaseHandle& handle = read.handle;
  ResourceInfo info;
  const std::uint8_t* bytes = nullptr;
  ThrowOnStatus(ReadResource(handle, entry.index, &info, &bytes));
  if (info.type != kBitmapResourceType) throw ErrFileRead();
  auto image = std::make_unique<CImage>();
  ConversionSource stored{kPalmBitmapSourceKind, {bytes, info.size}, nullptr};
  image->SetBitmap(BitmapRecordOf(ConvertToPalmBitmap(read.container.conversion_context(),
                                                      read.settings, stored, ConversionOptions{})));
  image->set_resource_id(entry.id);
  if (entry.index == 0) ReadImageMetadata(handle, *image, read.creation_time, read.format);
  return image;
}

// Sorted, so that a file of 65535 entries, most of them metadata of some
// bitmap, is not read in time proportional to entries times bitmaps.
std::vector<std::uint16_t> SortedBitmapIds(const std::vector<BitmapEntry>& bitmaps) {
  std::vector<std::uint16_t> ids;
  ids.reserve(bitmaps.size());
  for (const BitmapEntry& entry : bitmaps) ids.push_back(entry.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

void ReadPreserved(DatabaseHandle& handle, std::uint32_t count,
                   const std::vector<BitmapEntry>& bitmaps, CImageContainer& container) {
  const std::vector<std::uint16_t> bitmap_ids = SortedBitmapIds(bitmaps);
  for (std::uint32_t i = 0; i < count; ++i) {
    ResourceInfo info;
    ThrowOnStatus(GetResourceInfo(handle, i, &info));
    if (IsKnownType(info.type) &&
        std::binary_search(bitmap_ids.begin(), bitmap_ids.end(), info.id)) {
      continue;
    }
    const std::uint8_t* bytes = nullptr;
    ThrowOnStatus(ReadResource(handle, i, &info, &bytes));
    container.preserved_resources().push_back({info, {bytes, bytes + info.size}});
  }
}

}  // namespace

void ReadMapDatabase(Stream& stream, CImageContainer& container, ConversionSettings& settings,
                     const CornerTextFormatter& format_corner) {
  DatabasePtr handle;
  PdbReason reason;
  ThrowOnStatus(OpenDatabase(stream, &handle, &reason), nullptr, reason);
  ReadHandleGuard guard{&handle};
  DatabaseInfo info;
  ThrowOnStatus(ReadDatabaseInfo(*handle, &info));
  if (info.type != kMapDatabaseType) throw ErrUnknown();
  // Dates are kept in stored form; the fallback is the header's own value.
  const std::uint32_t creation_time = PalmTimeFromUnix(info.creation_time);

  const std::vector<BitmapEntry> bitmaps = FindBitmaps(*handle, info.entry_count);
  const ReadContext read{*handle, container, settings, format_corner, creation_time};
  bool any_compressed = false;
  for (const BitmapEntry& entry : bitmaps) {
    any_compressed |= container.AddImage(MakeImage(read, entry)).bitmap().compressed;
  }
  // Compression is kept only where it made a bitmap smaller, so one plainly
  // stored bitmap (often the last, a noisy tile) says nothing about the
  // map's setting; any compressed one shows that compression was on.
  if (!bitmaps.empty()) settings.compressBitmaps = any_compressed;
  ReadPreserved(*handle, info.entry_count, bitmaps, container);
  ThrowOnStatus(CloseDatabase(&handle));
}

}  // namespace kv
