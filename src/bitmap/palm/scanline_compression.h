#ifndef KORVALE_BITMAP_PALM_SCANLINE_COMPRESSION_H_
#define KORVALE_BITMAP_PALM_SCANLINE_COMPRESSION_H_

// Palm OS scanline compression (compressionType 0). Each row is cut into
// groups of up to 8 bytes; a group is a flag byte followed by the bytes whose
// flag bit is set (bit 7 for the group's first byte). A clear bit repeats the
// byte at the same position in the row above. Every bit is set in the first
// row; bits past the end of a short group are clear.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kv {

// The most bytes a row of `row_bytes` can take: every byte and its flags.
inline std::size_t MaxScanlineRowOutput(std::size_t row_bytes) {
  return row_bytes + (row_bytes + 7) / 8;
}

// Writes one encoded row to `out` and returns its length. `above` is not
// read when `first_row` is set; otherwise it has the row's size.
// REQUIRES: room for MaxScanlineRowOutput(row.size()) bytes at `out`.
std::size_t EncodeScanlineRowInto(std::span<const std::uint8_t> row,
                                  std::span<const std::uint8_t> above, bool first_row,
                                  std::uint8_t* out);

// Appends one encoded row, as EncodeScanlineRowInto writes it.
void EncodeScanlineRow(std::span<const std::uint8_t> row, std::span<const std::uint8_t> above,
                       bool first_row, std::vector<std::uint8_t>* output);

// Decodes one row from `input` into `row`, which already holds a copy of the
// row above. Returns false when `input` ends before the row does; otherwise
// sets `consumed`.
bool DecodeScanlineRow(std::span<const std::uint8_t> input, std::span<std::uint8_t> row,
                       std::size_t* consumed);

// The fewest input bytes any row of `row_bytes` can take.
inline std::size_t MinScanlineRowInput(std::size_t row_bytes) { return (row_bytes + 7) / 8; }

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_SCANLINE_COMPRESSION_H_
