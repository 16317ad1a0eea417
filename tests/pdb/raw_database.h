#ifndef KORVALE_TESTS_PDB_RAW_DATABASE_H_
#define KORVALE_TESTS_PDB_RAW_DATABASE_H_

// Hand-made database files, byte by byte, for the validation and reading
// tests: each test starts from a valid file and breaks one thing.

#include <cstdint>
#include <cstring>
#include <vector>

#include "pdb/big_endian.h"

namespace kv::testing {

struct RawEntry {
  std::uint32_t offset = 0;
  std::uint32_t type = 0x54626D70;  // "Tbmp"
  std::uint16_t id = 0;
  std::uint8_t attributes = 0;  // record entries
  std::uint32_t unique_id = 0;  // record entries
};

struct RawDatabase {
  bool resource = true;
  std::vector<RawEntry> entries;
  std::uint32_t app_info = 0;
  std::uint32_t sort_info = 0;
  std::uint32_t next_list = 0;
  std::uint32_t type = 0x74424D50;  // "tBMP"

  std::uint32_t EntrySize() const { return resource ? 10 : 8; }
  // Where data may start: after the list and its two zero bytes.
  std::uint32_t DataStart() const {
    return 80 + static_cast<std::uint32_t>(entries.size()) * EntrySize();
  }

  // The header and list, padded with 0xEE to `length` bytes.
  std::vector<std::uint8_t> Bytes(std::size_t length) const {
    std::vector<std::uint8_t> bytes(length, 0xEE);
    std::size_t head = DataStart();
    std::memset(bytes.data(), 0, head < length ? head : length);
    std::vector<std::uint8_t> header(head, 0);
    std::memcpy(header.data(), "Raw", 3);
    EncodeBig16(&header[32], resource ? 1 : 0);
    EncodeBig32(&header[52], app_info);
    EncodeBig32(&header[56], sort_info);
    EncodeBig32(&header[60], type);
    EncodeBig32(&header[64], 0x446F4461);  // "DoDa"
    EncodeBig32(&header[72], next_list);
    EncodeBig16(&header[76], static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::uint8_t* e = &header[78 + i * EntrySize()];
      if (resource) {
        EncodeBig32(e, entries[i].type);
        EncodeBig16(e + 4, entries[i].id);
        EncodeBig32(e + 6, entries[i].offset);
      } else {
        EncodeBig32(e, entries[i].offset);
        e[4] = entries[i].attributes;
        EncodeBig24(e + 5, entries[i].unique_id);
      }
    }
    std::memcpy(bytes.data(), header.data(), head < length ? head : length);
    return bytes;
  }
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_PDB_RAW_DATABASE_H_
