#include "map/throw_on_status.h"

#include "base/exceptions.h"

namespace kv {

void ThrowOnStatus(PdbStatus status, const char* file_name) {
  switch (status) {
    case kPdbOk:
      return;
    case 1026:
    case 1028:
      throw ErrImageFileCorrupt(file_name);
    case 1027:
    case 1034:
      throw ErrFileOpen(file_name);
    case 1029:
      throw ErrBadAlloc(file_name);
    case 1030:
    case 1035:
    case 1036:
      throw ErrFileWrite(file_name);
    case 1032:
      throw ErrNotOurFile(file_name);
    case 1033:
      throw ErrFileCreate(file_name);
    default:
      throw ErrUnknown(file_name);
  }
}

}  // namespace kv
