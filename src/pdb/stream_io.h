#ifndef KORVALE_PDB_STREAM_IO_H_
#define KORVALE_PDB_STREAM_IO_H_

// Positioned whole reads and writes: anything short is a failure.

#include <cstddef>
#include <cstdint>

#include "pdb/stream.h"

namespace kv {

inline bool ReadAt(Stream& stream, std::uint64_t offset, void* dst, std::size_t count) {
  return stream.Seek(offset) && stream.Read(dst, count) == count;
}

inline bool WriteAt(Stream& stream, std::uint64_t offset, const void* src, std::size_t count) {
  return stream.Seek(offset) && stream.Write(src, count) == count;
}

}  // namespace kv

#endif  // KORVALE_PDB_STREAM_IO_H_
