#ifndef KORVALE_PDB_STREAM_H_
#define KORVALE_PDB_STREAM_H_

// A seekable byte stream, the only I/O the database library needs. Files,
// memory and (in tests) failing streams implement it. Failures are reported
// by return values; nothing here throws.

#include <cstddef>
#include <cstdint>

namespace kv {

class Stream {
 public:
  virtual ~Stream() = default;

  // Moves the position to an absolute offset. Seeking past the end is allowed;
  // a later write fills the gap with zeros.
  virtual bool Seek(std::uint64_t offset) = 0;
  virtual bool Tell(std::uint64_t* offset) = 0;
  virtual bool Length(std::uint64_t* length) = 0;
  // Both return the number of bytes moved; fewer than asked is a failure.
  virtual std::size_t Read(void* dst, std::size_t count) = 0;
  virtual std::size_t Write(const void* src, std::size_t count) = 0;
  // Pushes buffered writes out so that a full disk shows up here.
  virtual bool Flush() = 0;
};

}  // namespace kv

#endif  // KORVALE_PDB_STREAM_H_
