#include "cli/map_listing.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/exceptions.h"
#include "cli/text_format.h"
#include "map/map_file.h"
#include "pdb/palm_time.h"

namespace kv::cli {

namespace {

// The calibration text: the stored bytes up to their first NUL.
std::string CalibrationText(const CImage& image) {
  const auto& bytes = image.calibration();
  std::string text(bytes.begin(), bytes.end());
  return text.substr(0, text.find('\0'));
}

// The map reader gives every text of the map in UTF-8.
const std::string& CornerTextUtf8(const CImage& image, CornerText which) {
  return image.corner_text(which);
}

nlohmann::ordered_json ImageJson(const CImage& image, std::size_t index) {
  const BitmapRecord& bitmap = image.bitmap();
  nlohmann::ordered_json json;
  json["index"] = index;
  json["id"] = image.resource_id();
  json["name"] = image.name();
  json["width"] = bitmap.width;
  json["height"] = bitmap.height;
  json["depth"] = bitmap.depth;
  json["version"] = bitmap.version;
  json["compression"] = CompressionName(bitmap);
  json["bytes"] = bitmap.bytes.size();
  return json;
}

nlohmann::ordered_json MapJson(const CImage* first) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  if (first == nullptr) return json;
  json["name"] = first->name();
  json["date"] = UnixFromPalmDate(first->date());
  json["width"] = first->map_width();
  json["height"] = first->map_height();
  json["top_left_longitude"] = CornerTextUtf8(*first, kTopLeftLongitude);
  json["top_left_latitude"] = CornerTextUtf8(*first, kTopLeftLatitude);
  json["bottom_right_longitude"] = CornerTextUtf8(*first, kBottomRightLongitude);
  json["bottom_right_latitude"] = CornerTextUtf8(*first, kBottomRightLatitude);
  json["calibration"] = CalibrationText(*first);
  return json;
}

nlohmann::ordered_json ResourceJson(std::size_t index, std::uint32_t type, std::uint16_t id,
                                    std::uint32_t size) {
  nlohmann::ordered_json json;
  json["index"] = index;
  json["type"] = FourCharCodeText(type);
  json["id"] = id;
  json["size"] = size;
  return json;
}

}  // namespace

const char* CompressionName(const BitmapRecord& bitmap) {
  if (!bitmap.compressed) return "none";
  return bitmap.compression_type == 1 ? "rle" : "scanline";
}

void ReadMapListing(const std::string& path, MapListing* listing) {
  listing->database = ReadPdbListing(path);
  ConversionSettings settings;
  try {
    LoadMapFile(path, listing->container, settings, nullptr);
  } catch (LException& error) {
    // Failures that are not about a file as such (a map of too many images)
    // still come from this one.
    if (error.file_name() == nullptr) error.set_file_name(path.c_str());
    throw;
  }
}

std::string MapListingJson(const MapListing& listing) {
  const DatabaseInfo& info = listing.database.info;
  nlohmann::ordered_json json;
  json["name"] = PalmNameToUtf8(info.name, sizeof info.name);
  json["type"] = FourCharCodeText(info.type);
  json["creator"] = FourCharCodeText(info.creator);
  json["attributes"] = info.attributes;
  json["version"] = info.version;
  json["created"] = info.creation_time;
  json["modified"] = info.modification_time;
  json["resources"] = nlohmann::ordered_json::array();
  for (const PdbEntryListing& e : listing.database.entries) {
    json["resources"].push_back(ResourceJson(e.index, e.type, e.id, e.size));
  }
  json["images"] = nlohmann::ordered_json::array();
  const auto& images = listing.container.images();
  for (std::size_t i = 0; i < images.size(); ++i)
    json["images"].push_back(ImageJson(*images[i], i));
  json["map"] = MapJson(listing.container.ImageAt(0));
  json["preserved"] = nlohmann::ordered_json::array();
  const auto& preserved = listing.container.preserved_resources();
  for (std::size_t i = 0; i < preserved.size(); ++i) {
    json["preserved"].push_back(
        ResourceJson(i, preserved[i].info.type, preserved[i].info.id, preserved[i].info.size));
  }
  return json.dump(2) + "\n";
}

std::string MapListingText(const MapListing& listing) {
  std::ostringstream out;
  out << PdbListingText(listing.database);
  const auto& images = listing.container.images();
  out << "\nimages: " << images.size() << "\n";
  if (!images.empty()) {
    out << "index     id  width height depth version compression     bytes  name\n";
    char line[256];
    for (std::size_t i = 0; i < images.size(); ++i) {
      const CImage& image = *images[i];
      const BitmapRecord& b = image.bitmap();
      std::snprintf(line, sizeof line, "%5zu  %5u  %5d  %5d  %4d  %6u  %-10s %8zu  ", i,
                    image.resource_id(), b.width, b.height, b.depth, b.version, CompressionName(b),
                    b.bytes.size());
      out << line << image.name() << "\n";
    }
  }
  if (const CImage* first = listing.container.ImageAt(0)) {
    out << "\nmap name:      " << first->name() << "\n"
        << "date:          " << UtcTimeText(UnixFromPalmDate(first->date())) << "\n"
        << "size:          " << first->map_width() << " x " << first->map_height() << "\n"
        << "top left:      " << CornerTextUtf8(*first, kTopLeftLatitude) << "  "
        << CornerTextUtf8(*first, kTopLeftLongitude) << "\n"
        << "bottom right:  " << CornerTextUtf8(*first, kBottomRightLatitude) << "  "
        << CornerTextUtf8(*first, kBottomRightLongitude) << "\n"
        << "calibration:\n"
        << CalibrationText(*first) << "\n";
  }
  const auto& preserved = listing.container.preserved_resources();
  out << "\npreserved resources: " << preserved.size() << "\n";
  for (const auto& resource : preserved) {
    out << "  " << FourCharCodeText(resource.info.type) << "  " << resource.info.id << "  "
        << resource.info.size << " bytes\n";
  }
  return out.str();
}

}  // namespace kv::cli
