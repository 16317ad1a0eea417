#include "bitmap/palm/scanline_compression.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace kv {

namespace {
constexpr std::size_t kGroupSize = 8;

constexpr std::uint8_t FlagBit(std::size_t k) {
  return static_cast<std::uint8_t>(0x80u >> (k % kGroupSize));
}

// For each flag byte, the positions of the bytes it keeps, in order, and
// how many there are.
struct GroupPicks {
  std::array<std::array<std::uint8_t, kGroupSize>, 256> positions{};
  std::array<std::uint8_t, 256> counts{};
};

constexpr GroupPicks MakeGroupPicks() {
  GroupPicks picks;
  for (std::size_t flags = 0; flags < 256; ++flags) {
    std::uint8_t count = 0;
    for (std::size_t k = 0; k < kGroupSize; ++k) {
      if ((flags & FlagBit(k)) != 0) picks.positions[flags][count++] = static_cast<std::uint8_t>(k);
    }
    picks.counts[flags] = count;
  }
  return picks;
}

constexpr GroupPicks kGroupPicks = MakeGroupPicks();

// The flag byte of eight bytes against the eight above: bit 7 for the
// first byte, set where they differ. The differing bits of each byte are
// folded into its lowest bit, and one multiplication gathers those eight
// bits, the first byte's (lowest in memory) into bit 63.
std::uint8_t ChangedBytes(const std::uint8_t* row, const std::uint8_t* above) {
  std::uint64_t now = 0;
  std::uint64_t before = 0;
  std::memcpy(&now, row, sizeof now);
  std::memcpy(&before, above, sizeof before);
  if constexpr (std::endian::native == std::endian::big) {
    now = __builtin_bswap64(now);
    before = __builtin_bswap64(before);
  }
  std::uint64_t changed = now ^ before;
  changed |= changed >> 4;
  changed |= changed >> 2;
  changed |= changed >> 1;
  changed &= 0x0101010101010101u;
  return static_cast<std::uint8_t>((changed * 0x8040201008040201u) >> 56);
}

}  // namespace

std::size_t EncodeScanlineRowInto(std::span<const std::uint8_t> row,
                                  std::span<const std::uint8_t> above, bool first_row,
                                  std::uint8_t* out) {
  std::uint8_t* const start = out;
  std::size_t group = 0;
  if (!first_row) {
    for (; group + kGroupSize <= row.size(); group += kGroupSize) {
      const std::uint8_t flags = ChangedBytes(row.data() + group, above.data() + group);
      *out++ = flags;
      // Eight stores, whatever the flags: the room for the worst case
      // takes them, and the next group overwrites what is not kept.
      const std::array<std::uint8_t, kGroupSize>& picks = kGroupPicks.positions[flags];
      for (std::size_t j = 0; j < kGroupSize; ++j) out[j] = row[group + picks[j]];
      out += kGroupPicks.counts[flags];
    }
  }
  for (; group < row.size(); group += kGroupSize) {
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
  return static_cast<std::size_t>(out - start);
}

void EncodeScanlineRow(std::span<const std::uint8_t> row, std::span<const std::uint8_t> above,
                       bool first_row, std::vector<std::uint8_t>* output) {
  const std::size_t start = output->size();
  output->resize(start + MaxScanlineRowOutput(row.size()));
  output->resize(start + EncodeScanlineRowInto(row, above, first_row, output->data() + start));
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
