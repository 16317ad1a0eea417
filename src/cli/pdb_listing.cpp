#include "cli/pdb_listing.h"

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/exceptions.h"
#include "cli/text_format.h"
#include "map/throw_on_status.h"

namespace kv::cli {

namespace {

// Releases the read handle however the listing ends.
struct ReadHandleCloser {
  DatabasePtr* handle;
  ~ReadHandleCloser() {
    // The listing's own status is the one to report.
    if (*handle) static_cast<void>(CloseDatabase(handle));
  }
};

PdbStatus ReadEntryListing(DatabaseHandle& handle, std::uint32_t index, PdbEntryListing* entry) {
  entry->index = index;
  if (handle.kind == DatabaseKind::kResource) {
    ResourceInfo info;
    PdbStatus status = GetResourceInfo(handle, index, &info);
    entry->type = info.type;
    entry->id = info.id;
    entry->offset = info.offset;
    entry->size = info.size;
    return status;
  }
  RecordInfo info;
  PdbStatus status = GetRecordInfo(handle, index, &info);
  entry->attributes = info.attributes;
  entry->unique_id = info.unique_id;
  entry->offset = info.offset;
  entry->size = info.size;
  return status;
}

// Header, block sizes and every entry of an open database.
PdbStatus ReadListing(DatabaseHandle& handle, PdbListing* listing, PdbReason* reason) {
  PdbStatus status = ReadDatabaseInfo(handle, &listing->info);
  if (status == PdbStatus::kOk) status = GetAppInfoSize(handle, &listing->app_info_size);
  if (status == PdbStatus::kOk) status = GetSortInfoSize(handle, &listing->sort_info_size);
  if (status != PdbStatus::kOk) {
    SetPdbReason(reason, "the header or its blocks could not be read");
    return status;
  }
  listing->entries.resize(listing->info.entry_count);
  for (std::uint32_t i = 0; i < listing->info.entry_count; ++i) {
    status = ReadEntryListing(handle, i, &listing->entries[i]);
    if (status != PdbStatus::kOk) {
      SetPdbReason(reason, "entry %u could not be read", i);
      return status;
    }
  }
  return PdbStatus::kOk;
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

bool ListPdbFile(const std::string& path, PdbListing* listing, PdbRefusal* refusal) {
  DatabasePtr handle;
  refusal->status = OpenDatabaseFile(path, &handle, &refusal->reason);
  if (refusal->status != PdbStatus::kOk) return false;
  ReadHandleCloser closer{&handle};
  refusal->status = ReadListing(*handle, listing, &refusal->reason);
  return refusal->status == PdbStatus::kOk;
}

void ThrowRefusal(const std::string& path, const PdbRefusal& refusal) {
  ThrowOnStatus(refusal.status, path.c_str(), refusal.reason);
  throw ErrUnknown(path.c_str());  // a refusal always has a failed status
}

PdbListing ReadPdbListing(const std::string& path) {
  PdbListing listing;
  PdbRefusal refusal;
  if (!ListPdbFile(path, &listing, &refusal)) ThrowRefusal(path, refusal);
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
  json["valid"] = true;
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

std::string PdbRefusalJson(const std::string& path, const PdbRefusal& refusal) {
  nlohmann::ordered_json json;
  json["valid"] = false;
  json["file"] = path;
  json["status"] = refusal.status;
  // For scripts, which read the system's own words rather than the user's.
  json["reason"] = refusal.reason.text[0] == '\0' && refusal.reason.system_error != 0
                       ? std::strerror(refusal.reason.system_error)
                       : refusal.reason.text;
  // Paths and reasons need not be UTF-8; replace what is not.
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace kv::cli
