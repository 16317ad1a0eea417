#ifndef KORVALE_PDB_PACK_RECORD_H_
#define KORVALE_PDB_PACK_RECORD_H_

// Writes fixed-layout big-endian records from a descriptor text.
//
// The descriptor is a list of items separated by ",". An item is an optional
// "z", a letter and an optional decimal count (missing or 0 means 1):
//   b  one byte per repetition: the slot's low 8 bits
//   w  one big-endian word per repetition: the slot's low 16 bits
//   l  one big-endian long per repetition: the whole slot
//   p  four zero bytes per repetition; the slot is stored in *out_value
//   tN a bit field N bits wide: the accumulator shifts left by N and the
//      slot's low byte is OR-ed in unmasked; each full 8 bits become a byte
// "z" emits zeros and consumes no slot (p still emits its zeros). Any other
// letter emits nothing. Each emitted field takes the next slot of `values`;
// slots past the end of `values` read as 0.
//
// Example: "w,w,w,w,b,b,w,b,b,zw" emits the 16-byte Palm bitmap header from
// nine slots.

#include <cstdint>
#include <span>
#include <string_view>

#include "pdb/output_buffer.h"

namespace kv {

// Returns 0, or 1 as soon as an append fails (what was appended stays).
// With a null buffer the descriptor is walked and nothing is emitted.
int PackRecord(OutputBuffer* buffer, std::span<const std::uint32_t> values,
               std::string_view descriptor, std::uint32_t* out_value = nullptr);

}  // namespace kv

#endif  // KORVALE_PDB_PACK_RECORD_H_
