#include <cstring>
#include <new>
#include <vector>

#include "pdb/database.h"
#include "pdb/database_format.h"
#include "pdb/stream_io.h"

namespace kv {

namespace {

using Bytes = unsigned long long;  // for printf

// Records `text` as the reason and gives false, so that each rule reads as
// one condition and its words.
bool Refuse(PdbReason* reason, const char* text) {
  SetPdbReason(reason, "%s", text);
  return false;
}

const char* EntryWord(DatabaseKind kind) {
  return kind == DatabaseKind::kResource ? "resource" : "record";
}

bool HeaderFieldsValid(const DatabaseHeader& header, PdbReason* reason) {
  if (header.next_entry_list != 0) return Refuse(reason, "the next entry list field is not 0");
  if (std::memchr(header.name, '\0', kDatabaseNameSize) == nullptr)
    return Refuse(reason, "the name has no terminating NUL within its 32 bytes");
  if (header.type == 0) return Refuse(reason, "the database type is 0");
  return true;
}

// g is where data may start: after the entry list and its two zero bytes.
bool BlocksValid(const DatabaseHeader& header, std::uint64_t g, std::uint64_t length,
                 PdbReason* reason) {
  const std::uint64_t a = header.app_info_offset;
  const std::uint64_t s = header.sort_info_offset;
  if (a != 0 && a >= length)
    return Refuse(reason, "the application-info block starts beyond the end of the file");
  if (a != 0 && a != g)
    return Refuse(reason, "the application-info block does not start right after the entry list");
  if (s != 0 && s >= length)
    return Refuse(reason, "the sort-info block starts beyond the end of the file");
  if (s != 0 && s < g)
    return Refuse(reason, "the sort-info block starts inside the header or entry list");
  if (s != 0 && a >= s)
    return Refuse(reason, "the sort-info block does not come after the application-info block");
  if (s != 0 && a == 0 && s != g)
    return Refuse(reason, "the sort-info block does not start right after the entry list");
  if (a == 0 && s == 0 && header.entry_count == 0 && length != g) {
    SetPdbReason(reason, "a database without entries or blocks is %llu bytes long instead of 80",
                 static_cast<Bytes>(length));
    return false;
  }
  return true;
}

// What an entry's offset is compared with: the block before the first
// entry, or the entry before it.
struct PreviousData {
  std::uint64_t offset = 0;
  const char* block = nullptr;  // "application-info" or "sort-info" while no entry came yet
};

bool EntryOffsetValid(DatabaseKind kind, std::uint32_t index, std::uint64_t o,
                      const PreviousData& previous, std::uint64_t g, std::uint64_t length,
                      PdbReason* reason) {
  const char* word = EntryWord(kind);
  if (o == 0) {
    SetPdbReason(reason,
                 kind == DatabaseKind::kRecord ? "record %u has offset 0 but is not deleted"
                                               : "resource %u has offset 0",
                 index);
  } else if (o >= length) {
    SetPdbReason(reason, "%s %u starts beyond the end of the file", word, index);
  } else if (o < g && o != g - 2) {
    SetPdbReason(reason, "%s %u starts inside the header or entry list", word, index);
  } else if (o <= previous.offset && previous.block != nullptr) {
    SetPdbReason(reason, "%s %u leaves no room for the %s block", word, index, previous.block);
  } else if (o < previous.offset) {
    SetPdbReason(reason, "entry offsets go backwards at %s %u", word, index);
  } else if (o == previous.offset) {
    SetPdbReason(reason, "%s %u starts at the same offset as the entry before it", word, index);
  } else {
    return true;
  }
  return false;
}

// Offsets must rise strictly, stay inside the file and start no earlier than
// the two zero bytes (data may begin where they would be).
bool EntriesValid(DatabaseKind kind, const DatabaseHeader& header,
                  const std::vector<std::uint8_t>& list, std::uint64_t g, std::uint64_t length,
                  PdbReason* reason) {
  PreviousData previous;
  if (header.sort_info_offset != 0) {
    previous = {header.sort_info_offset, "sort-info"};
  } else if (header.app_info_offset != 0) {
    previous = {header.app_info_offset, "application-info"};
  }
  const std::uint32_t entry_size = EntrySize(kind);
  for (std::uint32_t i = 0; i < header.entry_count; ++i) {
    EntryFields entry = DecodeEntry(kind, list.data() + std::size_t{i} * entry_size);
    const std::uint64_t o = entry.offset;
    if (kind == DatabaseKind::kRecord && o == 0 && (entry.attributes & kRecordDeletedAttribute)) {
      continue;
    }
    if (!EntryOffsetValid(kind, i, o, previous, g, length, reason)) return false;
    previous = {o, nullptr};
  }
  return true;
}

}  // namespace

PdbStatus ValidateDatabaseFile(Stream& stream, PdbReason* reason) {
  std::uint64_t length = 0;
  if (!stream.Length(&length)) {
    SetPdbReason(reason, "the length of the file could not be found");
    return PdbStatus::kStreamError;
  }
  if (length < kEntryListOffset + 2) {
    SetPdbReason(reason, "the file is %llu bytes long, shorter than a database header",
                 static_cast<Bytes>(length));
    return PdbStatus::kInvalidFile;
  }

  std::uint8_t raw[kDatabaseHeaderSize];
  if (!ReadAt(stream, 0, raw, sizeof raw)) {
    SetPdbReason(reason, "the header could not be read");
    return PdbStatus::kStreamError;
  }
  DatabaseHeader header;
  DecodeDatabaseHeader(raw, &header);
  if (!HeaderFieldsValid(header, reason)) return PdbStatus::kInvalidFile;

  const DatabaseKind kind = KindFromAttributes(header.attributes);
  const std::uint64_t g = EntryListEnd(kind, header.entry_count) + 2;
  if (g > length) {
    SetPdbReason(reason, "the list of %u entries runs past the end of the file",
                 static_cast<unsigned>(header.entry_count));
    return PdbStatus::kInvalidFile;
  }
  if (!BlocksValid(header, g, length, reason)) return PdbStatus::kInvalidFile;

  std::vector<std::uint8_t> list;
  try {
    list.resize(std::size_t{header.entry_count} * EntrySize(kind));
  } catch (const std::bad_alloc&) {
    return PdbStatus::kNoMemory;
  }
  if (!list.empty() && !ReadAt(stream, kEntryListOffset, list.data(), list.size())) {
    SetPdbReason(reason, "the entry list could not be read");
    return PdbStatus::kStreamError;
  }
  return EntriesValid(kind, header, list, g, length, reason) ? PdbStatus::kOk
                                                             : PdbStatus::kInvalidFile;
}

}  // namespace kv
