#include "map/throw_on_status.h"

#include "base/exceptions.h"

namespace kv {

namespace {

template <typename Error>
[[noreturn]] void Raise(const char* file_name, const char* reason, int system_error) {
  Error error(file_name);
  error.set_reason(reason);
  error.set_system_error(system_error);
  throw error;
}

// The library never gives these two, but the numbers of its range have
// always meant these failures.
constexpr auto kUnproducedOpenFailure = static_cast<PdbStatus>(1027);
constexpr auto kUnproducedWriteFailure = static_cast<PdbStatus>(1030);

}  // namespace

void ThrowOnStatus(PdbStatus status, const char* file_name, const char* reason, int system_error) {
  if (status == kUnproducedOpenFailure) Raise<ErrFileOpen>(file_name, reason, system_error);
  if (status == kUnproducedWriteFailure) Raise<ErrFileWrite>(file_name, reason, system_error);
  switch (status) {
    case PdbStatus::kOk:
      return;
    case PdbStatus::kTooManyEntries:
    case PdbStatus::kNotFound:
      Raise<ErrImageFileCorrupt>(file_name, reason, system_error);
    case PdbStatus::kOpenFailed:
      Raise<ErrFileOpen>(file_name, reason, system_error);
    case PdbStatus::kNoMemory:
      Raise<ErrBadAlloc>(file_name, reason, system_error);
    case PdbStatus::kStreamError:
    case PdbStatus::kIncomplete:
      Raise<ErrFileWrite>(file_name, reason, system_error);
    case PdbStatus::kInvalidFile:
      Raise<ErrNotOurFile>(file_name, reason, system_error);
    case PdbStatus::kCreateFailed:
      Raise<ErrFileCreate>(file_name, reason, system_error);
    default:
      Raise<ErrUnknown>(file_name, reason, system_error);
  }
}

void ThrowOnStatus(PdbStatus status, const char* file_name, const PdbReason& reason) {
  ThrowOnStatus(status, file_name, reason.text, reason.system_error);
}

}  // namespace kv
