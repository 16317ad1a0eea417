#include "pdb/database_internal.h"

namespace kv {

namespace {

std::uint64_t RoundUp(std::uint64_t value, std::uint32_t block) {
  return (value + block - 1) / block * block;
}

PdbStatus EntrySizeAt(DatabaseHandle& handle, std::uint32_t index, std::uint32_t* size) {
  if (handle.kind == DatabaseKind::kResource) {
    ResourceInfo info;
    PdbStatus status = GetResourceInfo(handle, index, &info);
    *size = info.size;
    return status;
  }
  RecordInfo info;
  PdbStatus status = GetRecordInfo(handle, index, &info);
  *size = info.size;
  return status;
}

}  // namespace

PdbStatus EstimateStorage(DatabaseHandle& handle, std::uint32_t block_size,
                          StorageEstimate* estimate) {
  *estimate = StorageEstimate{};
  if (handle.status != PdbStatus::kOk) return handle.status;
  const std::uint32_t b = block_size == 0 ? 1 : block_size;
  for (std::uint32_t i = 0; i < handle.entry_count; ++i) {
    std::uint32_t size = 0;
    if (PdbStatus status = EntrySizeAt(handle, i, &size); status != PdbStatus::kOk) return status;
    if (size == 0) ++estimate->empty_records;
    estimate->rounded_entry_bytes += RoundUp(size, b);
  }
  PdbStatus status = GetAppInfoSize(handle, &estimate->app_info_size);
  if (status == PdbStatus::kOk) status = GetSortInfoSize(handle, &estimate->sort_info_size);
  if (status != PdbStatus::kOk) return status;

  const std::uint32_t entry_size = EntrySize(handle.kind);
  std::uint64_t total = RoundUp(EntryListEnd(handle.kind, handle.entry_count) + 2, b) + 8;
  if (estimate->app_info_size != 0) total += RoundUp(estimate->app_info_size, b) + 8;
  if (estimate->sort_info_size != 0) total += RoundUp(estimate->sort_info_size, b) + 8;
  total += std::uint64_t{entry_size} * (handle.entry_count - estimate->empty_records);
  total += estimate->rounded_entry_bytes;
  estimate->handheld_bytes = total;
  return PdbStatus::kOk;
}

}  // namespace kv
