#ifndef KORVALE_TESTS_PDB_TEST_STREAMS_H_
#define KORVALE_TESTS_PDB_TEST_STREAMS_H_

// Streams that fail on purpose: a disk that fills up after a number of bytes,
// and a stream that has been closed under the library.

#include <cstdint>
#include <vector>

#include "pdb/memory_stream.h"

namespace kv::testing {

class FailingStream final : public Stream {
 public:
  // Writes succeed until `capacity` bytes have been written in all.
  explicit FailingStream(std::uint64_t capacity) : capacity_(capacity) {}

  void Close() { closed_ = true; }
  const std::vector<std::uint8_t>& bytes() const { return inner_.bytes(); }

  bool Seek(std::uint64_t offset) override { return !closed_ && inner_.Seek(offset); }
  bool Tell(std::uint64_t* offset) override { return !closed_ && inner_.Tell(offset); }
  bool Length(std::uint64_t* length) override { return !closed_ && inner_.Length(length); }
  std::size_t Read(void* dst, std::size_t count) override {
    return closed_ ? 0 : inner_.Read(dst, count);
  }
  std::size_t Write(const void* src, std::size_t count) override {
    if (closed_ || written_ >= capacity_) return 0;
    std::size_t allowed = count;
    if (capacity_ - written_ < count) allowed = static_cast<std::size_t>(capacity_ - written_);
    written_ += allowed;
    return inner_.Write(src, allowed);
  }
  bool Flush() override { return !closed_; }

 private:
  MemoryStream inner_;
  std::uint64_t capacity_;
  std::uint64_t written_ = 0;
  bool closed_ = false;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_PDB_TEST_STREAMS_H_
