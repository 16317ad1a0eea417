#include "bitmap/scanline_compression.h"

#include <algorithm>

namespace kv {

namespace {
constexpr std::size_t kGroupSize = 8;

std::uint8_t FlagBit(std::size_t k) { return static_cast<std::uint8_t>(0x80u >> (k % kGroupSize)); }
}  // namespace

// Writes into room for the worst case (every byte stored) and gives back
// what was not used: one pass with no per-byte growth checks.
void EncodeScanlineRow(std::span<const std::uint8_t> row, std::span<const std::uint8_t> above,
                       bool first_row, std::vector<std::uint8_t>* output) {
  const std::size_t start = output->size();
  output->resize(start + row.size() + MinScanlineRowInput(row.size()));
  std::uint8_t* out = output->data() + start;
  for (std::size_t group = 0; group < row.size(); group += kGroupSize) {
    std::uint8_t* flags = out++;
    std::uint8_t bits = 0;
    const std::size_t end = std::min(row.size(), group + kGroupSize);
    for (std::size_t k = group; k < end; ++k) {
      if (first_row || row[k] != above[k]) {
        bits |= FlagBit(k);
        *out++ = row[k];
      }
    }
    *flags = bits;
  }
  output->resize(static_cast<std::size_t>(out - output->data()));
}

bool DecodeScanlineRow(std::span<const std::uint8_t> input, std::span<std::uint8_t> row,
                       std::size_t* consumed) {
  std::size_t in = 0;
  std::uint8_t flags = 0;
  for (std::size_t k = 0; k < row.size(); ++k) {
    if (k % kGroupSize == 0) {
      if (in >= input.size()) return false;
      flags = input[in++];
    }
    if ((flags & FlagBit(k)) != 0) {
      if (in >= input.size()) return false;
      row[k] = input[in++];
    }
  }
  *consumed = in;
  return true;
}

}  // namespace kv
