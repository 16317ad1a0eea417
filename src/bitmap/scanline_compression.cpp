#include "bitmap/scanline_compression.h"

namespace kv {

namespace {
constexpr std::size_t kGroupSize = 8;

std::uint8_t FlagBit(std::size_t k) { return static_cast<std::uint8_t>(0x80u >> (k % kGroupSize)); }
}  // namespace

void EncodeScanlineRow(std::span<const std::uint8_t> row, std::span<const std::uint8_t> above,
                       bool first_row, std::vector<std::uint8_t>* output) {
  std::size_t flag_pos = 0;
  for (std::size_t k = 0; k < row.size(); ++k) {
    if (k % kGroupSize == 0) {
      flag_pos = output->size();
      output->push_back(0);
    }
    if (first_row || row[k] != above[k]) {
      (*output)[flag_pos] |= FlagBit(k);
      output->push_back(row[k]);
    }
  }
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
