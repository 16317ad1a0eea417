#ifndef KORVALE_PDB_MEMORY_STREAM_H_
#define KORVALE_PDB_MEMORY_STREAM_H_

#include <cstdint>
#include <span>
#include <vector>

#include "pdb/stream.h"

namespace kv {

// A Stream over bytes in memory: databases built for installation, and tests
// and fuzzers that must not need the disk.
class MemoryStream final : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}

  bool Seek(std::uint64_t offset) override;
  bool Tell(std::uint64_t* offset) override;
  bool Length(std::uint64_t* length) override;
  std::size_t Read(void* dst, std::size_t count) override;
  std::size_t Write(const void* src, std::size_t count) override;
  bool Flush() override { return true; }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t position_ = 0;
};

}  // namespace kv

#endif  // KORVALE_PDB_MEMORY_STREAM_H_
