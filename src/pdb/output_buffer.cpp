#include "pdb/output_buffer.h"

#include <new>
#include <stdexcept>

#include "pdb/big_endian.h"

namespace kv {

int AppendBytes(OutputBuffer* buffer, const void* bytes, std::size_t count) {
  if (buffer == nullptr || count == 0) return 0;
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  try {
    buffer->bytes.insert(buffer->bytes.end(), first, first + count);
  } catch (const std::bad_alloc&) {
    return 1;
  } catch (const std::length_error&) {
    return 1;
  }
  return 0;
}

int AppendByte(OutputBuffer* buffer, std::uint32_t value) {
  std::uint8_t byte = static_cast<std::uint8_t>(value);
  return AppendBytes(buffer, &byte, 1);
}

int AppendBig16(OutputBuffer* buffer, std::uint32_t value) {
  std::uint8_t bytes[2];
  EncodeBig16(bytes, static_cast<std::uint16_t>(value));
  return AppendBytes(buffer, bytes, sizeof bytes);
}

int AppendBig32(OutputBuffer* buffer, std::uint32_t value) {
  std::uint8_t bytes[4];
  EncodeBig32(bytes, value);
  return AppendBytes(buffer, bytes, sizeof bytes);
}

}  // namespace kv
