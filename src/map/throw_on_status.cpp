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

}  // namespace

void ThrowOnStatus(PdbStatus status, const char* file_name, const char* reason, int system_error) {
  switch (status) {
    case kPdbOk:
      return;
    case 1026:
    case 1028:
      Raise<ErrImageFileCorrupt>(file_name, reason, system_error);
    case 1027:
    case 1034:
      Raise<ErrFileOpen>(file_name, reason, system_error);
    case 1029:
      Raise<ErrBadAlloc>(file_name, reason, system_error);
    case 1030:
    case 1035:
    case 1036:
      Raise<ErrFileWrite>(file_name, reason, system_error);
    case 1032:
      Raise<ErrNotOurFile>(file_name, reason, system_error);
    case 1033:
      Raise<ErrFileCreate>(file_name, reason, system_error);
    default:
      Raise<ErrUnknown>(file_name, reason, system_error);
  }
}

void ThrowOnStatus(PdbStatus status, const char* file_name, const PdbReason& reason) {
  ThrowOnStatus(status, file_name, reason.text, reason.system_error);
}

}  // namespace kv
