#ifndef KORVALE_PDB_OUTPUT_BUFFER_H_
#define KORVALE_PDB_OUTPUT_BUFFER_H_

// The growable byte buffer in which every Palm bitmap record is built before
// it is stored. Appends return 0 on success and 1 when memory runs out; the
// buffer then keeps what it had. A null buffer accepts appends and ignores
// them, so the same code can walk a layout without producing bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

struct OutputBuffer {
  std::vector<std::uint8_t> bytes;

  std::size_t length() const { return bytes.size(); }
};

int AppendBytes(OutputBuffer* buffer, const void* bytes, std::size_t count);
int AppendByte(OutputBuffer* buffer, std::uint32_t value);
// Big-endian: the low 16 or all 32 bits of the value, most significant first.
int AppendBig16(OutputBuffer* buffer, std::uint32_t value);
int AppendBig32(OutputBuffer* buffer, std::uint32_t value);

}  // namespace kv

#endif  // KORVALE_PDB_OUTPUT_BUFFER_H_
