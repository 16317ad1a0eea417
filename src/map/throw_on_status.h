#ifndef KORVALE_MAP_THROW_ON_STATUS_H_
#define KORVALE_MAP_THROW_ON_STATUS_H_

// The boundary where database statuses become exceptions: every status of
// the database library that the map code receives goes through here.

#include "pdb/database.h"

namespace kv {

// Returns for PdbStatus::kOk; otherwise throws the exception of the status's table
// row, carrying `file_name` and `reason` when they are given.
// `system_error` is the system's error number (errno) behind it, 0 for none.
void ThrowOnStatus(PdbStatus status, const char* file_name = nullptr, const char* reason = nullptr,
                   int system_error = 0);
void ThrowOnStatus(PdbStatus status, const char* file_name, const PdbReason& reason);

}  // namespace kv

#endif  // KORVALE_MAP_THROW_ON_STATUS_H_
