#include "cli/pdb_listing.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/text_format.h"
#include "map/throw_on_status.h"

namespace kv::cli {

namespace {

// Releases the read handle however the listing ends.
struct ReadHandleCloser {
  DatabasePtr* handle;
  ~ReadHandleCloser() {
    if (*handle) CloseDatabase(handle);
  }
};

PdbEntryListing ReadEntryListing(DatabaseHandle& handle, std::uint32_t index, const char* path) {
  PdbEntryListing entry;
  entry.index = index;
  if (handle.kind == DatabaseKind::kResource) {
    ResourceInfo info;
    ThrowOnStatus(GetResourceInfo(handle, index, &info), path);
    entry.type = info.type;
    entry.id = info.id;
    entry.offset = info.offset;
    entry.size = info.size;
  } else {
    RecordInfo info;
    ThrowOnStatus(GetRecordInfo(handle, index, &info), path);
    entry.attributes = info.attributes;
    entry.unique_id = info.unique_id;
    entry.offset = info.offset;
    entry.size = info.size;
  }
  return entry;
}

const char* KindName(DatabaseKind kind) {
  return kind == DatabaseKind::kResource ? "resource" : "record";
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

}  // namespace

PdbListing ReadPdbListing(const std::string& path) {
  DatabasePtr handle;
  ThrowOnStatus(OpenDatabaseFile(path, &handle), path.c_str());
  ReadHandleCloser closer{&handle};
  PdbListing listing;
  ThrowOnStatus(ReadDatabaseInfo(*handle, &listing.info), path.c_str());
  ThrowOnStatus(GetAppInfoSize(*handle, &listing.app_info_size), path.c_str());
  ThrowOnStatus(GetSortInfoSize(*handle, &listing.sort_info_size), path.c_str());
  for (std::uint32_t i = 0; i < listing.info.entry_count; ++i) {
    listing.entries.push_back(ReadEntryListing(*handle, i, path.c_str()));
  }
  return listing;
}

std::string PdbListingText(const PdbListing& listing) {
  const DatabaseInfo& info = listing.info;
  std::ostringstream out;
  out << "name:                " << PalmNameToUtf8(info.name, sizeof info.name) << '\n'
      << "kind:                " << KindName(info.kind) << " database\n"
      << "attributes:          " << Hex(info.attributes, 4) << '\n'
      << "version:             " << info.version << '\n'
      << "created:             " << UtcTimeText(info.creation_time) << '\n'
      << "modified:            " << UtcTimeText(info.modification_time) << '\n'
      << "backed up:           " << UtcTimeText(info.backup_time) << '\n'
      << "modification number: " << info.modification_number << '\n'
      << "type:                " << FourCharCodeText(info.type) << '\n'
      << "creator:             " << FourCharCodeText(info.creator) << '\n'
      << "unique ID seed:      " << info.unique_id_seed << '\n'
      << "application info:    " << listing.app_info_size << " bytes\n"
      << "sort info:           " << listing.sort_info_size << " bytes\n"
      << "entries:             " << info.entry_count << '\n';
  if (listing.entries.empty()) return out.str();
  char line[128];
  if (info.kind == DatabaseKind::kResource) {
    out << "\nindex  type      id      offset        size\n";
    for (const PdbEntryListing& e : listing.entries) {
      std::snprintf(line, sizeof line, "%5u  %-8s %5u  %10u  %10u\n", e.index,
                    FourCharCodeText(e.type).c_str(), e.id, e.offset, e.size);
      out << line;
    }
  } else {
    out << "\nindex  attributes  unique ID      offset        size\n";
    for (const PdbEntryListing& e : listing.entries) {
      std::snprintf(line, sizeof line, "%5u  %10s  %9u  %10u  %10u\n", e.index,
                    Hex(e.attributes, 2).c_str(), e.unique_id, e.offset, e.size);
      out << line;
    }
  }
  return out.str();
}

std::string PdbListingJson(const PdbListing& listing) {
  const DatabaseInfo& info = listing.info;
  nlohmann::ordered_json json;
  json["name"] = PalmNameToUtf8(info.name, sizeof info.name);
  json["kind"] = KindName(info.kind);
  json["attributes"] = info.attributes;
  json["version"] = info.version;
  json["created"] = info.creation_time;
  json["modified"] = info.modification_time;
  json["backed_up"] = info.backup_time;
  json["modification_number"] = info.modification_number;
  json["type"] = FourCharCodeText(info.type);
  json["creator"] = FourCharCodeText(info.creator);
  json["unique_id_seed"] = info.unique_id_seed;
  json["entry_count"] = info.entry_count;
  json["app_info_size"] = listing.app_info_size;
  json["sort_info_size"] = listing.sort_info_size;
  json["entries"] = nlohmann::ordered_json::array();
  for (const PdbEntryListing& e : listing.entries) {
    nlohmann::ordered_json entry;
    entry["index"] = e.index;
    if (info.kind == DatabaseKind::kResource) {
      entry["type"] = FourCharCodeText(e.type);
      entry["id"] = e.id;
    } else {
      entry["attributes"] = e.attributes;
      entry["unique_id"] = e.unique_id;
    }
    entry["offset"] = e.offset;
    entry["size"] = e.size;
    json["entries"].push_back(entry);
  }
  return json.dump(2) + "\n";
}

}  // namespace kv::cli
