#ifndef KORVALE_CLI_PDB_LISTING_H_
#define KORVALE_CLI_PDB_LISTING_H_

// What `kvmap pdb` shows of a database: its header and its entry list.

#include <cstdint>
#include <string>
#include <vector>

#include "pdb/database.h"

namespace kv::cli {

struct PdbEntryListing {
  std::uint32_t index = 0;
  std::uint32_t type = 0;        // resource databases
  std::uint16_t id = 0;          // resource databases
  std::uint16_t attributes = 0;  // record databases
  std::uint32_t unique_id = 0;   // record databases
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};

struct PdbListing {
  DatabaseInfo info;
  std::uint32_t app_info_size = 0;
  std::uint32_t sort_info_size = 0;
  std::vector<PdbEntryListing> entries;
};

// Why the database library refused a file.
struct PdbRefusal {
  PdbStatus status = PdbStatus::kOk;
  PdbReason reason;
};

// Validates and reads the database at `path`. A file the library refuses
// gives false and fills `refusal`; only running out of memory throws.
bool ListPdbFile(const std::string& path, PdbListing* listing, PdbRefusal* refusal);

// ListPdbFile, with a refusal thrown as the program's exception
// (ErrFileOpen, ErrNotOurFile, ...) carrying the path and the reason.
PdbListing ReadPdbListing(const std::string& path);

// Raises the exception of a refusal of the file at `path`.
[[noreturn]] void ThrowRefusal(const std::string& path, const PdbRefusal& refusal);

std::string PdbListingText(const PdbListing& listing);
// Both JSON forms have "valid", so that a reader can tell them apart.
std::string PdbListingJson(const PdbListing& listing);
std::string PdbRefusalJson(const std::string& path, const PdbRefusal& refusal);

}  // namespace kv::cli

#endif  // KORVALE_CLI_PDB_LISTING_H_
