#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "pdb/big_endian.h"
#include "pdb/database_internal.h"
#include "pdb/palm_time.h"
#include "pdb/stream_io.h"

namespace kv {

using internal::Fail;

namespace {

DatabaseHeader HeaderFromParams(const CreateParams& params) {
  DatabaseHeader header;
  params.name.copy(header.name, kDatabaseNameSize - 1);
  header.attributes = params.attributes;
  header.version = params.version;
  header.creation_time = PalmTimeFromUnix(params.creation_time);
  header.modification_time = PalmTimeFromUnix(params.modification_time);
  header.backup_time = PalmTimeFromUnix(params.backup_time);
  header.modification_number = params.modification_number;
  header.type = params.type;
  header.creator = params.creator;
  header.unique_id_seed = params.unique_id_seed;
  header.entry_count = static_cast<std::uint16_t>(params.entry_count);
  return header;
}

// The header, a zeroed entry list and the two zero bytes, in one write.
PdbStatus WriteHeaderAndList(Stream& stream, const DatabaseHeader& header,
                             std::uint32_t data_start) {
  std::vector<std::uint8_t> head;
  try {
    head.assign(data_start, 0);
  } catch (const std::bad_alloc&) {
    return PdbStatus::kNoMemory;
  }
  EncodeDatabaseHeader(header, head.data());
  return WriteAt(stream, 0, head.data(), head.size()) ? PdbStatus::kOk : PdbStatus::kStreamError;
}

PdbStatus CheckAddable(DatabaseHandle& handle, DatabaseKind kind) {
  if (handle.status != PdbStatus::kOk) return handle.status;
  if (handle.mode != DatabaseMode::kWrite || handle.kind != kind) {
    return Fail(handle, PdbStatus::kBadArgument);
  }
  if (handle.entry_count >= handle.reserved_count) return Fail(handle, PdbStatus::kTooManyEntries);
  return PdbStatus::kOk;
}

// Writes `size` bytes at the next data offset and advances it.
PdbStatus AppendData(DatabaseHandle& handle, const std::uint8_t* bytes, std::uint32_t size) {
  if (size > UINT32_MAX - handle.next_data_offset) return Fail(handle, PdbStatus::kBadArgument);
  if (!WriteAt(*handle.stream, handle.next_data_offset, bytes, size)) {
    return Fail(handle, PdbStatus::kStreamError);
  }
  handle.next_data_offset += size;
  return PdbStatus::kOk;
}

PdbStatus WriteEntry(DatabaseHandle& handle, const EntryFields& entry) {
  std::uint8_t raw[kResourceEntrySize];
  EncodeEntry(handle.kind, entry, raw);
  if (!WriteAt(*handle.stream, EntryPosition(handle.kind, handle.entry_count), raw,
               EntrySize(handle.kind))) {
    return Fail(handle, PdbStatus::kStreamError);
  }
  return PdbStatus::kOk;
}

PdbStatus AddEntry(DatabaseHandle& handle, EntryFields entry, const std::uint8_t* bytes,
                   std::uint32_t size) {
  entry.offset = size == 0 ? 0 : handle.next_data_offset;
  if (size > UINT32_MAX - handle.next_data_offset) return Fail(handle, PdbStatus::kBadArgument);
  PdbStatus status = WriteEntry(handle, entry);
  if (status == PdbStatus::kOk && size != 0) status = AppendData(handle, bytes, size);
  if (status != PdbStatus::kOk) return status;
  ++handle.entry_count;
  handle.modified = true;
  return PdbStatus::kOk;
}

// Blocks come before any entry, application info before sort info.
PdbStatus WriteBlock(DatabaseHandle& handle, const std::uint8_t* bytes, std::uint32_t size,
                     std::uint32_t header_field, std::uint32_t* block_offset) {
  if (handle.status != PdbStatus::kOk) return handle.status;
  if (handle.mode != DatabaseMode::kWrite || handle.entry_count != 0 || *block_offset != 0 ||
      handle.sort_info_offset != 0 || size == 0 || bytes == nullptr) {
    return Fail(handle, PdbStatus::kBadArgument);
  }
  const std::uint32_t offset = handle.next_data_offset;
  PdbStatus status = AppendData(handle, bytes, size);
  if (status != PdbStatus::kOk) return status;
  std::uint8_t field[4];
  EncodeBig32(field, offset);
  if (!WriteAt(*handle.stream, header_field, field, sizeof field)) {
    return Fail(handle, PdbStatus::kStreamError);
  }
  *block_offset = offset;
  handle.modified = true;
  return PdbStatus::kOk;
}

}  // namespace

PdbStatus CreateDatabase(Stream& stream, const CreateParams& params, DatabasePtr* out) {
  out->reset();
  if (params.entry_count > kMaxDatabaseEntries) return PdbStatus::kBadArgument;
  DatabasePtr handle(new (std::nothrow) DatabaseHandle);
  if (!handle) return PdbStatus::kNoMemory;
  handle->mode = DatabaseMode::kWrite;
  handle->kind = KindFromAttributes(params.attributes);
  handle->stream = &stream;
  handle->reserved_count = params.entry_count;
  handle->data_start = EntryListEnd(handle->kind, params.entry_count) + 2;
  handle->next_data_offset = handle->data_start;
  PdbStatus status = WriteHeaderAndList(stream, HeaderFromParams(params), handle->data_start);
  if (status != PdbStatus::kOk) return status;
  *out = std::move(handle);
  return PdbStatus::kOk;
}

PdbStatus CreateDatabaseFile(const CreateParams& params, DatabasePtr* out) {
  out->reset();
  auto file = FileStream::Open(params.path, "w+b");
  if (!file) return PdbStatus::kCreateFailed;
  PdbStatus status = CreateDatabase(*file, params, out);
  if (status != PdbStatus::kOk) {
    file->Close();
    std::remove(params.path.c_str());
    return status;
  }
  (*out)->path = params.path;
  (*out)->owned_file = std::move(file);
  return PdbStatus::kOk;
}

PdbStatus AddResource(DatabaseHandle& handle, const ResourceInfo& info, const std::uint8_t* bytes) {
  PdbStatus status = CheckAddable(handle, DatabaseKind::kResource);
  if (status != PdbStatus::kOk) return status;
  if (info.size == 0 || bytes == nullptr) return Fail(handle, PdbStatus::kBadArgument);
  EntryFields entry;
  entry.type = info.type;
  entry.id = info.id;
  return AddEntry(handle, entry, bytes, info.size);
}

PdbStatus AddRecord(DatabaseHandle& handle, const RecordInfo& info, const std::uint8_t* bytes) {
  PdbStatus status = CheckAddable(handle, DatabaseKind::kRecord);
  if (status != PdbStatus::kOk) return status;
  if (info.size != 0 && bytes == nullptr) return Fail(handle, PdbStatus::kBadArgument);
  EntryFields entry;
  entry.attributes = static_cast<std::uint8_t>(info.attributes);
  entry.unique_id = info.unique_id & 0xFFFFFF;
  // An empty record has no data and offset 0; readers accept that only for a
  // deleted record, so mark it as one rather than write a file nobody opens.
  if (info.size == 0) entry.attributes |= kRecordDeletedAttribute;
  return AddEntry(handle, entry, bytes, info.size);
}

PdbStatus WriteAppInfoBlock(DatabaseHandle& handle, const std::uint8_t* bytes, std::uint32_t size) {
  return WriteBlock(handle, bytes, size, kAppInfoFieldOffset, &handle.app_info_offset);
}

PdbStatus WriteSortInfoBlock(DatabaseHandle& handle, const std::uint8_t* bytes,
                             std::uint32_t size) {
  return WriteBlock(handle, bytes, size, kSortInfoFieldOffset, &handle.sort_info_offset);
}

}  // namespace kv
