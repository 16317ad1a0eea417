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

// Validates and reads the database at `path`; throws the program's
// exceptions (ErrFileOpen, ErrNotOurFile, ...) carrying the path.
PdbListing ReadPdbListing(const std::string& path);

std::string PdbListingText(const PdbListing& listing);
std::string PdbListingJson(const PdbListing& listing);

}  // namespace kv::cli

#endif  // KORVALE_CLI_PDB_LISTING_H_
