#ifndef KORVALE_CLI_MAP_LISTING_H_
#define KORVALE_CLI_MAP_LISTING_H_

// What `kvmap info` shows of a map: the database, its images, the map's
// metadata and the resources it carries through.

#include <string>

#include "cli/pdb_listing.h"
#include "map/c_image_container.h"

namespace kv::cli {

struct MapListing {
  PdbListing database;
  CImageContainer container{"", nullptr};
};

// Throws the program's exceptions, naming the path.
void ReadMapListing(const std::string& path, MapListing* listing);

std::string MapListingText(const MapListing& listing);
std::string MapListingJson(const MapListing& listing);

// "none", "scanline" or "rle".
const char* CompressionName(const BitmapRecord& bitmap);

}  // namespace kv::cli

#endif  // KORVALE_CLI_MAP_LISTING_H_
