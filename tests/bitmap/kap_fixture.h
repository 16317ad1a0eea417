#ifndef KORVALE_TESTS_BITMAP_KAP_FIXTURE_H_
#define KORVALE_TESTS_BITMAP_KAP_FIXTURE_H_

// Builds small BSB charts (".kap") byte by byte: a text header of lines
// ending CR LF, 0x1A 0x00, the depth byte, run-length rows and the row
// index. Row encoding: the row number (from 1) in 7-bit groups, most
// significant first, bit 7 set on every group but the last; then runs,
// each a byte holding the colour (1 to 2^depth - 1) above the top bits of
// the run length minus one, bit 7 set when more length bytes follow (7 bits
// each, bit 7 again marking a follower); a 0 byte ends the row. The index is
// one big-endian offset per row, then the offset of the index itself.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kv::testing {

struct KapReference {
  int x, y;
  double latitude, longitude;
};

struct KapParams {
  int width = 20;
  int height = 12;
  int depth = 4;
  std::string projection = "MERCATOR";
  std::vector<std::uint32_t> palette{};  // RGB/1 ... as 0x00RRGGBB
  std::vector<KapReference> references{};
};

// colour(x, y): the chart's colour number, 1 .. palette size.
using KapColour = std::function<int(int x, int y)>;

inline void AppendText(std::vector<std::uint8_t>& bytes, const std::string& line) {
  bytes.insert(bytes.end(), line.begin(), line.end());
  bytes.push_back('\r');
  bytes.push_back('\n');
}

inline void AppendBig32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void AppendRowNumber(std::vector<std::uint8_t>& bytes, std::uint32_t number) {
  int groups = 1;
  while (groups < 5 && (number >> (7 * groups)) != 0) ++groups;
  for (int i = groups - 1; i >= 0; --i) {
    const auto group = static_cast<std::uint8_t>((number >> (7 * i)) & 0x7F);
    bytes.push_back(i > 0 ? (group | 0x80) : group);
  }
}

inline void AppendRun(std::vector<std::uint8_t>& bytes, int colour, std::uint32_t length,
                      int depth) {
  const std::uint32_t value = length - 1;
  const int first_bits = 7 - depth;
  int followers = 0;
  while ((value >> (first_bits + 7 * followers)) != 0) ++followers;
  std::uint8_t first =
      static_cast<std::uint8_t>((colour << first_bits) | (value >> (7 * followers)));
  if (followers > 0) first |= 0x80;
  bytes.push_back(first);
  for (int i = followers - 1; i >= 0; --i) {
    const auto group = static_cast<std::uint8_t>((value >> (7 * i)) & 0x7F);
    bytes.push_back(i > 0 ? (group | 0x80) : group);
  }
}

inline std::vector<std::uint8_t> MakeKap(const KapParams& params, const KapColour& colour) {
  std::vector<std::uint8_t> bytes;
  char line[256];
  AppendText(bytes, "! test chart");
  AppendText(bytes, "VER/2.0");
  std::snprintf(line, sizeof line, "BSB/NA=TEST,NU=1,RA=%d,%d,DU=254", params.width, params.height);
  AppendText(bytes, line);
  AppendText(bytes,
             "KNP/SC=10000,GD=WGS84,PR=" + params.projection +
                 ",PP=0.0,PI=UNKNOWN,SP=UNKNOWN,SK=0.0,TA=90.0,UN=METERS,SD=MLLW,DX=1.0,DY=1.0");
  for (std::size_t i = 0; i < params.palette.size(); ++i) {
    const std::uint32_t rgb = params.palette[i];
    std::snprintf(line, sizeof line, "RGB/%zu,%u,%u,%u", i + 1, rgb >> 16, (rgb >> 8) & 0xFF,
                  rgb & 0xFF);
    AppendText(bytes, line);
  }
  for (std::size_t i = 0; i < params.references.size(); ++i) {
    const KapReference& ref = params.references[i];
    std::snprintf(line, sizeof line, "REF/%zu,%d,%d,%.9f,%.9f", i + 1, ref.x, ref.y, ref.latitude,
                  ref.longitude);
    AppendText(bytes, line);
  }
  std::snprintf(line, sizeof line, "IFM/%d", params.depth);
  AppendText(bytes, line);
  const std::size_t header_size = bytes.size();
  bytes.push_back(0x1A);
  bytes.push_back(0x00);
  bytes.push_back(static_cast<std::uint8_t>(params.depth));

  std::vector<std::uint32_t> row_offsets;
  for (int y = 0; y < params.height; ++y) {
    row_offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
    AppendRowNumber(bytes, static_cast<std::uint32_t>(y + 1));
    for (int x = 0; x < params.width;) {
      const int value = colour(x, y);
      int length = 1;
      while (x + length < params.width && colour(x + length, y) == value) ++length;
      AppendRun(bytes, value, static_cast<std::uint32_t>(length), params.depth);
      x += length;
    }
    bytes.push_back(0);
  }
  // The reader takes its header through a 1 KiB buffer and stops at the end
  // of the file: a small chart is padded so that plenty follows the header.
  if (bytes.size() < header_size + 2048) bytes.resize(header_size + 2048, 0);
  const auto index_offset = static_cast<std::uint32_t>(bytes.size());
  for (std::uint32_t offset : row_offsets) AppendBig32(bytes, offset);
  AppendBig32(bytes, index_offset);
  return bytes;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_BITMAP_KAP_FIXTURE_H_
