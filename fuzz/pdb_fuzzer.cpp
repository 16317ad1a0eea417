// Opens arbitrary bytes as a Palm database and reads everything in it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "pdb/database.h"
#include "pdb/memory_stream.h"

namespace {

// Every read is tried whatever the ones before gave: a failure sticks to the
// handle, and what the handle does after one is exercised too.
void ReadEverything(kv::DatabaseHandle& handle) {
  kv::DatabaseInfo info;
  static_cast<void>(kv::ReadDatabaseInfo(handle, &info));
  const std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  static_cast<void>(kv::ReadAppInfoBlock(handle, &bytes, &size));
  static_cast<void>(kv::ReadSortInfoBlock(handle, &bytes, &size));
  for (std::uint32_t i = 0; i < handle.entry_count; ++i) {
    if (handle.kind == kv::DatabaseKind::kResource) {
      kv::ResourceInfo resource;
      if (kv::ReadResource(handle, i, &resource, &bytes) == kv::PdbStatus::kOk) {
        // Touch the ends so that ASan sees a read past the data.
        volatile std::uint8_t sink = bytes[0];
        sink = bytes[resource.size - 1];
        (void)sink;
        std::int32_t index = 0;
        static_cast<void>(kv::FindResource(handle, resource.type, resource.id, &index));
      }
    } else {
      kv::RecordInfo record;
      if (kv::ReadRecord(handle, i, &record, &bytes) == kv::PdbStatus::kOk && record.size != 0) {
        volatile std::uint8_t sink = bytes[record.size - 1];
        (void)sink;
      }
    }
  }
  kv::StorageEstimate estimate;
  static_cast<void>(kv::EstimateStorage(handle, 4096, &estimate));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::MemoryStream stream(std::span<const std::uint8_t>(data, size));
  kv::DatabasePtr handle;
  kv::PdbReason reason;
  if (kv::OpenDatabase(stream, &handle, &reason) != kv::PdbStatus::kOk) {
    // The reason is text for the user: terminated inside its buffer.
    if (std::memchr(reason.text, '\0', sizeof reason.text) == nullptr) __builtin_trap();
    return 0;
  }
  ReadEverything(*handle);
  static_cast<void>(kv::CloseDatabase(&handle));
  return 0;
}
