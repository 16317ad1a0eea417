#ifndef KORVALE_PDB_DATABASE_FORMAT_H_
#define KORVALE_PDB_DATABASE_FORMAT_H_

// Encoding of the database header and entry list, separate from the I/O in
// database.cpp. Layout: see database.h.

#include <cstdint>

#include "pdb/database.h"

namespace kv {

inline constexpr std::uint32_t kAppInfoFieldOffset = 52;
inline constexpr std::uint32_t kSortInfoFieldOffset = 56;
inline constexpr std::uint32_t kEntryListOffset = 78;
inline constexpr std::uint32_t kResourceEntrySize = 10;
inline constexpr std::uint32_t kRecordEntrySize = 8;

// The 78-byte header with the stored (Palm) times.
struct DatabaseHeader {
  char name[kDatabaseNameSize] = {};
  std::uint16_t attributes = 0;
  std::uint16_t version = 0;
  std::uint32_t creation_time = 0;
  std::uint32_t modification_time = 0;
  std::uint32_t backup_time = 0;
  std::uint32_t modification_number = 0;
  std::uint32_t app_info_offset = 0;
  std::uint32_t sort_info_offset = 0;
  std::uint32_t type = 0;
  std::uint32_t creator = 0;
  std::uint32_t unique_id_seed = 0;
  std::uint32_t next_entry_list = 0;
  std::uint16_t entry_count = 0;
};

void EncodeDatabaseHeader(const DatabaseHeader& header, std::uint8_t* dst);
void DecodeDatabaseHeader(const std::uint8_t* src, DatabaseHeader* header);

inline DatabaseKind KindFromAttributes(std::uint16_t attributes) {
  return (attributes & kResourceDatabaseAttribute) ? DatabaseKind::kResource
                                                   : DatabaseKind::kRecord;
}

inline std::uint32_t EntrySize(DatabaseKind kind) {
  return kind == DatabaseKind::kResource ? kResourceEntrySize : kRecordEntrySize;
}

// Where the entry list ends and the two zero bytes follow: 78 + n * entry size.
inline std::uint32_t EntryListEnd(DatabaseKind kind, std::uint32_t entry_count) {
  return kEntryListOffset + entry_count * EntrySize(kind);
}

inline std::uint32_t EntryPosition(DatabaseKind kind, std::uint32_t index) {
  return kEntryListOffset + index * EntrySize(kind);
}

// One entry of either kind as stored.
struct EntryFields {
  std::uint32_t offset = 0;
  std::uint32_t type = 0;       // resource entries
  std::uint16_t id = 0;         // resource entries
  std::uint8_t attributes = 0;  // record entries
  std::uint32_t unique_id = 0;  // record entries, 24 bits
};

void EncodeEntry(DatabaseKind kind, const EntryFields& entry, std::uint8_t* dst);
EntryFields DecodeEntry(DatabaseKind kind, const std::uint8_t* src);

}  // namespace kv

#endif  // KORVALE_PDB_DATABASE_FORMAT_H_
