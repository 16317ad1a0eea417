#include "pdb/database_format.h"

#include <cstring>

#include "pdb/big_endian.h"

namespace kv {

void EncodeDatabaseHeader(const DatabaseHeader& header, std::uint8_t* dst) {
  std::memcpy(dst, header.name, kDatabaseNameSize);
  EncodeBig16(dst + 32, header.attributes);
  EncodeBig16(dst + 34, header.version);
  EncodeBig32(dst + 36, header.creation_time);
  EncodeBig32(dst + 40, header.modification_time);
  EncodeBig32(dst + 44, header.backup_time);
  EncodeBig32(dst + 48, header.modification_number);
  EncodeBig32(dst + kAppInfoFieldOffset, header.app_info_offset);
  EncodeBig32(dst + kSortInfoFieldOffset, header.sort_info_offset);
  EncodeBig32(dst + 60, header.type);
  EncodeBig32(dst + 64, header.creator);
  EncodeBig32(dst + 68, header.unique_id_seed);
  EncodeBig32(dst + 72, header.next_entry_list);
  EncodeBig16(dst + 76, header.entry_count);
}

void DecodeDatabaseHeader(const std::uint8_t* src, DatabaseHeader* header) {
  std::memcpy(header->name, src, kDatabaseNameSize);
  header->attributes = DecodeBig16(src + 32);
  header->version = DecodeBig16(src + 34);
  header->creation_time = DecodeBig32(src + 36);
  header->modification_time = DecodeBig32(src + 40);
  header->backup_time = DecodeBig32(src + 44);
  header->modification_number = DecodeBig32(src + 48);
  header->app_info_offset = DecodeBig32(src + kAppInfoFieldOffset);
  header->sort_info_offset = DecodeBig32(src + kSortInfoFieldOffset);
  header->type = DecodeBig32(src + 60);
  header->creator = DecodeBig32(src + 64);
  header->unique_id_seed = DecodeBig32(src + 68);
  header->next_entry_list = DecodeBig32(src + 72);
  header->entry_count = DecodeBig16(src + 76);
}

void EncodeEntry(DatabaseKind kind, const EntryFields& entry, std::uint8_t* dst) {
  if (kind == DatabaseKind::kResource) {
    EncodeBig32(dst, entry.type);
    EncodeBig16(dst + 4, entry.id);
    EncodeBig32(dst + 6, entry.offset);
  } else {
    EncodeBig32(dst, entry.offset);
    dst[4] = entry.attributes;
    EncodeBig24(dst + 5, entry.unique_id);
  }
}

EntryFields DecodeEntry(DatabaseKind kind, const std::uint8_t* src) {
  EntryFields entry;
  if (kind == DatabaseKind::kResource) {
    entry.type = DecodeBig32(src);
    entry.id = DecodeBig16(src + 4);
    entry.offset = DecodeBig32(src + 6);
  } else {
    entry.offset = DecodeBig32(src);
    entry.attributes = src[4];
    entry.unique_id = DecodeBig24(src + 5);
  }
  return entry;
}

}  // namespace kv
