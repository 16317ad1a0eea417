#ifndef KORVALE_PDB_DATABASE_H_
#define KORVALE_PDB_DATABASE_H_

// Palm OS database files: resource databases (".prc", our maps) and record
// databases (".pdb").
//
// File layout, all numbers big-endian:
//   0   name[32]            NUL-terminated, the rest zero
//   32  attributes u16      bit 0 set = resource database
//   34  version u16
//   36  creation time u32   (see palm_time.h)
//   40  modification time u32
//   44  backup time u32
//   48  modification number u32
//   52  application-info offset u32, 0 = none
//   56  sort-info offset u32, 0 = none
//   60  type u32, 64 creator u32, 68 unique ID seed u32
//   72  next entry list u32 (always 0)
//   76  entry count n u16
//   78  n entries: resource = type u32, id u16, offset u32 (10 bytes)
//                  record   = offset u32, attributes u8, unique ID u24 (8)
//   78 + list: two zero bytes
//   then application info, sort info and the entries' data, without gaps.
// An entry's size runs to the next entry's offset, the last one's to the end
// of the file.
//
// Writing is sequential: the header and the whole entry list are reserved
// first, then each entry's bytes are appended. Every operation returns a
// PdbStatus and never throws. A handle keeps its first failure ("sticky"
// status) and refuses further work until it is released.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdb/file_stream.h"
#include "pdb/pdb_reason.h"
#include "pdb/stream.h"

namespace kv {

// What an operation did; it cannot be dropped unread.
enum class [[nodiscard]] PdbStatus : int{
    kOk = 0,
    // Index not below the entry count; an entry or block without data; an
    // operation on the wrong kind of database; a block written too late.
    kBadArgument = 1025,
    kTooManyEntries = 1026,
    kNotFound = 1028,
    kNoMemory = 1029,
    kInvalidFile = 1032,
    kCreateFailed = 1033,
    kOpenFailed = 1034,
    kStreamError = 1035,
    kIncomplete = 1036,
};

inline constexpr std::uint16_t kResourceDatabaseAttribute = 0x0001;
inline constexpr std::uint8_t kRecordDeletedAttribute = 0x80;
inline constexpr std::uint32_t kMaxDatabaseEntries = 65535;
inline constexpr std::size_t kDatabaseHeaderSize = 78;
inline constexpr std::size_t kDatabaseNameSize = 32;

enum class DatabaseKind : std::uint8_t { kResource = 1, kRecord = 2 };

// Four-character codes: the first character in the most significant byte.
constexpr std::uint32_t FourCharCode(const char (&text)[5]) {
  return (std::uint32_t{static_cast<unsigned char>(text[0])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(text[1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(text[2])} << 8) |
         std::uint32_t{static_cast<unsigned char>(text[3])};
}

struct CreateParams {
  std::string path;  // used only by CreateDatabaseFile
  std::string name;  // at most 31 bytes are stored
  std::uint16_t attributes = 0;
  std::uint16_t version = 0;
  std::int64_t creation_time = 0;  // Unix seconds, 0 = never
  std::int64_t modification_time = 0;
  std::int64_t backup_time = 0;
  std::uint32_t modification_number = 0;
  std::uint32_t type = 0;
  std::uint32_t creator = 0;
  std::uint32_t unique_id_seed = 0;
  std::uint32_t entry_count = 0;  // entries to reserve, at most 65535
};

struct DatabaseInfo {
  std::string path;  // empty when the caller owns the stream
  char name[kDatabaseNameSize] = {};
  std::uint16_t attributes = 0;
  std::uint16_t version = 0;
  std::int64_t creation_time = 0;
  std::int64_t modification_time = 0;
  std::int64_t backup_time = 0;
  std::uint32_t modification_number = 0;
  std::uint32_t type = 0;
  std::uint32_t creator = 0;
  std::uint32_t unique_id_seed = 0;
  std::uint32_t entry_count = 0;
  DatabaseKind kind = DatabaseKind::kResource;
};

struct ResourceInfo {
  std::uint32_t size = 0;
  std::uint32_t type = 0;
  std::uint16_t id = 0;
  std::uint32_t offset = 0;  // filled by reads, ignored by AddResource
};

struct RecordInfo {
  std::uint32_t size = 0;
  std::uint16_t attributes = 0;
  std::uint32_t unique_id = 0;  // 24 bits used
  std::uint32_t offset = 0;     // filled by reads, ignored by AddRecord
};

struct StorageEstimate {
  std::uint32_t empty_records = 0;
  std::uint64_t rounded_entry_bytes = 0;
  std::uint32_t app_info_size = 0;
  std::uint32_t sort_info_size = 0;
  std::uint64_t handheld_bytes = 0;
};

enum class DatabaseMode : std::uint8_t { kRead = 0, kWrite = 1 };

struct DatabaseHandle {
  std::string path;  // set when the library opened the file and owns `stream`
  DatabaseMode mode = DatabaseMode::kRead;
  DatabaseKind kind = DatabaseKind::kResource;
  Stream* stream = nullptr;
  std::unique_ptr<FileStream> owned_file;  // the stream when `path` is set
  std::uint32_t data_start = 0;
  std::uint32_t next_data_offset = 0;
  std::uint32_t entry_count = 0;
  std::uint32_t reserved_count = 0;
  std::uint32_t app_info_offset = 0;
  std::uint32_t sort_info_offset = 0;
  bool modified = false;
  PdbStatus status = PdbStatus::kOk;
  std::vector<std::uint8_t> scratch;  // holds what the read operations return
};

using DatabasePtr = std::unique_ptr<DatabaseHandle>;

// --- Writing -------------------------------------------------------------

// Builds a write handle on the caller's stream (which the library never
// closes), writes the header and reserves the entry list. On failure `out`
// stays empty.
PdbStatus CreateDatabase(Stream& stream, const CreateParams& params, DatabasePtr* out);
// Creates params.path ("w+b") and a database in it; the handle owns the file.
// On failure the file is removed again.
PdbStatus CreateDatabaseFile(const CreateParams& params, DatabasePtr* out);

PdbStatus AddResource(DatabaseHandle& handle, const ResourceInfo& info, const std::uint8_t* bytes);
// A record of size 0 is stored with offset 0 and the deleted attribute.
PdbStatus AddRecord(DatabaseHandle& handle, const RecordInfo& info, const std::uint8_t* bytes);

// REQUIRES: no entry has been added yet; the sort-info block comes after the
// application-info block.
PdbStatus WriteAppInfoBlock(DatabaseHandle& handle, const std::uint8_t* bytes, std::uint32_t size);
PdbStatus WriteSortInfoBlock(DatabaseHandle& handle, const std::uint8_t* bytes, std::uint32_t size);

// Read handles are released. A write handle with fewer entries than reserved
// gives PdbStatus::kIncomplete and stays open (abort it); otherwise it is flushed,
// released, and its file closed when the library owns it.
PdbStatus CloseDatabase(DatabasePtr* handle);
// Releases the handle; a file the library created itself is removed.
PdbStatus AbortDatabase(DatabasePtr* handle);

// --- Reading -------------------------------------------------------------

// Validates the whole structure (ValidateDatabaseFile), then builds a read
// handle on the caller's stream. When the file is refused, `reason` (if
// given) says why; the status is the same with or without it.
PdbStatus OpenDatabase(Stream& stream, DatabasePtr* out, PdbReason* reason = nullptr);
PdbStatus OpenDatabaseFile(const std::string& path, DatabasePtr* out, PdbReason* reason = nullptr);
// Every structural rule gives PdbStatus::kInvalidFile; `reason` tells them apart.
PdbStatus ValidateDatabaseFile(Stream& stream, PdbReason* reason = nullptr);

PdbStatus ReadDatabaseInfo(DatabaseHandle& handle, DatabaseInfo* info);
PdbStatus GetResourceInfo(DatabaseHandle& handle, std::uint32_t index, ResourceInfo* info);
// The bytes stay valid until the next read or the release of the handle.
PdbStatus ReadResource(DatabaseHandle& handle, std::uint32_t index, ResourceInfo* info,
                       const std::uint8_t** bytes);
// PdbStatus::kNotFound (not recorded in the handle) and index -1 when nothing matches.
PdbStatus FindResource(DatabaseHandle& handle, std::uint32_t type, std::uint16_t id,
                       std::int32_t* index);
PdbStatus GetRecordInfo(DatabaseHandle& handle, std::uint32_t index, RecordInfo* info);
PdbStatus ReadRecord(DatabaseHandle& handle, std::uint32_t index, RecordInfo* info,
                     const std::uint8_t** bytes);

// Sizes are 0 when the block is absent; reading an absent block gives size 0
// and no bytes.
PdbStatus GetAppInfoSize(DatabaseHandle& handle, std::uint32_t* size);
PdbStatus GetSortInfoSize(DatabaseHandle& handle, std::uint32_t* size);
PdbStatus ReadAppInfoBlock(DatabaseHandle& handle, const std::uint8_t** bytes, std::uint32_t* size);
PdbStatus ReadSortInfoBlock(DatabaseHandle& handle, const std::uint8_t** bytes,
                            std::uint32_t* size);

PdbStatus GetDatabaseStatus(const DatabaseHandle& handle);

// Bytes the database would occupy on a handheld that allocates in blocks of
// `block_size` bytes.
PdbStatus EstimateStorage(DatabaseHandle& handle, std::uint32_t block_size,
                          StorageEstimate* estimate);

// Rewrites the header of an existing file in place with a new version,
// creator, type and the decimal number in `seed_text` as unique ID seed.
PdbStatus RewriteDatabaseHeader(const std::string& path, std::uint16_t version,
                                std::uint32_t creator, std::uint32_t type,
                                const std::string& seed_text);

}  // namespace kv

#endif  // KORVALE_PDB_DATABASE_H_
