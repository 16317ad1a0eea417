#ifndef KORVALE_BITMAP_PALM_RLE_COMPRESSION_H_
#define KORVALE_BITMAP_PALM_RLE_COMPRESSION_H_

// Palm OS run-length compression (compressionType 1). Each row is a list of
// (count, value) byte pairs, count 1 to 255, covering exactly the row; runs
// never cross rows. The last row of a bitmap is followed by the pair (0, 0).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kv {

inline constexpr std::size_t kMaxRleRun = 255;

// The most bytes a row of `row_bytes` can take: a pair per byte and the
// end pair.
inline std::size_t MaxRleRowOutput(std::size_t row_bytes) { return 2 * row_bytes + 2; }

// Writes one encoded row, and the end pair when `last_row` is set, to `out`
// and returns its length.
// REQUIRES: room for MaxRleRowOutput(row.size()) bytes at `out`.
std::size_t EncodeRleRowInto(std::span<const std::uint8_t> row, bool last_row, std::uint8_t* out);

// Appends one encoded row, as EncodeRleRowInto writes it.
void EncodeRleRow(std::span<const std::uint8_t> row, bool last_row,
                  std::vector<std::uint8_t>* output);

// Decodes one row from `input` into `row`. A pair's count is cut to what the
// row still needs; a pair of count 0 writes nothing. Returns false when
// `input` ends before the row is full; otherwise sets `consumed`.
bool DecodeRleRow(std::span<const std::uint8_t> input, std::span<std::uint8_t> row,
                  std::size_t* consumed);

// The fewest input bytes any row of `row_bytes` can take.
inline std::size_t MinRleRowInput(std::size_t row_bytes) {
  return 2 * ((row_bytes + kMaxRleRun - 1) / kMaxRleRun);
}

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_RLE_COMPRESSION_H_
