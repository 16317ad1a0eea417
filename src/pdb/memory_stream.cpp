#include "pdb/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kv {

namespace {
// Palm databases address their contents with 32-bit offsets, so nothing we
// hold in memory needs to grow beyond that.
constexpr std::uint64_t kMaxMemoryStreamSize = std::uint64_t{1} << 32;
}  // namespace

bool MemoryStream::Seek(std::uint64_t offset) {
  position_ = offset;
  return true;
}

bool MemoryStream::Tell(std::uint64_t* offset) {
  *offset = position_;
  return true;
}

bool MemoryStream::Length(std::uint64_t* length) {
  *length = bytes_.size();
  return true;
}

std::size_t MemoryStream::Read(void* dst, std::size_t count) {
  if (position_ >= bytes_.size()) return 0;
  std::size_t available = bytes_.size() - static_cast<std::size_t>(position_);
  std::size_t moved = std::min(count, available);
  std::memcpy(dst, bytes_.data() + position_, moved);
  position_ += moved;
  return moved;
}

std::size_t MemoryStream::Write(const void* src, std::size_t count) {
  if (count == 0) return 0;
  if (position_ > kMaxMemoryStreamSize || count > kMaxMemoryStreamSize - position_) return 0;
  std::size_t end = static_cast<std::size_t>(position_) + count;
  try {
    if (end > bytes_.size()) bytes_.resize(end, 0);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  std::memcpy(bytes_.data() + position_, src, count);
  position_ = end;
  return count;
}

}  // namespace kv
