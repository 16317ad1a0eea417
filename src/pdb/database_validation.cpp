#include <cstring>
#include <new>
#include <vector>

#include "pdb/database.h"
#include "pdb/database_format.h"
#include "pdb/stream_io.h"

namespace kv {

namespace {

bool HeaderFieldsValid(const DatabaseHeader& header) {
  return header.next_entry_list == 0 &&
         std::memchr(header.name, '\0', kDatabaseNameSize) != nullptr && header.type != 0;
}

// g is where data may start: after the entry list and its two zero bytes.
bool BlocksValid(const DatabaseHeader& header, std::uint64_t g, std::uint64_t length) {
  const std::uint64_t a = header.app_info_offset;
  const std::uint64_t s = header.sort_info_offset;
  if (a != 0 && !(a == g && a < length)) return false;
  if (s != 0) {
    if (!(g <= s && s < length && a < s)) return false;
    if (a == 0 && s != g) return false;
  }
  if (a == 0 && s == 0 && header.entry_count == 0 && length != g) return false;
  return true;
}

// Offsets must rise strictly, stay inside the file and start no earlier than
// the two zero bytes (data may begin where they would be).
bool EntriesValid(DatabaseKind kind, const DatabaseHeader& header,
                  const std::vector<std::uint8_t>& list, std::uint64_t g, std::uint64_t length) {
  std::uint64_t previous =
      header.sort_info_offset != 0 ? header.sort_info_offset : header.app_info_offset;
  const std::uint32_t entry_size = EntrySize(kind);
  for (std::uint32_t i = 0; i < header.entry_count; ++i) {
    EntryFields entry = DecodeEntry(kind, list.data() + std::size_t{i} * entry_size);
    const std::uint64_t o = entry.offset;
    if (kind == DatabaseKind::kRecord && o == 0 && (entry.attributes & kRecordDeletedAttribute)) {
      continue;
    }
    if (o == 0 || o <= previous || !(o >= g || o == g - 2) || o >= length) return false;
    previous = o;
  }
  return true;
}

}  // namespace

PdbStatus ValidateDatabaseFile(Stream& stream) {
  std::uint64_t length = 0;
  if (!stream.Length(&length)) return kPdbStreamError;
  if (length < kEntryListOffset + 2) return kPdbInvalidFile;

  std::uint8_t raw[kDatabaseHeaderSize];
  if (!ReadAt(stream, 0, raw, sizeof raw)) return kPdbStreamError;
  DatabaseHeader header;
  DecodeDatabaseHeader(raw, &header);
  if (!HeaderFieldsValid(header)) return kPdbInvalidFile;

  const DatabaseKind kind = KindFromAttributes(header.attributes);
  const std::uint64_t g = EntryListEnd(kind, header.entry_count) + 2;
  if (g > length) return kPdbInvalidFile;
  if (!BlocksValid(header, g, length)) return kPdbInvalidFile;

  std::vector<std::uint8_t> list;
  try {
    list.resize(std::size_t{header.entry_count} * EntrySize(kind));
  } catch (const std::bad_alloc&) {
    return kPdbNoMemory;
  }
  if (!list.empty() && !ReadAt(stream, kEntryListOffset, list.data(), list.size())) {
    return kPdbStreamError;
  }
  return EntriesValid(kind, header, list, g, length) ? kPdbOk : kPdbInvalidFile;
}

}  // namespace kv
