// Hostile files through every kvmap command that reads input. Each run must
// end with exit status 1 and a "kvmap: error" line naming the file, or
// succeed sensibly. None may end by a signal or a sanitizer report, print
// nan or inf, leave a file behind, or take unbounded memory or time (the
// child runs under the limits of bounded_child.h).

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bounded_child.h"
#include "hostile_files.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using namespace testing::hostile;

enum class Expect {
  kRefused,   // exit status 1 and an error naming the input
  kAccepted,  // exit status 0 and the outputs written
  kEither,    // one of the two: the file is odd but may be readable
};

struct Row {
  std::string name;
  std::function<void(const fs::path& in)> make;  // writes the input files
  std::string command;                           // words; {in} and {out} stand for the two folders
  std::string input;                             // the file an error must name
  Expect expect = Expect::kRefused;
  bool echoes_stored_text = false;  // prints texts of the file as stored
};

// --- Running one row ---------------------------------------------------------

struct Folders {
  TempFolder temp{"kv-hostile-"};
  fs::path root = temp.path();
  fs::path in = root / "in";
  fs::path out = root / "out";
  fs::path log = root / "log";

  Folders() {
    if (root.empty()) return;
    for (const fs::path& folder : {in, out, log}) fs::create_directory(folder);
  }
};

std::string Expand(std::string word, const Folders& folders) {
  for (const auto& [name, folder] : {std::pair{"{in}", &folders.in}, {"{out}", &folders.out}}) {
    for (std::size_t at; (at = word.find(name)) != std::string::npos;) {
      word.replace(at, std::string(name).size(), folder->string());
    }
  }
  return word;
}

std::vector<std::string> Words(const std::string& command) {
  std::istringstream words(command);
  std::vector<std::string> result;
  for (std::string word; words >> word;) result.push_back(word);
  return result;
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

bool IsWordCharacter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// "nan", "-nan" or "inf" as a word: how printf and iostreams spell
// non-finite numbers.
bool PrintsNonFinite(const std::string& text) {
  for (const std::string word : {"nan", "inf"}) {
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
      const bool starts_word = at == 0 || !IsWordCharacter(text[at - 1]);
      const std::size_t end = at + word.size();
      const bool ends_word = end == text.size() || !IsWordCharacter(text[end]);
      if (starts_word && ends_word) return true;
    }
  }
  return false;
}

// One pass: outputs of tens of thousands of lines must not cost quadratic time.
std::string OwnWordsLeftOut(const std::string& text, const std::string& name) {
  std::string kept;
  kept.reserve(text.size());
  bool quoted = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!name.empty() && text.compare(at, name.size(), name) == 0) {
      at += name.size() - 1;
    } else if (text[at] == '"' && (quoted || text.find('"', at + 1) != std::string::npos)) {
      quoted = !quoted;
    } else if (!quoted) {
      kept += text[at];
    }
  }
  return kept;
}

// Calibration texts hold "key=7=value" lines and comma-separated values.
bool StoresNonFinite(const Bytes& bytes) {
  const std::string text(bytes.begin(), bytes.end());
  for (const char* bad : {"=nan", "=-nan", "=inf", "=-inf", ",nan", ",-nan", ",inf", ",-inf"}) {
    if (text.find(bad) != std::string::npos) return true;
  }
  return false;
}

bool HasErrorLine(const std::string& err) {
  return err.rfind("kvmap: error", 0) == 0 || err.find("\nkvmap: error") != std::string::npos;
}

bool HasSanitizerReport(const std::string& err) {
  return err.find("Sanitizer") != std::string::npos ||
         err.find("runtime error:") != std::string::npos;
}

std::vector<std::string> ProblemsWithEnding(const Row& row, const testing::ChildOutcome& outcome) {
  std::vector<std::string> problems;
  if (!outcome.exited) {
    problems.push_back("ended by signal " + std::to_string(outcome.signal));
  }
  if (HasSanitizerReport(outcome.err)) problems.push_back("a sanitizer report");
  if (!outcome.exited) return problems;
  const bool refused = outcome.exit_code == 1;
  const bool accepted = outcome.exit_code == 0;
  if ((row.expect == Expect::kRefused && !refused) ||
      (row.expect == Expect::kAccepted && !accepted) || (!refused && !accepted)) {
    problems.push_back("exit status " + std::to_string(outcome.exit_code));
  }
  if (refused && !HasErrorLine(outcome.err)) problems.push_back("no \"kvmap: error\" line");
  if (refused && outcome.err.find(row.input) == std::string::npos) {
    problems.push_back("the error does not name " + row.input);
  }
  // The input's own name ("nan.kvm") and its own words quoted in an error
  // may be printed; they are not values the program computed.
  if (!row.echoes_stored_text && (PrintsNonFinite(OwnWordsLeftOut(outcome.out, row.input)) ||
                                  PrintsNonFinite(OwnWordsLeftOut(outcome.err, row.input)))) {
    problems.push_back("prints nan or inf");
  }
  return problems;
}

std::vector<std::string> ProblemsWithFiles(const Row& row, const testing::ChildOutcome& outcome,
                                           const Folders& folders,
                                           const std::set<std::string>& inputs_before) {
  std::vector<std::string> problems;
  if (Names(folders.in) != inputs_before) problems.push_back("the input folder changed");
  const bool accepted = outcome.exited && outcome.exit_code == 0;
  std::set<std::string> named_outputs;
  for (const std::string& word : Words(row.command)) {
    if (word.rfind("{out}/", 0) == 0) named_outputs.insert(word.substr(6));
  }
  for (const std::string& name : Names(folders.out)) {
    if (!accepted || named_outputs.count(name) == 0) problems.push_back("left " + name + " behind");
    if (StoresNonFinite(ReadFile(folders.out / name)))
      problems.push_back(name + " stores nan or inf");
  }
  if (accepted) {
    for (const std::string& name : named_outputs) {
      if (!fs::exists(folders.out / name)) problems.push_back(name + " was not written");
    }
  }
  return problems;
}

// Test names and failure messages show the row by its name.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class HostileInputTest : public ::testing::TestWithParam<Row> {};

TEST_P(HostileInputTest, EndsCleanly) {
  const Row& row = GetParam();
  Folders folders;
  ASSERT_FALSE(folders.root.empty());
  row.make(folders.in);
  const std::set<std::string> inputs_before = Names(folders.in);

  std::vector<std::string> argv = {KVMAP_PATH};
  for (const std::string& word : Words(row.command)) argv.push_back(Expand(word, folders));
  const testing::ChildOutcome outcome = testing::RunBounded(argv, folders.log);

  std::vector<std::string> problems = ProblemsWithEnding(row, outcome);
  for (std::string& problem : ProblemsWithFiles(row, outcome, folders, inputs_before)) {
    problems.push_back(std::move(problem));
  }
  std::string report;
  for (const std::string& problem : problems) report += "  " + problem + "\n";
  report += "stdout: " + outcome.out.substr(0, 600) + "\nstderr: " + outcome.err.substr(0, 1500);
  EXPECT_TRUE(problems.empty()) << report;
}

// --- The rows ----------------------------------------------------------------

std::function<void(const fs::path&)> File(const std::string& name, std::function<Bytes()> make) {
  return [name, make](const fs::path& in) { WriteFile(in / name, make()); };
}

std::function<void(const fs::path&)> Files(
    std::vector<std::function<void(const fs::path&)>> makers) {
  return [makers](const fs::path& in) {
    for (const auto& make : makers) make(in);
  };
}

std::function<void(const fs::path&)> Text(const std::string& name, const std::string& text) {
  return [name, text](const fs::path& in) { WriteText(in / name, text); };
}

std::function<void(const fs::path&)> Gdal(const std::string& name, const std::string& driver,
                                          std::function<Bytes(Bytes)> spoil) {
  return [=](const fs::path& in) { WriteFile(in / name, spoil(GdalImage(in, driver))); };
}

void AddSourceRows(std::vector<Row>& rows) {
  const std::string convert = " --no-calibration -o {out}/m.prc";
  const auto source = [&](const std::string& name, const std::string& file,
                          std::function<void(const fs::path&)> make, Expect expect) {
    rows.push_back({name, make, "convert {in}/" + file + convert, file, expect});
  };
  source("BmpClaims100000Square", "huge.bmp",
         File("huge.bmp", [] { return BmpHeaderOnly(100000, 100000); }), Expect::kRefused);
  source("BmpClaims65535SquareWithoutPixels", "max.bmp",
         File("max.bmp", [] { return BmpHeaderOnly(65535, 65535); }), Expect::kRefused);
  source("BmpNegativeWidth", "neg.bmp",
         File("neg.bmp", [] { return BmpWithField(18, static_cast<std::uint32_t>(-200)); }),
         Expect::kRefused);
  source("BmpMostNegativeHeight", "negh.bmp",
         File("negh.bmp", [] { return BmpHeaderOnly(200, INT32_MIN); }), Expect::kRefused);
  source("BmpTruncated", "cut.bmp", File("cut.bmp", [] { return FirstHalf(GoodBmp()); }),
         Expect::kRefused);
  source("BmpPixelsBeyondTheFile", "off.bmp",
         File("off.bmp", [] { return BmpWithField(10, 0xFFFFFFF0); }), Expect::kRefused);
  source("BmpInfoHeaderBeyondTheFile", "info.bmp",
         File("info.bmp", [] { return BmpWithField(14, 0xFFFFFFF0); }), Expect::kRefused);
  source("BmpColourCountHuge", "colours.bmp",
         File("colours.bmp",
              [] {
                Bytes bmp = BmpWithField(28, 8, 2);
                testing::PutLittle(bmp, 46, 0xFFFFFFFF, 4);
                return bmp;
              }),
         Expect::kEither);
  source("BmpBitFlips", "flips.bmp", File("flips.bmp", [] { return BitFlips(GoodBmp(), 40, 1); }),
         Expect::kEither);

  source("PngClaims100000Square", "huge.png",
         File("huge.png", [] { return PngClaiming(100000, 100000, DeflatedBlackRows(100000, 1)); }),
         Expect::kRefused);
  source("PngClaims65535SquareOverTwoRows", "max.png",
         File("max.png", [] { return PngClaiming(65535, 65535, DeflatedBlackRows(65535, 2)); }),
         Expect::kRefused);
  // 80 x 99 tiles, within a map's 9999 images; 2000 rows of data inflate to
  // 77 MB before the stream ends.
  source("PngBombEndsEarly", "bomb.png",
         File("bomb.png", [] { return PngClaiming(12800, 12900, DeflatedBlackRows(12800, 2000)); }),
         Expect::kRefused);
  source("PngTruncated", "cut.png", Gdal("cut.png", "PNG", FirstHalf), Expect::kRefused);
  source("PngBitFlips", "flips.png",
         Gdal("flips.png", "PNG", [](Bytes b) { return BitFlips(std::move(b), 20, 2); }),
         Expect::kEither);
  source("JpegTruncated", "cut.jpg", Gdal("cut.jpg", "JPEG", FirstHalf), Expect::kRefused);
  source("JpegClaims65500Square", "huge.jpg",
         Gdal("huge.jpg", "JPEG", [](Bytes b) { return JpegClaiming(std::move(b), 65500, 65500); }),
         Expect::kRefused);
  source("TiffClaims60000Square", "huge.tif",
         Gdal("huge.tif", "GTiff",
              [](Bytes b) {
                return TiffWithTag(TiffWithTag(std::move(b), 256, 60000, false), 257, 60000, false);
              }),
         Expect::kRefused);
  source("TiffStripsBeyondTheFile", "wild.tif",
         Gdal("wild.tif", "GTiff",
              [](Bytes b) { return TiffWithTag(std::move(b), 273, 0xFFFFFF00, true); }),
         Expect::kRefused);
  source("GifTruncated", "cut.gif", Gdal("cut.gif", "GIF", FirstHalf), Expect::kRefused);
  rows.push_back({"SourceIsAFolder",
                  [](const fs::path& in) { fs::create_directory(in / "dir.bmp"); },
                  "convert {in}/dir.bmp" + convert, "dir.bmp", Expect::kRefused});
  source("KapClaims60000Square", "huge.kap", File("huge.kap", KapClaimingHugeSize),
         Expect::kRefused);

  // Charts and GeoTIFFs are calibration sources too.
  rows.push_back({"CalibrationOfKapClaims60000Square", File("huge.kap", KapClaimingHugeSize),
                  "calibration {in}/huge.kap", "huge.kap", Expect::kEither});
  rows.push_back({"CalibrationOfTiffStripsBeyondTheFile",
                  Gdal("wild.tif", "GTiff",
                       [](Bytes b) { return TiffWithTag(std::move(b), 273, 0xFFFFFF00, true); }),
                  "calibration {in}/wild.tif", "wild.tif", Expect::kRefused});
  rows.push_back({"CalibrationOfJpegTruncated", Gdal("cut.jpg", "JPEG", FirstHalf),
                  "calibration {in}/cut.jpg", "cut.jpg", Expect::kRefused});
}

void AddCalibrationRows(std::vector<Row>& rows) {
  const auto good = File("good.bmp", GoodBmp);
  const auto both = [&](const std::string& name, const std::string& file, const std::string& text,
                        const std::string& options, Expect expect) {
    rows.push_back({"Calibration" + name, Text(file, text),
                    "calibration {in}/" + file + " --size 200x150" + options, file, expect});
    rows.push_back(
        {"Convert" + name, Files({good, Text(file, text)}),
         "convert {in}/good.bmp --calibration {in}/" + file + options + " -o {out}/m.prc", file,
         expect});
  };
  both("KvmFullOfNan", "nan.kvm", kNanKvm, "", Expect::kEither);
  both("CalFullOfNan", "nan.cal", kNanCal, "", Expect::kEither);
  both("OziMapFullOfNan", "nan.map", kNanOziMap, "", Expect::kEither);
  both("WorldFileOfNan", "nan.bpw", kNanWorldFile, " --world-system 2", Expect::kEither);
  both("WorldFileOverflowing", "big.bpw", kOverflowWorldFile, " --world-system UTM --zone 32U",
       Expect::kEither);
}

// Every command that reads a map database, with what each should do; a
// command without an expectation is not run on that file.
struct MapCommands {
  std::optional<Expect> info = Expect::kRefused;
  std::optional<Expect> pdb = Expect::kRefused;
  std::optional<Expect> render = Expect::kRefused;
  std::optional<Expect> mosaic = Expect::kRefused;
  std::optional<Expect> recode = Expect::kRefused;
  std::optional<Expect> calibration = Expect::kRefused;
  bool echoes_stored_text = false;  // info
  bool info_json = false;           // info --json too
};

constexpr auto kOk = Expect::kAccepted;
constexpr auto kEither = Expect::kEither;

void AddMapRows(std::vector<Row>& rows, const std::string& name, std::function<Bytes()> make,
                const MapCommands& c) {
  const auto row = [&](const char* command, const std::string& words, std::optional<Expect> expect,
                       bool echoes = false) {
    if (!expect) return;
    rows.push_back(
        {"Map" + name + command, File("map.prc", make), words, "map.prc", *expect, echoes});
  };
  row("Info", "info {in}/map.prc", c.info, c.echoes_stored_text);
  if (c.info_json) row("InfoJson", "info --json {in}/map.prc", c.info, c.echoes_stored_text);
  row("Pdb", "pdb --json {in}/map.prc", c.pdb);
  row("Render", "render {in}/map.prc -o {out}/r.png", c.render);
  row("Mosaic", "mosaic {in}/map.prc -o {out}/m.png", c.mosaic);
  row("Recode", "recode {in}/map.prc --depth 4 -o {out}/m.prc", c.recode);
  row("Calibration", "calibration {in}/map.prc", c.calibration);
}

MapClaims ClaimingSize(std::uint32_t width, std::uint32_t height) {
  MapClaims claims;
  claims.width = width;
  claims.height = height;
  return claims;
}

// The good map with the entry list or header changed.
Bytes GoodMapWith(std::function<void(Bytes&)> spoil) {
  Bytes map = GoodMapPrc();
  spoil(map);
  return map;
}

constexpr std::size_t EntryOffsetField(std::size_t index) { return 78 + 10 * index + 6; }

// 9999 small bitmaps, the most a map holds, and other resources up to the
// 65535 entries a database can list.
Bytes FullestMap() {
  Bytes small = PalmBitmap(16, 16, 16, 8, 0xFF, Bytes(16 * 16, 3));
  std::vector<Resource> resources = {{"Tbmp", 1, small}};
  for (std::uint16_t id = 2; id <= 9999; ++id) resources.push_back({"Tbmp", id, small});
  for (std::uint16_t i = 0; resources.size() < 65535; ++i) resources.push_back({"XTRA", i, {1}});
  return Prc(resources);
}

Bytes TooManyBitmaps() {
  std::vector<Resource> resources;
  Bytes small = PalmBitmap(16, 16, 16, 8, 0xFF, Bytes(16 * 16, 3));
  for (std::uint16_t id = 1; id <= 10000; ++id) resources.push_back({"Tbmp", id, small});
  return Prc(resources);
}

void AddMapDatabaseRows(std::vector<Row>& rows) {
  // Reading a folder opens on Linux and fails at the first read.
  const auto folder = [](const fs::path& in) { fs::create_directory(in / "map.prc"); };
  for (const auto& [command, words] : std::vector<std::pair<std::string, std::string>>{
           {"Info", "info {in}/map.prc"},
           {"Pdb", "pdb {in}/map.prc"},
           {"Render", "render {in}/map.prc -o {out}/r.png"},
           {"Recode", "recode {in}/map.prc --depth 4 -o {out}/m.prc"},
           {"Calibration", "calibration {in}/map.prc"}}) {
    rows.push_back({"MapIsAFolder" + command, folder, words, "map.prc", Expect::kRefused});
  }
  AddMapRows(rows, "Truncated", [] { return FirstHalf(GoodMapPrc()); }, {});
  AddMapRows(
      rows, "OffsetBeyondTheEnd",
      [] { return GoodMapWith([](Bytes& m) { PutBig32(m, EntryOffsetField(5), 0x7FFFFFFF); }); },
      {});
  AddMapRows(rows, "OffsetsBackwards",
             [] { return GoodMapWith([](Bytes& m) { PutBig32(m, EntryOffsetField(3), 200); }); },
             {});
  AddMapRows(rows, "EntryCountHuge",
             [] { return GoodMapWith([](Bytes& m) { PutBig16(m, 76, 0xFFFF); }); }, {});
  AddMapRows(rows, "ForeignType",
             [] { return GoodMapWith([](Bytes& m) { std::memcpy(&m[60], "DATA", 4); }); },
             {.pdb = kOk});
  AddMapRows(
      rows, "BitmapClaims65535SquareWithoutPixels",
      [] { return MapPrc(PalmBitmap(65535, 65535, 65535, 8, 0xFF, Bytes(100, 0)), MapClaims{}); },
      {.pdb = kOk});
  AddMapRows(
      rows, "BitmapOfDepth3",
      [] { return MapPrc(PalmBitmap(160, 131, 60, 3, 0xFF, Bytes(60 * 131, 0)), MapClaims{}); },
      {.pdb = kOk});
  AddMapRows(rows, "RleBomb", [] { return MapPrc(RleBomb(), ClaimingSize(65535, 127)); },
             {.info = kOk,
              .pdb = kOk,
              .render = kOk,
              .mosaic = kOk,
              .recode = Expect::kRefused,
              .calibration = kOk});
  AddMapRows(rows, "ScanlineBomb", [] { return MapPrc(ScanlineBomb(), ClaimingSize(65535, 7)); },
             {.info = kOk,
              .pdb = kOk,
              .render = kOk,
              .mosaic = kOk,
              .recode = Expect::kRefused,
              .calibration = kOk});
  AddMapRows(rows, "ClaimsSize4294967295Square",
             [] { return MapPrc(PlainTile(), ClaimingSize(0xFFFFFFFF, 0xFFFFFFFF)); },
             {.info = kOk,
              .pdb = kOk,
              .render = kOk,
              .mosaic = Expect::kRefused,
              .recode = kOk,
              .calibration = kOk});
  AddMapRows(rows, "ClaimsSize60000Square",
             [] { return MapPrc(PlainTile(), ClaimingSize(60000, 60000)); },
             {.info = std::nullopt,
              .pdb = std::nullopt,
              .render = std::nullopt,
              .mosaic = Expect::kRefused,
              .recode = std::nullopt,
              .calibration = std::nullopt});
  AddMapRows(rows, "ClaimsSizeZero", [] { return MapPrc(PlainTile(), ClaimingSize(0, 0)); },
             {.info = std::nullopt,
              .pdb = std::nullopt,
              .render = std::nullopt,
              .mosaic = Expect::kRefused,
              .recode = std::nullopt,
              .calibration = std::nullopt});
  AddMapRows(rows, "TextsOfNan",
             [] {
               MapClaims claims;
               claims.calibration = kNanKvm;
               claims.corners[0] = "-nan";
               claims.corners[1] = "NaN";
               claims.corners[2] = "1e999";
               claims.corners[3] = "-1e999";
               return MapPrc(PlainTile(), claims);
             },
             {.info = kOk,
              .pdb = kOk,
              .render = kOk,
              .mosaic = kOk,
              .recode = kEither,
              .calibration = kEither,
              .echoes_stored_text = true,
              .info_json = true});
  AddMapRows(rows, "CornerTextNotUtf8",
             [] {
               MapClaims claims;
               claims.corners[1] = "N99999999999\xFF";
               return MapPrc(PlainTile(), claims);
             },
             {.info = kOk,
              .pdb = std::nullopt,
              .render = std::nullopt,
              .mosaic = std::nullopt,
              .recode = kEither,
              .calibration = kEither,
              .info_json = true});
  AddMapRows(rows, "TenThousandBitmaps", TooManyBitmaps, {.pdb = kOk});
  AddMapRows(rows, "Of65535Entries", FullestMap,
             {.info = kOk,
              .pdb = kOk,
              .render = std::nullopt,
              .mosaic = std::nullopt,
              .recode = std::nullopt,
              .calibration = std::nullopt});
}

// A record database whose second record has offset 0 but is not deleted.
void AddRecordDatabaseRows(std::vector<Row>& rows) {
  const auto make = File("records.pdb", [] {
    Bytes file(78 + 8 * 3 + 2, 0);
    std::memcpy(file.data(), "records", 7);
    std::memcpy(&file[60], "DATA", 4);
    PutBig16(file, 76, 3);
    PutBig32(file, 78, 104);
    PutBig32(file, 94, 106);
    file.resize(110, 0x55);
    return file;
  });
  rows.push_back({"RecordDatabaseEmptyRecordNotDeletedPdb", make, "pdb {in}/records.pdb",
                  "records.pdb", Expect::kRefused});
  rows.push_back({"RecordDatabaseEmptyRecordNotDeletedInfo", make, "info {in}/records.pdb",
                  "records.pdb", Expect::kRefused});
}

std::vector<Row> Rows() {
  std::vector<Row> rows;
  AddSourceRows(rows);
  AddCalibrationRows(rows);
  AddMapDatabaseRows(rows);
  AddRecordDatabaseRows(rows);
  return rows;
}

// Numbered cases; ctest shows each by its row's name (PrintTo).
INSTANTIATE_TEST_SUITE_P(Files, HostileInputTest, ::testing::ValuesIn(Rows()));

}  // namespace
}  // namespace kv
