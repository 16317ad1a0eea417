// Our records, decoded by netpbm's palmtopnm, must show the pixels we meant.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/synthetic_source.h"
#include "pdb/big_endian.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPalmToPnm = "/usr/bin/palmtopnm";

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
};

std::string ReadToken(std::istream& in) {
  std::string token;
  char c;
  while (in.get(c)) {
    if (c == '#') {
      std::string comment;
      std::getline(in, comment);
    } else if (!std::isspace(static_cast<unsigned char>(c))) {
      token += c;
      break;
    }
  }
  while (in.get(c) && !std::isspace(static_cast<unsigned char>(c))) token += c;
  return token;
}

// Reads P1..P6 into colours; grey and bit images become grey colours.
bool ParsePnm(const std::string& bytes, Image* image) {
  std::istringstream in(bytes);
  const std::string magic = ReadToken(in);
  if (magic.size() != 2 || magic[0] != 'P') return false;
  const char kind = magic[1];
  image->width = std::stoi(ReadToken(in));
  image->height = std::stoi(ReadToken(in));
  const bool bits = kind == '1' || kind == '4';
  const int maxval = bits ? 1 : std::stoi(ReadToken(in));
  const bool colour = kind == '3' || kind == '6';
  const bool plain = kind <= '3';
  const auto scale = [&](int v) { return static_cast<std::uint32_t>(v * 255 / maxval); };
  image->pixels.clear();
  for (int y = 0; y < image->height; ++y) {
    std::vector<unsigned char> packed;
    if (kind == '4') {
      packed.resize(static_cast<std::size_t>((image->width + 7) / 8));
      in.read(reinterpret_cast<char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
    }
    for (int x = 0; x < image->width; ++x) {
      std::uint32_t samples[3] = {0, 0, 0};
      for (int c = 0; c < (colour ? 3 : 1); ++c) {
        int v;
        if (kind == '4') {
          v = (packed[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
        } else if (plain) {
          v = std::stoi(ReadToken(in));
        } else {
          v = static_cast<unsigned char>(in.get());
        }
        if (bits) v = 1 - v;  // 1 is black
        samples[c] = scale(v);
      }
      if (!colour) samples[1] = samples[2] = samples[0];
      image->pixels.push_back(samples[0] << 16 | samples[1] << 8 | samples[2]);
    }
  }
  return static_cast<bool>(in);
}

// Runs palmtopnm on the record; false (with the reason) when it fails.
::testing::AssertionResult DecodeWithPeer(const std::vector<std::uint8_t>& record, Image* image) {
  TempFolder dir;
  if (dir.path().empty()) return ::testing::AssertionFailure() << "no temp directory";
  const fs::path input = dir.path() / "record.palm";
  const fs::path output = dir.path() / "record.pnm";
  {
    std::ofstream file(input, std::ios::binary);
    file.write(reinterpret_cast<const char*>(record.data()),
               static_cast<std::streamsize>(record.size()));
  }
  const std::string command = std::string(kPalmToPnm) + " '" + input.string() + "' > '" +
                              output.string() + "' 2> '" + (dir.path() / "err").string() + "'";
  if (std::system(command.c_str()) != 0) {
    std::ifstream err(dir.path() / "err");
    return ::testing::AssertionFailure()
           << "palmtopnm failed: " << std::string(std::istreambuf_iterator<char>(err), {});
  }
  std::ifstream file(output, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!ParsePnm(bytes, image)) return ::testing::AssertionFailure() << "unreadable PNM output";
  return ::testing::AssertionSuccess();
}

// palmtopnm widens 5- and 6-bit channels as v * 255 / max; undo it.
std::uint32_t PeerRgb565(std::uint32_t colour) {
  const auto narrow = [](std::uint32_t v, std::uint32_t max) { return (v * max + 127) / 255; };
  return narrow(colour >> 16 & 0xFF, 31) << 11 | narrow(colour >> 8 & 0xFF, 63) << 5 |
         narrow(colour & 0xFF, 31);
}

void ExpectPeerShowsOurPixels(const std::vector<std::uint8_t>& record, const char* what) {
  PalmBitmapDescriptor ours;
  ASSERT_EQ(ParseAndExpandPalmBitmap(record, &ours), ConversionStatus::kOk) << what;
  Image peer;
  ASSERT_TRUE(DecodeWithPeer(record, &peer)) << what;
  ASSERT_EQ(peer.width, ours.width) << what;
  ASSERT_EQ(peer.height, ours.height) << what;
  for (int y = 0; y < ours.height; ++y) {
    for (int x = 0; x < ours.width; ++x) {
      const std::uint32_t theirs = peer.pixels[static_cast<std::size_t>(y) * ours.width + x];
      if (ours.pixelSize == 16) {
        const std::size_t at =
            static_cast<std::size_t>(y) * ours.rowBytes + 2 * static_cast<std::size_t>(x);
        ASSERT_EQ(PeerRgb565(theirs), DecodeBig16(&ours.pixelData[at]))
            << what << " at " << x << "," << y;
      } else {
        std::uint32_t mine = 0;
        ASSERT_EQ(GetPixel(ours, x, y, PixelRead::kColour, &mine), ConversionStatus::kOk);
        ASSERT_EQ(theirs, mine) << what << " at " << x << "," << y;
      }
    }
  }
}

// Custom tables carry index byte 0 in every entry; palmtopnm looks entries
// up by that byte, so the copy handed to it numbers them by position.
std::vector<std::uint8_t> NumberTableEntries(std::vector<std::uint8_t> record) {
  if ((DecodeBig16(&record[6]) & kBitmapFlagHasColorTable) == 0) return record;
  const std::size_t count = DecodeBig16(&record[16]);
  for (std::size_t i = 0; i < count; ++i) record[18 + 4 * i] = static_cast<std::uint8_t>(i);
  return record;
}

// Images that make each compression outcome win.
std::uint32_t Noise(int x, int y) {
  std::uint32_t h =
      static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  return (h ^ h >> 12) & 0xFFFFFF;
}
std::uint32_t VerticalStripes(int x, int) { return Noise(x, 0); }  // rows repeat: scanline
std::uint32_t Bands(int x, int y) { return Noise(x / 40, y); }     // long runs: RLE
// At 16 bits a run needs pixels whose two bytes are equal: black and white.
std::uint32_t BlackWhiteBands(int x, int y) { return (x / 40 + y) % 2 != 0 ? 0xFFFFFF : 0x000000; }

struct PeerCase {
  const char* what;
  int max_depth;
  bool build_palette;
  std::uint32_t (*colour)(int, int);
  std::uint8_t scheme;
};

class PalmToPnmPeer : public ::testing::TestWithParam<PeerCase> {};

TEST_P(PalmToPnmPeer, DecodesOurRecordsToOurPixels) {
  if (access(kPalmToPnm, X_OK) != 0) GTEST_SKIP() << "palmtopnm is not installed";
  const PeerCase& row = GetParam();
  PaletteState palette;
  testing::ColourSource source(157, 131, 24, row.colour);
  ConversionOptions options;
  options.targetWidth = 157;  // odd: rows end in padding
  options.targetHeight = 131;
  options.maxDepth = static_cast<std::uint8_t>(row.max_depth);
  options.buildPalette = row.build_palette;
  OutputBuffer output;
  EncodedBitmapSize size;
  ASSERT_EQ(EncodePalmBitmap(source, options, {}, kCompressWhenSmaller, palette, &output, &size),
            ConversionStatus::kOk);
  PalmBitmapDescriptor stored;
  ASSERT_EQ(ParsePalmBitmap(output.bytes, &stored), ConversionStatus::kOk);
  ASSERT_EQ(stored.compressionType, row.scheme) << row.what;
  ExpectPeerShowsOurPixels(row.build_palette ? NumberTableEntries(output.bytes) : output.bytes,
                           row.what);
}

constexpr std::uint8_t kNone = kCompressionNone;
constexpr std::uint8_t kScan = kCompressionScanline;
constexpr std::uint8_t kRle = kCompressionRle;

INSTANTIATE_TEST_SUITE_P(
    Depths, PalmToPnmPeer,
    ::testing::Values(PeerCase{"4-bit system table, plain", 4, false, Noise, kNone},
                      PeerCase{"4-bit system table, scanline", 4, false, VerticalStripes, kScan},
                      PeerCase{"4-bit system table, RLE", 4, false, Bands, kRle},
                      PeerCase{"4-bit octree table, plain", 4, true, Noise, kNone},
                      PeerCase{"8-bit system table, plain", 8, false, Noise, kNone},
                      PeerCase{"8-bit system table, scanline", 8, false, VerticalStripes, kScan},
                      PeerCase{"8-bit system table, RLE", 8, false, Bands, kRle},
                      PeerCase{"8-bit octree table, plain", 8, true, Noise, kNone},
                      PeerCase{"8-bit octree table, RLE", 8, true, Bands, kRle},
                      PeerCase{"16-bit, plain", 16, false, Noise, kNone},
                      PeerCase{"16-bit, scanline", 16, false, VerticalStripes, kScan},
                      PeerCase{"16-bit, RLE", 16, false, BlackWhiteBands, kRle}));

// Depths 1 and 2 only arise when a stored record is re-encoded; they are
// version 1 records, compressed with scanline only.
TEST(PalmToPnmPeerLowDepths, VersionOneRecordsDecodeAlike) {
  if (access(kPalmToPnm, X_OK) != 0) GTEST_SKIP() << "palmtopnm is not installed";
  for (int depth : {1, 2}) {
    for (bool compress : {false, true}) {
      PalmBitmapDescriptor bitmap;
      ASSERT_EQ(CreatePalmBitmapDescriptor(depth, 37, 20, &bitmap), ConversionStatus::kOk);
      AttachColourTable(&bitmap, nullptr);
      for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 37; ++x) {
          ASSERT_EQ(PutPixelIndex(&bitmap, x, y, Noise(x, y / 4) % (1u << depth)),
                    ConversionStatus::kOk);
        }
      }
      if (compress) {
        CompressPalmBitmap(&bitmap, kCompressWhenSmaller);
        ASSERT_EQ(bitmap.compressionType, kCompressionScanline);
      }
      OutputBuffer output;
      ASSERT_EQ(SerialisePalmBitmap(bitmap, &output), ConversionStatus::kOk);
      ExpectPeerShowsOurPixels(output.bytes, compress ? "scanline" : "plain");
    }
  }
}

}  // namespace
}  // namespace kv
