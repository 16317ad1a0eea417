#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "pdb/database_internal.h"
#include "pdb/palm_time.h"
#include "pdb/stream_io.h"

namespace kv {

using internal::Fail;
using internal::ReadEntry;

namespace {

// The scratch buffer grows with the largest entry read, from 64 KiB, so that
// reading many bitmaps does not allocate for each.
constexpr std::size_t kMinScratchSize = 65536;

PdbStatus CheckReadable(DatabaseHandle& handle, DatabaseKind kind, std::uint32_t index) {
  if (handle.status != PdbStatus::kOk) return handle.status;
  if (handle.kind != kind || index >= handle.entry_count)
    return Fail(handle, PdbStatus::kBadArgument);
  return PdbStatus::kOk;
}

PdbStatus StreamLength(DatabaseHandle& handle, std::uint64_t* length) {
  return handle.stream->Length(length) ? PdbStatus::kOk : Fail(handle, PdbStatus::kStreamError);
}

// Size of data from `offset` to `end`; the file must hold it all.
PdbStatus SpanSize(DatabaseHandle& handle, std::uint64_t offset, std::uint64_t end,
                   std::uint32_t* size) {
  if (offset == 0 || end <= offset || end - offset > UINT32_MAX) {
    return Fail(handle, PdbStatus::kInvalidFile);
  }
  *size = static_cast<std::uint32_t>(end - offset);
  return PdbStatus::kOk;
}

// Offset of the first entry with data, or the file's length when none has.
PdbStatus FirstDataOffset(DatabaseHandle& handle, std::uint64_t* offset) {
  for (std::uint32_t i = 0; i < handle.entry_count; ++i) {
    EntryFields entry;
    if (ReadEntry(handle, i, &entry) != PdbStatus::kOk)
      return Fail(handle, PdbStatus::kStreamError);
    if (entry.offset != 0) {
      *offset = entry.offset;
      return PdbStatus::kOk;
    }
  }
  return StreamLength(handle, offset);
}

PdbStatus ReadIntoScratch(DatabaseHandle& handle, std::uint64_t offset, std::uint32_t size,
                          const std::uint8_t** bytes) {
  try {
    if (handle.scratch.size() < size) {
      handle.scratch.resize(std::max<std::size_t>(kMinScratchSize, size));
    }
  } catch (const std::bad_alloc&) {
    return Fail(handle, PdbStatus::kNoMemory);
  }
  if (!ReadAt(*handle.stream, offset, handle.scratch.data(), size)) {
    return Fail(handle, PdbStatus::kStreamError);
  }
  *bytes = handle.scratch.data();
  return PdbStatus::kOk;
}

PdbStatus BlockExtent(DatabaseHandle& handle, bool sort_info, std::uint32_t* offset,
                      std::uint32_t* size) {
  *size = 0;
  *offset = sort_info ? handle.sort_info_offset : handle.app_info_offset;
  if (handle.status != PdbStatus::kOk) return handle.status;
  if (*offset == 0) return PdbStatus::kOk;
  std::uint64_t end = 0;
  if (!sort_info && handle.sort_info_offset != 0) {
    end = handle.sort_info_offset;
  } else if (PdbStatus status = FirstDataOffset(handle, &end); status != PdbStatus::kOk) {
    return status;
  }
  return SpanSize(handle, *offset, end, size);
}

PdbStatus ReadBlock(DatabaseHandle& handle, bool sort_info, const std::uint8_t** bytes,
                    std::uint32_t* size) {
  *bytes = nullptr;
  std::uint32_t offset = 0;
  PdbStatus status = BlockExtent(handle, sort_info, &offset, size);
  if (status != PdbStatus::kOk || *size == 0) return status;
  return ReadIntoScratch(handle, offset, *size, bytes);
}

}  // namespace

PdbStatus OpenDatabase(Stream& stream, DatabasePtr* out, PdbReason* reason) {
  out->reset();
  PdbStatus status = ValidateDatabaseFile(stream, reason);
  if (status != PdbStatus::kOk) return status;
  std::uint8_t raw[kDatabaseHeaderSize];
  if (!ReadAt(stream, 0, raw, sizeof raw)) {
    SetPdbReason(reason, "the header could not be read");
    return PdbStatus::kStreamError;
  }
  DatabaseHeader header;
  DecodeDatabaseHeader(raw, &header);

  DatabasePtr handle(new (std::nothrow) DatabaseHandle);
  if (!handle) return PdbStatus::kNoMemory;
  handle->mode = DatabaseMode::kRead;
  handle->kind = KindFromAttributes(header.attributes);
  handle->stream = &stream;
  handle->entry_count = header.entry_count;
  handle->reserved_count = header.entry_count;
  handle->app_info_offset = header.app_info_offset;
  handle->sort_info_offset = header.sort_info_offset;
  *out = std::move(handle);
  return PdbStatus::kOk;
}

PdbStatus OpenDatabaseFile(const std::string& path, DatabasePtr* out, PdbReason* reason) {
  out->reset();
  errno = 0;
  auto file = FileStream::Open(path, "rb");
  if (!file) {
    if (reason != nullptr) reason->system_error = errno;
    return PdbStatus::kOpenFailed;
  }
  PdbStatus status = OpenDatabase(*file, out, reason);
  if (status != PdbStatus::kOk) return status;
  (*out)->path = path;
  (*out)->owned_file = std::move(file);
  return PdbStatus::kOk;
}

PdbStatus ReadDatabaseInfo(DatabaseHandle& handle, DatabaseInfo* info) {
  if (handle.status != PdbStatus::kOk) return handle.status;
  std::uint8_t raw[kDatabaseHeaderSize];
  if (!ReadAt(*handle.stream, 0, raw, sizeof raw)) return Fail(handle, PdbStatus::kStreamError);
  DatabaseHeader header;
  DecodeDatabaseHeader(raw, &header);
  info->path = handle.path;
  std::memcpy(info->name, header.name, kDatabaseNameSize);
  info->attributes = header.attributes;
  info->version = header.version;
  info->creation_time = UnixTimeFromPalm(header.creation_time);
  info->modification_time = UnixTimeFromPalm(header.modification_time);
  info->backup_time = UnixTimeFromPalm(header.backup_time);
  info->modification_number = header.modification_number;
  info->type = header.type;
  info->creator = header.creator;
  info->unique_id_seed = header.unique_id_seed;
  info->entry_count = header.entry_count;
  info->kind = KindFromAttributes(header.attributes);
  return PdbStatus::kOk;
}

PdbStatus GetResourceInfo(DatabaseHandle& handle, std::uint32_t index, ResourceInfo* info) {
  PdbStatus status = CheckReadable(handle, DatabaseKind::kResource, index);
  if (status != PdbStatus::kOk) return status;
  EntryFields entry;
  if (ReadEntry(handle, index, &entry) != PdbStatus::kOk)
    return Fail(handle, PdbStatus::kStreamError);
  std::uint64_t end = 0;
  if (index + 1 < handle.entry_count) {
    EntryFields next;
    if (ReadEntry(handle, index + 1, &next) != PdbStatus::kOk)
      return Fail(handle, PdbStatus::kStreamError);
    end = next.offset;
    if (end == 0) return Fail(handle, PdbStatus::kInvalidFile);
  } else if ((status = StreamLength(handle, &end)) != PdbStatus::kOk) {
    return status;
  }
  info->type = entry.type;
  info->id = entry.id;
  info->offset = entry.offset;
  return SpanSize(handle, entry.offset, end, &info->size);
}

PdbStatus ReadResource(DatabaseHandle& handle, std::uint32_t index, ResourceInfo* info,
                       const std::uint8_t** bytes) {
  PdbStatus status = GetResourceInfo(handle, index, info);
  if (status != PdbStatus::kOk) return status;
  return ReadIntoScratch(handle, info->offset, info->size, bytes);
}

PdbStatus FindResource(DatabaseHandle& handle, std::uint32_t type, std::uint16_t id,
                       std::int32_t* index) {
  *index = -1;
  if (handle.status != PdbStatus::kOk) return handle.status;
  if (handle.kind != DatabaseKind::kResource) return Fail(handle, PdbStatus::kBadArgument);
  for (std::uint32_t i = 0; i < handle.entry_count; ++i) {
    EntryFields entry;
    if (ReadEntry(handle, i, &entry) != PdbStatus::kOk)
      return Fail(handle, PdbStatus::kStreamError);
    if (entry.type == type && entry.id == id) {
      *index = static_cast<std::int32_t>(i);
      return PdbStatus::kOk;
    }
  }
  return PdbStatus::kNotFound;
}

PdbStatus GetRecordInfo(DatabaseHandle& handle, std::uint32_t index, RecordInfo* info) {
  PdbStatus status = CheckReadable(handle, DatabaseKind::kRecord, index);
  if (status != PdbStatus::kOk) return status;
  EntryFields entry;
  if (ReadEntry(handle, index, &entry) != PdbStatus::kOk)
    return Fail(handle, PdbStatus::kStreamError);
  info->attributes = entry.attributes;
  info->unique_id = entry.unique_id;
  info->offset = entry.offset;
  if (entry.offset == 0) {
    if (!(entry.attributes & kRecordDeletedAttribute)) return Fail(handle, PdbStatus::kInvalidFile);
    info->size = 0;
    return PdbStatus::kOk;
  }
  // A record runs to the next record that has data, or to the end of the file.
  std::uint64_t end = 0;
  for (std::uint32_t i = index + 1; i < handle.entry_count && end == 0; ++i) {
    EntryFields next;
    if (ReadEntry(handle, i, &next) != PdbStatus::kOk) return Fail(handle, PdbStatus::kStreamError);
    end = next.offset;
  }
  if (end == 0 && (status = StreamLength(handle, &end)) != PdbStatus::kOk) return status;
  return SpanSize(handle, entry.offset, end, &info->size);
}

PdbStatus ReadRecord(DatabaseHandle& handle, std::uint32_t index, RecordInfo* info,
                     const std::uint8_t** bytes) {
  *bytes = nullptr;
  PdbStatus status = GetRecordInfo(handle, index, info);
  if (status != PdbStatus::kOk || info->size == 0) return status;
  return ReadIntoScratch(handle, info->offset, info->size, bytes);
}

PdbStatus GetAppInfoSize(DatabaseHandle& handle, std::uint32_t* size) {
  std::uint32_t offset = 0;
  return BlockExtent(handle, false, &offset, size);
}

PdbStatus GetSortInfoSize(DatabaseHandle& handle, std::uint32_t* size) {
  std::uint32_t offset = 0;
  return BlockExtent(handle, true, &offset, size);
}

PdbStatus ReadAppInfoBlock(DatabaseHandle& handle, const std::uint8_t** bytes,
                           std::uint32_t* size) {
  return ReadBlock(handle, false, bytes, size);
}

PdbStatus ReadSortInfoBlock(DatabaseHandle& handle, const std::uint8_t** bytes,
                            std::uint32_t* size) {
  return ReadBlock(handle, true, bytes, size);
}

}  // namespace kv
