#include "bitmap/palm/rle_compression.h"

#include <algorithm>

namespace kv {

std::size_t EncodeRleRowInto(std::span<const std::uint8_t> row, bool last_row, std::uint8_t* out) {
  std::uint8_t* const start = out;
  const auto emit = [&out](std::size_t count, std::uint8_t value) {
    *out++ = static_cast<std::uint8_t>(count);
    *out++ = value;
  };
  if (!row.empty()) {
    std::uint8_t value = row[0];
    std::size_t count = 1;
    for (std::size_t k = 1; k < row.size(); ++k) {
      if (row[k] == value && count < kMaxRleRun) {
        ++count;
      } else {
        emit(count, value);
        value = row[k];
        count = 1;
      }
    }
    emit(count, value);
  }
  if (last_row) emit(0, 0);
  return static_cast<std::size_t>(out - start);
}

void EncodeRleRow(std::span<const std::uint8_t> row, bool last_row,
                  std::vector<std::uint8_t>* output) {
  const std::size_t start = output->size();
  output->resize(start + MaxRleRowOutput(row.size()));
  output->resize(start + EncodeRleRowInto(row, last_row, output->data() + start));
}

bool DecodeRleRow(std::span<const std::uint8_t> input, std::span<std::uint8_t> row,
                  std::size_t* consumed) {
  std::size_t in = 0;
  std::size_t filled = 0;
  while (filled < row.size()) {
    if (input.size() - in < 2) return false;
    const std::size_t count = std::min<std::size_t>(input[in], row.size() - filled);
    const std::uint8_t value = input[in + 1];
    in += 2;
    std::fill_n(row.begin() + static_cast<std::ptrdiff_t>(filled), count, value);
    filled += count;
  }
  *consumed = in;
  return true;
}

}  // namespace kv
