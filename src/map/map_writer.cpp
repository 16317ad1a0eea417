#include "map/map_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "map/map_layout.h"
#include "map/map_text.h"
#include "map/resource_ids.h"
#include "map/throw_on_status.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

CreateParams MapCreateParams(const CImageContainer& container, std::string_view name,
                             std::int64_t now) {
  CreateParams params;
  params.name = ToStoredText(name, kDatabaseNameSize - 1).bytes;
  params.attributes = kMapDatabaseAttributes;
  params.version = kMapDatabaseVersion;
  params.creation_time = now;
  params.modification_time = now;
  params.type = kMapDatabaseType;
  params.creator = kMapDatabaseCreator;
  params.entry_count = static_cast<std::uint32_t>(
      container.image_count() + container.preserved_resources().size() + kMetadataResourceCount);
  return params;
}

void AssignMissingIds(CImageContainer& container) {
  std::vector<std::uint16_t> ids;
  for (const auto& image : container.images()) ids.push_back(image->resource_id());
  AssignResourceIds(&ids);
  for (std::size_t i = 0; i < ids.size(); ++i) container.images()[i]->set_resource_id(ids[i]);
}

class ResourceWriter {
 public:
  explicit ResourceWriter(DatabaseHandle& handle) : handle_(handle) {}

  void Add(std::uint32_t type, std::uint16_t id, const std::uint8_t* bytes, std::size_t size) {
    ResourceInfo info;
    info.type = type;
    info.id = id;
    info.size = static_cast<std::uint32_t>(size);
    ThrowOnStatus(AddResource(handle_, info, bytes));
  }

  // A text in its stored form in a zero-filled resource of `size` bytes,
  // NUL-terminated within its first `field` bytes.
  void AddText(std::uint32_t type, std::uint16_t id, const std::string& text, std::size_t field,
               std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    const std::string stored = ToStoredText(text, field - 1).bytes;
    std::memcpy(bytes.data(), stored.data(), stored.size());
    Add(type, id, bytes.data(), bytes.size());
  }

  void AddBig32(std::uint32_t type, std::uint16_t id, std::uint32_t value) {
    std::uint8_t bytes[4];
    EncodeBig32(bytes, value);
    Add(type, id, bytes, sizeof bytes);
  }

 private:
  DatabaseHandle& handle_;
};

// The calibration buffer with its text in stored form. A stored character
// is never longer than its UTF-8 form, so the buffer keeps its size.
std::vector<std::uint8_t> StoredCalibration(const std::vector<std::uint8_t>& buffer) {
  const std::string_view text(reinterpret_cast<const char*>(buffer.data()), buffer.size());
  const std::string stored = ToStoredText(text.substr(0, text.find('\0'))).bytes;
  std::vector<std::uint8_t> bytes(buffer.size(), 0);
  std::copy(stored.begin(), stored.end(), bytes.begin());
  return bytes;
}

void WriteMetadata(ResourceWriter& writer, const CImage& image) {
  const std::uint16_t id = image.resource_id();
  writer.AddText(kNameResourceType, id, image.name(), kMaxImageNameLength + 1, kNameResourceSize);
  writer.AddBig32(kDateResourceType, id, image.date());
  writer.AddBig32(kMapWidthResourceType, id, image.map_width());
  writer.AddBig32(kMapHeightResourceType, id, image.map_height());
  for (std::size_t corner = 0; corner < kCornerTextCount; ++corner) {
    writer.AddText(kCornerResourceTypes[corner], id,
                   image.corner_text(static_cast<CornerText>(corner)), kMaxCornerTextLength + 1,
                   kCornerResourceSize);
  }
  std::vector<std::uint8_t> calibration = StoredCalibration(image.calibration());
  if (calibration.size() < kMinCalibrationSize) calibration.resize(kMinCalibrationSize, 0);
  writer.Add(kCalibrationResourceType, id, calibration.data(), calibration.size());
  std::array<std::uint8_t, kExtraTextSize> extra{};
  if (image.extra_text()) extra = *image.extra_text();
  writer.Add(kExtraTextResourceType, id, extra.data(), extra.size());
  writer.AddBig32(kAttributeResourceType, id, 0);
}

// Releases the write handle if the write ends early; the caller's stream
// keeps what was written.
struct WriteHandleGuard {
  DatabasePtr* handle;
  ~WriteHandleGuard() {
    // The write has already failed; that failure is the one reported.
    if (*handle) static_cast<void>(AbortDatabase(handle));
  }
};

}  // namespace

void WriteMapDatabase(CImageContainer& container, Stream& stream, std::string_view database_name,
                      std::int64_t now) {
  DatabasePtr handle;
  ThrowOnStatus(CreateDatabase(stream, MapCreateParams(container, database_name, now), &handle));
  WriteHandleGuard guard{&handle};
  AssignMissingIds(container);

  ResourceWriter writer(*handle);
  bool first = true;
  for (const auto& image : container.images()) {
    const BitmapRecord& bitmap = image->bitmap();
    writer.Add(kBitmapResourceType, image->resource_id(), bitmap.bytes.data(), bitmap.bytes.size());
    if (first) WriteMetadata(writer, *image);
    first = false;
  }
  for (const auto& resource : container.preserved_resources()) {
    writer.Add(resource.info.type, resource.info.id, resource.bytes.data(), resource.bytes.size());
  }
  ThrowOnStatus(CloseDatabase(&handle));
}

}  // namespace kv
