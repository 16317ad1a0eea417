#ifndef KORVALE_PDB_DATABASE_INTERNAL_H_
#define KORVALE_PDB_DATABASE_INTERNAL_H_

// Helpers shared by the database reader and writer; not part of the API.

#include "pdb/database.h"
#include "pdb/database_format.h"

namespace kv::internal {

// Records a failure in the handle's sticky status and returns it.
inline PdbStatus Fail(DatabaseHandle& handle, PdbStatus status) {
  handle.status = status;
  return status;
}

// Closes what the handle owns and destroys it. A failed close or, for a
// write handle on the caller's stream, a failed flush gives PdbStatus::kStreamError.
PdbStatus ReleaseHandle(DatabasePtr* handle);

// Reads entry `index` of the list (no range check).
PdbStatus ReadEntry(DatabaseHandle& handle, std::uint32_t index, EntryFields* entry);

}  // namespace kv::internal

#endif  // KORVALE_PDB_DATABASE_INTERNAL_H_
