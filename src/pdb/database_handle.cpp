#include <cstdio>
#include <cstdlib>

#include "pdb/database_internal.h"
#include "pdb/stream_io.h"

namespace kv {

namespace internal {

PdbStatus ReleaseHandle(DatabasePtr* handle) {
  PdbStatus status = PdbStatus::kOk;
  DatabaseHandle& h = **handle;
  if (h.owned_file) {
    if (!h.owned_file->Close()) status = PdbStatus::kStreamError;
  } else if (h.mode == DatabaseMode::kWrite && h.stream != nullptr && !h.stream->Flush()) {
    status = PdbStatus::kStreamError;
  }
  handle->reset();
  return status;
}

PdbStatus ReadEntry(DatabaseHandle& handle, std::uint32_t index, EntryFields* entry) {
  std::uint8_t raw[kResourceEntrySize];
  if (!ReadAt(*handle.stream, EntryPosition(handle.kind, index), raw, EntrySize(handle.kind))) {
    return PdbStatus::kStreamError;
  }
  *entry = DecodeEntry(handle.kind, raw);
  return PdbStatus::kOk;
}

}  // namespace internal

PdbStatus GetDatabaseStatus(const DatabaseHandle& handle) { return handle.status; }

PdbStatus CloseDatabase(DatabasePtr* handle) {
  if (handle == nullptr || !*handle) return PdbStatus::kBadArgument;
  DatabaseHandle& h = **handle;
  if (h.mode == DatabaseMode::kWrite && h.entry_count != h.reserved_count)
    return PdbStatus::kIncomplete;
  return internal::ReleaseHandle(handle);
}

PdbStatus AbortDatabase(DatabasePtr* handle) {
  if (handle == nullptr || !*handle) return PdbStatus::kBadArgument;
  std::string created_path = (*handle)->mode == DatabaseMode::kWrite ? (*handle)->path : "";
  // The file goes, so a failure to finish writing it no longer matters.
  static_cast<void>(internal::ReleaseHandle(handle));
  if (!created_path.empty()) std::remove(created_path.c_str());
  return PdbStatus::kOk;
}

PdbStatus RewriteDatabaseHeader(const std::string& path, std::uint16_t version,
                                std::uint32_t creator, std::uint32_t type,
                                const std::string& seed_text) {
  auto file = FileStream::Open(path, "r+b");
  if (!file) return PdbStatus::kOpenFailed;
  std::uint8_t raw[kDatabaseHeaderSize];
  if (!ReadAt(*file, 0, raw, sizeof raw)) return PdbStatus::kStreamError;
  DatabaseHeader header;
  DecodeDatabaseHeader(raw, &header);
  header.version = version;
  header.creator = creator;
  header.type = type;
  header.unique_id_seed = static_cast<std::uint32_t>(std::strtoul(seed_text.c_str(), nullptr, 10));
  EncodeDatabaseHeader(header, raw);
  if (!WriteAt(*file, 0, raw, sizeof raw)) return PdbStatus::kStreamError;
  return file->Close() ? PdbStatus::kOk : PdbStatus::kStreamError;
}

}  // namespace kv
