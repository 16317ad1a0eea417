#ifndef KORVALE_TESTS_CLI_HOSTILE_FILES_H_
#define KORVALE_TESTS_CLI_HOSTILE_FILES_H_

// Input files that lie: headers claiming huge or negative sizes, data cut
// short or flipped, compressed data that expands far beyond its size, Palm
// databases with offsets pointing anywhere, calibration texts full of NaN.
// Each is built from bytes here, independently of the program's readers;
// the well-formed files they start from come from GDAL or byte-level
// fixtures.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bitmap/bmp_fixture.h"
#include "bitmap/gdal_fixture.h"
#include "bitmap/kap_fixture.h"

namespace kv::testing::hostile {

using Bytes = std::vector<std::uint8_t>;

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void PutBig16(Bytes& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value);
}

inline void PutBig32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  PutBig16(bytes, at, value >> 16);
  PutBig16(bytes, at + 2, value & 0xFFFF);
}

inline void AppendBig32(Bytes& bytes, std::uint32_t value) {
  bytes.resize(bytes.size() + 4);
  PutBig32(bytes, bytes.size() - 4, value);
}

inline Bytes FirstHalf(const Bytes& bytes) {
  return Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2);
}

// `count` single-bit flips at places drawn from a fixed seed, so that every
// run reads the same file.
inline Bytes BitFlips(Bytes bytes, int count, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i)
    bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
  return bytes;
}

// --- BMP -------------------------------------------------------------------

// 200 x 150, 24 bits, noise: a file every reader accepts.
inline Bytes GoodBmp() {
  BmpParams params;
  params.width = 200;
  params.height = 150;
  std::mt19937 noise(11);
  return MakeBmp(params, [&](int, int) { return static_cast<std::uint32_t>(noise() & 0xFFFFFF); });
}

// GoodBmp with one little-endian header field replaced.
inline Bytes BmpWithField(std::size_t offset, std::uint32_t value, int size = 4) {
  Bytes bytes = GoodBmp();
  PutLittle(bytes, offset, value, size);
  return bytes;
}

// Only the 54 header bytes, claiming width x height.
inline Bytes BmpHeaderOnly(std::int32_t width, std::int32_t height) {
  Bytes bytes = GoodBmp();
  bytes.resize(54);
  PutLittle(bytes, 18, static_cast<std::uint32_t>(width), 4);
  PutLittle(bytes, 22, static_cast<std::uint32_t>(height), 4);
  return bytes;
}

// --- PNG -------------------------------------------------------------------

inline void AppendPngChunk(Bytes& png, const char* type, const Bytes& data) {
  AppendBig32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  AppendBig32(png, static_cast<std::uint32_t>(
                       crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

// An 8-bit RGB PNG whose header claims width x height, with `idat` as its
// whole image data.
inline Bytes PngClaiming(std::uint32_t width, std::uint32_t height, const Bytes& idat) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header(13, 0);
  PutBig32(header, 0, width);
  PutBig32(header, 4, height);
  header[8] = 8;  // bits per sample
  header[9] = 2;  // RGB
  AppendPngChunk(png, "IHDR", header);
  AppendPngChunk(png, "IDAT", idat);
  AppendPngChunk(png, "IEND", {});
  return png;
}

// `rows` black RGB rows of `width` pixels, deflated: a few bytes per
// thousand rows.
inline Bytes DeflatedBlackRows(std::uint32_t width, std::uint32_t rows) {
  const Bytes raw(std::size_t{rows} * (1 + 3 * std::size_t{width}), 0);
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes deflated(size);
  compress2(deflated.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  deflated.resize(size);
  return deflated;
}

// --- GDAL formats --------------------------------------------------------

// A 200 x 150 noise image written by GDAL's `driver`, read back as bytes.
inline Bytes GdalImage(const std::filesystem::path& scratch, const std::string& driver,
                       std::vector<std::string> options = {}) {
  RasterLayout layout;
  layout.driver = driver;
  layout.width = 200;
  layout.height = 150;
  layout.bands = driver == "GIF" ? 1 : 3;
  layout.options = std::move(options);
  const std::filesystem::path path = scratch / ("made-by-gdal." + driver);
  WriteRaster(path.string(), layout,
              [](int band, int x, int y) { return (x * 7 + y * 13 + band * 5) % 256; });
  Bytes bytes = ReadFile(path);
  std::filesystem::remove(path);
  std::filesystem::remove(path.string() + ".aux.xml");
  return bytes;
}

// A JPEG whose frame header claims width x height, cut after its first third.
inline Bytes JpegClaiming(Bytes jpeg, std::uint16_t width, std::uint16_t height) {
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      PutBig16(jpeg, i + 5, height);
      PutBig16(jpeg, i + 7, width);
      break;
    }
  }
  jpeg.resize(jpeg.size() / 3);
  return jpeg;
}

// The first IFD entries of a little-endian TIFF with tag `tag` get
// `value` (SHORT or LONG fields); with `pointed_to`, every LONG the entry
// points at does instead.
inline Bytes TiffWithTag(Bytes tiff, std::uint16_t tag, std::uint32_t value, bool pointed_to) {
  const auto little = [&](std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | tiff[at + static_cast<std::size_t>(i)];
    return v;
  };
  const std::size_t ifd = little(4, 4);
  const std::uint32_t count = little(ifd, 2);
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::size_t entry = ifd + 2 + 12 * std::size_t{k};
    if (little(entry, 2) != tag) continue;
    const std::uint32_t type = little(entry + 2, 2);
    const std::uint32_t values = little(entry + 4, 4);
    if (!pointed_to) {
      PutLittle(tiff, entry + 8, value, type == 3 ? 2 : 4);
    } else if (values == 1) {
      PutLittle(tiff, entry + 8, value, 4);
    } else {
      const std::size_t at = little(entry + 8, 4);
      for (std::uint32_t v = 0; v < values; ++v) PutLittle(tiff, at + 4 * std::size_t{v}, value, 4);
    }
  }
  return tiff;
}

// A BSB chart whose header claims a 60000 x 60000 picture over 20 x 12 rows.
inline Bytes KapClaimingHugeSize() {
  KapParams params;
  params.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  params.references = {{0, 0, 48, 8}, {19, 0, 48, 9}, {19, 11, 47, 9}, {0, 11, 47, 8}};
  Bytes kap = MakeKap(params, [](int x, int y) { return 1 + (x + y) % 4; });
  const std::string small = "RA=20,12";
  const std::string huge = "RA=60000,60000";
  auto at = std::search(kap.begin(), kap.end(), small.begin(), small.end());
  if (at != kap.end()) {
    at = kap.erase(at, at + static_cast<std::ptrdiff_t>(small.size()));
    kap.insert(at, huge.begin(), huge.end());
  }
  return kap;
}

// --- Palm bitmaps and databases --------------------------------------------

// A version 2 Palm bitmap: the 16-byte header, then `data` as it stands.
inline Bytes PalmBitmap(std::uint16_t width, std::uint16_t height, std::uint16_t row_bytes,
                        std::uint8_t depth, std::uint8_t compression, const Bytes& data) {
  Bytes bitmap(16, 0);
  PutBig16(bitmap, 0, width);
  PutBig16(bitmap, 2, height);
  PutBig16(bitmap, 4, row_bytes);
  PutBig16(bitmap, 6, compression == 0xFF ? 0 : 0x8000);  // compressed flag
  bitmap[8] = depth;
  bitmap[9] = 2;
  bitmap[13] = compression;
  bitmap.insert(bitmap.end(), data.begin(), data.end());
  return bitmap;
}

// One tile's worth of plain 8-bit pixels.
inline Bytes PlainTile() { return PalmBitmap(160, 131, 160, 8, 0xFF, Bytes(160 * 131, 7)); }

// RLE (type 1) data with its size word: 127 rows of 65535 bytes, each row
// 257 runs of 255 bytes: 65 KiB expanding to 8 MiB, the most the 16-bit
// size word allows.
inline Bytes RleBomb() {
  Bytes data = {0, 0};
  for (int row = 0; row < 127; ++row) {
    for (int run = 0; run < 257; ++run) {
      data.push_back(255);
      data.push_back(7);
    }
  }
  PutBig16(data, 0, static_cast<std::uint32_t>(data.size() - 2));
  return PalmBitmap(65535, 127, 65535, 8, 1, data);
}

// Scanline (type 0) data: after the first row, one zero flag byte per 8
// bytes repeats the row above.
inline Bytes ScanlineBomb() {
  Bytes data = {0, 0};
  data.resize(2 + 65533, 0);
  PutBig16(data, 0, 65533);
  return PalmBitmap(65535, 7, 65535, 8, 0, data);
}

struct Resource {
  std::string type;
  std::uint16_t id;
  Bytes bytes;
};

// A resource database of type "tBMP", creator "DoDa", the entries' data in
// list order right after the list and its two zero bytes.
inline Bytes Prc(const std::vector<Resource>& resources, const char* type = "tBMP") {
  const std::size_t n = resources.size();
  Bytes file(78 + 10 * n + 2, 0);
  std::memcpy(file.data(), "hostile", 7);
  PutBig16(file, 32, 1);  // resource database
  PutBig32(file, 36, 0xD0000000);
  std::memcpy(&file[60], type, 4);
  std::memcpy(&file[64], "DoDa", 4);
  PutBig16(file, 76, static_cast<std::uint32_t>(n));
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t entry = 78 + 10 * i;
    std::memcpy(&file[entry], resources[i].type.data(), 4);
    PutBig16(file, entry + 4, resources[i].id);
    PutBig32(file, entry + 6, static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), resources[i].bytes.begin(), resources[i].bytes.end());
  }
  return file;
}

inline Bytes Padded(const std::string& text, std::size_t size) {
  Bytes bytes(text.begin(), text.end());
  bytes.resize(std::max(size, bytes.size() + 1), 0);
  return bytes;
}

inline Bytes Big32(std::uint32_t value) {
  Bytes bytes(4);
  PutBig32(bytes, 0, value);
  return bytes;
}

struct MapClaims {
  std::uint32_t width = 320;
  std::uint32_t height = 131;
  std::string calibration;
  std::string corners[4];  // TLLG, TLLT, BRLG, BRLT
};

// An overview bitmap with the map metadata, then `tiles` plain tiles.
inline Bytes MapPrc(const Bytes& overview, const MapClaims& claims, int tiles = 2) {
  std::vector<Resource> resources = {
      {"Tbmp", 1, overview},
      {"DESC", 1, Padded("hostile", 34)},
      {"DATE", 1, Big32(0xD0000000)},
      {"ORWD", 1, Big32(claims.width)},
      {"ORHT", 1, Big32(claims.height)},
      {"TLLG", 1, Padded(claims.corners[0], 34)},
      {"TLLT", 1, Padded(claims.corners[1], 34)},
      {"BRLG", 1, Padded(claims.corners[2], 34)},
      {"BRLT", 1, Padded(claims.corners[3], 34)},
      {"MCAL", 1, Padded(claims.calibration, 2048)},
  };
  for (int i = 0; i < tiles; ++i)
    resources.push_back({"Tbmp", static_cast<std::uint16_t>(2 + i), PlainTile()});
  return Prc(resources);
}

inline Bytes GoodMapPrc() { return MapPrc(PlainTile(), MapClaims{}); }

// --- Calibration texts -------------------------------------------------------

inline const char kNanKvm[] =
    "proj_mode=7=GCP\ndatum1=7=WGS 84\nkv_north=7=NaN\nkv_west=7=-nan\nkv_south=7=1e999\n"
    "kv_east=7=-1e999\nc1_lat=7=nan\nc1_lon=7=inf\nc1_x=7=0\nc1_y=7=0\nc2_lat=7=1e999\n"
    "c2_lon=7=-nan\nc2_x=7=199\nc2_y=7=149\n";

inline const char kNanCal[] =
    "latitudeTL=NaN\nlongitudeTL=-nan\nlatitudeBR=1e999\nlongitudeBR=-1e999\nimageType=bmp\n"
    "rp1=nan,inf,10,20\nrp2=1e999,-nan,30,40\n";

inline const char kNanOziMap[] =
    "OziExplorer Map Data File Version 2.2\nArea\ngood.bmp\n1 ,Map Code,\n"
    "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\nReserved 1\nReserved 2\n"
    "Magnetic Variation,,,E\nMap Projection,Latitude/Longitude,PolyCal,No\n"
    "Point01,xy, 10, 20,in, deg, nan, 30.0,N, 1e999, 15.0,W, grid, , , ,N\n"
    "Point02,xy, 150, 100,in, deg, -nan, 0,S, inf, 30,E\n";

inline const char kNanWorldFile[] = "nan\n0\n0\n-1e999\n1e999\n-nan\n";
// Finite, but far outside any map: the arithmetic overflows.
inline const char kOverflowWorldFile[] = "1e308\n0\n0\n-1e308\n1e308\n-1e308\n";

}  // namespace kv::testing::hostile

#endif  // KORVALE_TESTS_CLI_HOSTILE_FILES_H_
