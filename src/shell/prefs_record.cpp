#include "shell/prefs_record.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/replace_file_writer.h"
#include "bitmap/bmp/bmp_little_endian.h"

namespace kv {

namespace {

constexpr std::size_t kPlacementOffset = 4;
constexpr std::size_t kMapFolderOffset = 48;
constexpr std::size_t kImageFolderOffset = 308;
constexpr std::size_t kFolderFieldSize = 260;
constexpr std::size_t kMinDepthOffset = 568;
constexpr std::size_t kDepthOffset = 572;
constexpr std::size_t kCompressionOffset = 576;
constexpr std::size_t kFollowOffset = 580;
constexpr std::size_t kCoordinateSystemOffset = 584;
constexpr std::size_t kPocketPcFolderOffset = 908;

std::int32_t ReadInt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(DecodeLittle32(bytes.data() + offset));
}

void WriteInt(std::vector<std::uint8_t>* bytes, std::size_t offset, std::int32_t value) {
  EncodeLittle32(bytes->data() + offset, static_cast<std::uint32_t>(value));
}

std::string ReadFolder(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::string folder;
  for (std::size_t i = 0; i < kPrefsFolderLimit && bytes[offset + i] != 0; ++i) {
    folder += static_cast<char>(bytes[offset + i]);
  }
  return folder;
}

void WriteFolder(std::vector<std::uint8_t>* bytes, std::size_t offset, const std::string& folder) {
  if (folder.size() > kPrefsFolderLimit) return;
  std::copy(folder.begin(), folder.end(), bytes->begin() + static_cast<std::ptrdiff_t>(offset));
}

PlacementRecord ReadPlacement(std::span<const std::uint8_t> bytes) {
  std::int32_t fields[11];
  for (std::size_t i = 0; i < 11; ++i) fields[i] = ReadInt(bytes, kPlacementOffset + 4 * i);
  return PlacementRecord{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                         fields[6], fields[7], fields[8], fields[9], fields[10]};
}

void WritePlacement(std::vector<std::uint8_t>* bytes, const PlacementRecord& p) {
  const std::int32_t fields[11] = {p.length, p.flags, p.show_command, p.min_x, p.min_y, p.max_x,
                                   p.max_y,  p.left,  p.top,          p.right, p.bottom};
  for (std::size_t i = 0; i < 11; ++i) WriteInt(bytes, kPlacementOffset + 4 * i, fields[i]);
}

}  // namespace

PrefsVersion DecodePrefsRecord(std::span<const std::uint8_t> bytes, PrefsRecord* record) {
  if (bytes.size() < 4) return PrefsVersion::kNotLoaded;
  const std::uint32_t size = DecodeLittle32(bytes.data());
  PrefsVersion version;
  if (size == kPrefsRecordSize && bytes.size() >= kPrefsRecordSize) {
    version = PrefsVersion::kCurrent;
  } else if (size == kOldPrefsRecordSize && bytes.size() >= kOldPrefsRecordSize) {
    version = PrefsVersion::kOld;
  } else {
    return PrefsVersion::kNotLoaded;
  }
  PrefsRecord loaded = *record;
  loaded.placement = ReadPlacement(bytes);
  loaded.last_map_folder = ReadFolder(bytes, kMapFolderOffset);
  loaded.last_image_folder = ReadFolder(bytes, kImageFolderOffset);
  loaded.min_depth = 1;
  loaded.colour_depth = ReadInt(bytes, kDepthOffset);
  loaded.compression = ReadInt(bytes, kCompressionOffset);
  if (version == PrefsVersion::kCurrent) {
    loaded.calibration_follow = ReadInt(bytes, kFollowOffset);
    loaded.coordinate_system = ReadInt(bytes, kCoordinateSystemOffset);
    loaded.pocket_pc_folder = ReadFolder(bytes, kPocketPcFolderOffset);
  }
  *record = std::move(loaded);
  return version;
}

std::vector<std::uint8_t> EncodePrefsRecord(const PrefsRecord& record) {
  std::vector<std::uint8_t> bytes(kPrefsRecordSize, 0);
  WriteInt(&bytes, 0, static_cast<std::int32_t>(kPrefsRecordSize));
  WritePlacement(&bytes, record.placement);
  WriteFolder(&bytes, kMapFolderOffset, record.last_map_folder);
  WriteFolder(&bytes, kImageFolderOffset, record.last_image_folder);
  WriteInt(&bytes, kMinDepthOffset, record.min_depth);
  WriteInt(&bytes, kDepthOffset, record.colour_depth);
  WriteInt(&bytes, kCompressionOffset, record.compression);
  WriteInt(&bytes, kFollowOffset, record.calibration_follow);
  WriteInt(&bytes, kCoordinateSystemOffset, record.coordinate_system);
  WriteFolder(&bytes, kPocketPcFolderOffset, record.pocket_pc_folder);
  return bytes;
}

PrefsRecord DefaultPrefsRecord(int desktop_width, int desktop_height,
                               const std::string& documents_folder) {
  PrefsRecord record;
  record.placement.left = 1;
  record.placement.top = 0;
  record.placement.right = desktop_width - 1;
  record.placement.bottom = desktop_height - 22;
  record.last_map_folder = documents_folder;
  record.last_image_folder = documents_folder;
  return record;
}

PrefsVersion ReadPrefsFile(const std::string& path, PrefsRecord* record) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return PrefsVersion::kNotLoaded;
  std::vector<std::uint8_t> bytes(kPrefsRecordSize);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return DecodePrefsRecord(bytes, record);
}

bool WritePrefsFile(const std::string& path, const PrefsRecord& record) {
  const std::filesystem::path target(path);
  std::error_code ignored;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  const std::vector<std::uint8_t> bytes = EncodePrefsRecord(record);
  const std::string_view contents(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ReplaceFileContents(path, contents) == 0;
}

}  // namespace kv
