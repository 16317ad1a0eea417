// The ".kvm" line grammar, its keys, the reader's post-processing and the
// writer's exact output.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "calibration/calibration_keys.h"
#include "calibration/calibration_line.h"
#include "calibration/calibration_text_reader.h"
#include "calibration/calibration_text_writer.h"

namespace kv {
namespace {

struct SplitRow {
  std::string line;
  bool entry;
  std::string key;
  std::string value;
};

TEST(SplitCalibrationLine, KeysTypesAndValues) {
  const SplitRow rows[] = {
      {"pixel_left=4=12", true, "pixel_left", "12"},
      {"pixel_left=12", true, "pixel_left", "12"},
      {"  pixel _left = 4 =   12", true, "pixel_left", "12"},
      {"; pixel_left=4=12", false, "", ""},
      {"   ;comment=x", false, "", ""},
      {"a;b=1", false, "", ""},
      {"=7=12", false, "", ""},
      {"no equals sign here", false, "", ""},
      // The "=" must come within the first 30 characters.
      {std::string(30, 'k') + "=1", false, "", ""},
      {std::string(29, 'k') + "=1", true, std::string(29, 'k'), "1"},
      // Everything after the second "=" is the value, "=" included.
      {"projparams=7=proj=utm zone=32", true, "projparams", "proj=utm zone=32"},
      {"key=", true, "key", ""},
      {"", false, "", ""},
  };
  for (const SplitRow& row : rows) {
    SCOPED_TRACE(row.line);
    const auto entry = SplitCalibrationLine(row.line);
    ASSERT_EQ(entry.has_value(), row.entry);
    if (!entry) continue;
    EXPECT_EQ(entry->key, row.key);
    EXPECT_EQ(entry->value, row.value);
  }
}

TEST(CalibrationNumbers, DecimalCommaLeadingPartAndLimits) {
  EXPECT_DOUBLE_EQ(ReadCalibrationReal("47,5"), 47.5);
  EXPECT_DOUBLE_EQ(ReadCalibrationReal("-8.25xyz"), -8.25);
  EXPECT_DOUBLE_EQ(ReadCalibrationReal("1,5,5"), 1.5);
  EXPECT_EQ(ReadCalibrationReal("abc"), 0.0);
  EXPECT_EQ(ReadCalibrationReal("1e999"), 0.0);
  EXPECT_EQ(ReadCalibrationInteger("47.9"), 47);
  EXPECT_EQ(ReadCalibrationInteger("-12 px"), -12);
  EXPECT_EQ(ReadCalibrationInteger("99999999999"), 2147483647);
  EXPECT_EQ(ReadCalibrationInteger("-99999999999"), -2147483647 - 1);
  EXPECT_EQ(FormatCalibrationReal(2.0), "2.00000000");
  EXPECT_EQ(FormatCalibrationReal(-8.123456789), "-8.12345679");
  EXPECT_EQ(FormatCalibrationReal(0.000000004), "0.00000000");
}

CalibrationRecord Parsed(std::string text, int source = kCalibrationSourceKvm, bool strip = false,
                         std::string* left = nullptr) {
  CalibrationRecord record;
  ParseCalibrationText(&text, source, &record, strip, true);
  if (left) *left = text;
  return record;
}

TEST(ApplyCalibrationKey, ExamplesAndConsumedFlag) {
  std::string left;
  CalibrationRecord record = Parsed("pixel_left=4=12\nc3_lat=7=47,5\nPROJ_MODE=7=gcp\n",
                                    kCalibrationSourceKvm, true, &left);
  EXPECT_EQ(record.pixel_left, 12);
  EXPECT_EQ(record.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ(left, "");

  // An unknown kind marks the record invalid, and the line is kept.
  record = Parsed("proj_mode=7=utm\nc1_lat=7=1\n", kCalibrationSourceKvm, true, &left);
  EXPECT_EQ(record.proj_mode, kCalibrationInvalid);
  EXPECT_EQ(left, "proj_mode=7=utm\n");

  record = Parsed("proj_mode=7=3x3\n");
  EXPECT_EQ(record.proj_mode, kCalibrationThreeByThree);
  record = Parsed("proj_mode=7=proj\n");
  EXPECT_EQ(record.proj_mode, kCalibrationProjection);
  record = Parsed("proj_mode=7=none\n");
  EXPECT_EQ(record.proj_mode, kCalibrationGeographic);
}

TEST(ApplyCalibrationKey, EveryKeyAndItsField) {
  CalibrationRecord record;
  record.points = CalibrationPoints{};
  TwipsDivisors divisors;
  struct Row {
    const char* key;
    const char* value;
    bool consumed;
  };
  const Row rows[] = {
      {"c2_lon", "8,25", true},
      {"C2_X", "10", true},
      {"c2_y", "20", true},
      {"c2_lat", "47.5", true},
      {"vpa(2)", "1.5", true},
      {"VPB(2)", "2.5", true},
      {"vpm(2)", "3.5", true},
      {"vpn(2)", "4.5", true},
      {"c2_foo", "1", false},
      {"c0_lat", "1", false},
      {"vpa(10)", "1", false},
      {"projparams", "", false},
      {"projparams", "proj=tmerc", true},
      {"map_datum", "Potsdam", false},
      {"caloffset_left", "3", true},
      {"caloffset_top", "4", true},
      {"pixel_top", "5", true},
      {"pixel_scale", "2", true},
      {"pixel_scale_vert", "3", true},
      {"nord", "48", true},
      {"west", "8", true},
      {"sued", "46", true},
      {"ost", "10", true},
      {"kv_horiz_meter", "x", true},
      {"twipsx", "15", true},
      {"twipsy", "16", true},
      {"datum1", "", false},
      {"unknown", "1", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    EXPECT_EQ(ApplyCalibrationKey(row.key, row.value, &record, &divisors), row.consumed);
  }
  const CalibrationPoint& point = (*record.points)[1];
  EXPECT_EQ(point.longitude, 8.25);
  EXPECT_EQ(point.latitude, 47.5);
  EXPECT_EQ(point.pixel_x, 10);
  EXPECT_EQ(point.adjusted_x, 10);
  EXPECT_EQ(point.pixel_y, 20);
  EXPECT_EQ(point.adjusted_y, 20);
  EXPECT_EQ(point.vpa, 1.5);
  EXPECT_EQ(point.vpb, 2.5);
  EXPECT_EQ(point.vpm, 3.5);
  EXPECT_EQ(point.vpn, 4.5);
  EXPECT_EQ(record.projparams, "proj=tmerc");
  EXPECT_EQ(record.datum_name, "Potsdam");
  EXPECT_EQ(record.caloffset_left, 3);
  EXPECT_EQ(record.caloffset_top, 4);
  EXPECT_EQ(record.pixel_top, 5);
  EXPECT_EQ(record.pixel_scale_horz, 2.0);
  EXPECT_EQ(record.pixel_scale_vert, 3.0);
  EXPECT_EQ(record.north, 48.0);
  EXPECT_EQ(record.west, 8.0);
  EXPECT_EQ(record.south, 46.0);
  EXPECT_EQ(record.east, 10.0);
  EXPECT_EQ(divisors.x, 15);
  EXPECT_EQ(divisors.y, 16);
}

TEST(ApplyCalibrationKey, MapDatumOnlyFillsAnEmptyName) {
  CalibrationRecord record =
      Parsed("map_datum=0\nmap_datum=A_very_long_datum_name\nmap_datum=Other\n");
  EXPECT_EQ(record.datum_name, "A_very_long_dat");
}

TEST(ParseCalibrationText, OverruledLinesAreNotKept) {
  // An unknown kind overruled by a later valid one, and a map_datum
  // overruled by a WGS84 datum1, would act again when the written text is
  // read back; they are dropped from the pending text.
  std::string left;
  CalibrationRecord record =
      Parsed("proj_mode=7=utm\nproj_mode=7=GCP\nmap_datum=Potsdam\ndatum1=7=WGS84#\nother=1\n",
             kCalibrationSourceKvm, true, &left);
  EXPECT_EQ(record.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ(record.datum_name, "WGS84");
  EXPECT_EQ(left, "other=1\n");
  // Where the writer's datum1 line overrules it again, the line stays.
  record = Parsed("map_datum=Potsdam\n", kCalibrationSourceKvm, true, &left);
  EXPECT_EQ(record.datum_name, "Potsdam");
  EXPECT_EQ(left, "map_datum=Potsdam\n");
  // A name from map_datum stops where a datum1 line would end it.
  EXPECT_EQ(Parsed("map_datum=My,Datum\n").datum_name, "My");
}

TEST(Datum1, PotsdamRoundTrip) {
  const std::string line = "datum1=7=Potsdam#6377397.155#299.1528128#587#16#393";
  CalibrationRecord record = Parsed(line);
  EXPECT_EQ(record.datum_name, "Potsdam");
  ASSERT_TRUE(record.datum_parameters.has_value());
  const DatumParameters expected = {6377397.155, 299.1528128, 587, 16, 393, 0, 0, 0, 0};
  EXPECT_EQ(*record.datum_parameters, expected);
  const auto text = WriteCalibrationText(record, std::nullopt);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->substr(0, text->find('\n')), line);
}

TEST(Datum1, QuotesSeparatorsAndFieldLength) {
  CalibrationRecord record = Parsed("datum1=7=Mine,\"1#2\"#3#12345678901234567");
  EXPECT_EQ(record.datum_name, "Mine");
  EXPECT_EQ(record.datum_parameter_text, "\"1#2\"#3#12345678901234567");
  const DatumParameters expected = {1.0, 3.0, 123456789012345.0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(*record.datum_parameters, expected);
  record = Parsed("datum1=7=Solo");
  EXPECT_EQ(record.datum_name, "Solo");
  EXPECT_FALSE(record.datum_parameter_text.has_value());
}

TEST(ParseCalibrationText, PointsEndAtTheFirstEmptyOne) {
  CalibrationRecord record = Parsed(
      "c1_lat=7=47\nc1_lon=7=8\nc2_lat=7=46\nc2_lon=7=9\nc4_lat=7=45\nc4_lon=7=10\nc4_x=7=5\n");
  EXPECT_EQ(CountPositionedPoints(record), 2);
  EXPECT_EQ((*record.points)[3], CalibrationPoint{});
  EXPECT_EQ(record.proj_mode, kCalibrationGeographic);
}

TEST(ParseCalibrationText, ThreePointsPromoteOnlyWhenAsked) {
  const std::string text =
      "c1_lat=7=47\nc1_lon=7=8\nc2_lat=7=46\nc2_lon=7=9\nc3_lat=7=45\nc3_lon=7=10";
  EXPECT_EQ(Parsed(text).proj_mode, kCalibrationKnownPoints);
  std::string copy = text;
  CalibrationRecord record;
  ParseCalibrationText(&copy, kCalibrationSourceKvm, &record, false, false);
  EXPECT_EQ(record.proj_mode, kCalibrationGeographic);
  // The last line had no terminator and was still read.
  EXPECT_EQ((*record.points)[2].longitude, 10.0);
}

TEST(ParseCalibrationText, LineEndsAndNul) {
  std::string left;
  const std::string text = std::string("a=1\rpixel_left=4=7\r\nb=2\nnord=7=5\0c1_lat=7=9\n", 42);
  CalibrationRecord record = Parsed(text, kCalibrationSourceKvm, true, &left);
  EXPECT_EQ(record.pixel_left, 7);
  EXPECT_EQ(record.north, 5.0);
  EXPECT_EQ((*record.points)[0].latitude, 0.0);
  EXPECT_EQ(left, "a=1\rb=2\n");
}

TEST(ParseCalibrationText, CalFileThreeByThreeWithTwips) {
  const std::string text =
      "proj_mode=7=3x3\nmap_datum=102\ntwipsx=4=15\n"
      "c1_lat=7=48\nc1_lon=7=8\nc1_x=4=150\nc1_y=4=30\n"
      "c2_lat=7=47\nc2_lon=7=9\nc2_x=4=1500\n"
      "c3_lat=7=46\nc3_lon=7=10\nc3_x=4=3000\n";
  CalibrationRecord record = Parsed(text, kCalibrationSourceCal);
  EXPECT_EQ(record.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ(record.datum_name, "NAD83");
  const double latitudes[] = {48, 47, 46};
  const double longitudes[] = {8, 9, 10};
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ((*record.points)[i].latitude, latitudes[i / 3]);
    EXPECT_EQ((*record.points)[i].longitude, longitudes[i % 3]);
  }
  EXPECT_EQ((*record.points)[0].pixel_x, 10);
  EXPECT_EQ((*record.points)[0].adjusted_x, 10);
  EXPECT_EQ((*record.points)[0].pixel_y, 30);  // no y divisor
  EXPECT_EQ((*record.points)[1].pixel_x, 100);
  EXPECT_EQ((*record.points)[2].pixel_x, 200);
}

std::string PointLines(int n, const char* lon, const char* lat, int x, int y) {
  const std::string p = "c" + std::to_string(n) + "_";
  const std::string i = "(" + std::to_string(n) + ")";
  return p + "lon=7=" + lon + "\n" + p + "lat=7=" + lat + "\n" + p + "x=7=" + std::to_string(x) +
         "\n" + p + "y=7=" + std::to_string(y) + "\nvpa" + i + "=7=0.00000000\nvpb" + i +
         "=7=0.00000000\nvpm" + i + "=7=0.00000000\nvpn" + i + "=7=0.00000000\n";
}

TEST(WriteCalibrationText, ExactLinesInOrder) {
  CalibrationRecord record;
  record.proj_mode = kCalibrationProjection;
  record.projparams = "proj=tmerc lon_0=9";
  record.datum_name = "Potsdam";
  record.pixel_top = 3;
  record.caloffset_left = -4;
  record.pixel_scale_horz = 2;
  record.pixel_scale_vert = 3;
  record.north = 48;
  record.west = 8;
  record.south = 46;
  record.east = 10;
  record.points = CalibrationPoints{};
  (*record.points)[0] = {48, 8, 0, 0, 0, 0};
  (*record.points)[1] = {46.5, 10.123456789, 999, 799, 999, 799};
  std::string expected =
      "proj_mode=7=proj\nprojparams=7=proj=tmerc lon_0=9\ndatum1=7=Potsdam#\n"
      "pixel_left=4=0\npixel_top=4=3\ncaloffset_left=4=-4\ncaloffset_top=4=0\n"
      "pixel_scale_horz=7=2.00000000\npixel_scale_vert=7=3.00000000\n"
      "kv_north=7=48.00000000\nkv_west=7=8.00000000\nkv_south=7=46.00000000\n"
      "kv_east=7=10.00000000\n";
  expected += PointLines(1, "8.00000000", "48.00000000", 0, 0);
  expected += PointLines(2, "10.12345679", "46.50000000", 999, 799);
  for (int n = 3; n <= 9; ++n) expected += PointLines(n, "0.00000000", "0.00000000", 0, 0);
  expected += "kept=1\n";
  EXPECT_EQ(WriteCalibrationText(record, std::string("kept=1\n")), expected);
}

TEST(WriteCalibrationText, ScalesDatumAndEmptyRecords) {
  CalibrationRecord record;
  EXPECT_FALSE(WriteCalibrationText(record, std::string("only=trailing\n")).has_value());
  record.pixel_scale_horz = record.pixel_scale_vert = 1;
  EXPECT_FALSE(WriteCalibrationText(record, std::nullopt).has_value());
  record.pixel_scale_horz = record.pixel_scale_vert = 2;
  EXPECT_EQ(WriteCalibrationText(record, std::nullopt), "pixel_scale=7=2.00000000\n");
  record = CalibrationRecord{};
  record.datum_name = "wgs 84";
  EXPECT_FALSE(WriteCalibrationText(record, std::nullopt).has_value());
  record.proj_mode = kCalibrationInvalid;
  EXPECT_EQ(WriteCalibrationText(record, std::nullopt), "proj_mode=7=\n");
  record = CalibrationRecord{};
  record.points = CalibrationPoints{};
  const std::string text = *WriteCalibrationText(record, std::nullopt);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 72);
}

// The handheld application reads "MCAL" too, and knows a projection line
// only in a projection calibration.
TEST(WriteCalibrationText, ProjectionParametersOnlyForTheProjectionKind) {
  CalibrationRecord record;
  ReadCalibrationIntoRecord("proj_mode=7=GCP\nprojparams=7=proj=merc\n", kCalibrationSourceKvm,
                            &record);
  EXPECT_EQ(record.projparams, "proj=merc");  // held, but not written
  record.points.reset();
  EXPECT_EQ(WriteCalibrationText(record, record.pending_text), "proj_mode=7=GCP\n");
  for (std::int32_t kind :
       {kCalibrationGeographic, kCalibrationThreeByThree, kCalibrationInvalid}) {
    record.proj_mode = kind;
    const std::string text = WriteCalibrationText(record, std::nullopt).value_or("");
    EXPECT_EQ(text.find("projparams"), std::string::npos) << kind;
  }
  record.proj_mode = kCalibrationProjection;
  EXPECT_EQ(WriteCalibrationText(record, std::nullopt),
            "proj_mode=7=proj\nprojparams=7=proj=merc\n");
}

// A number that is not finite has no text the reader would take back;
// it is written as 0, which is what the reader makes of any number it
// cannot read.
TEST(WriteCalibrationText, NonFiniteNumbersAreWrittenAsZero) {
  CalibrationRecord record;
  record.north = std::numeric_limits<double>::quiet_NaN();
  record.east = std::numeric_limits<double>::infinity();
  record.pixel_scale_horz = -std::numeric_limits<double>::infinity();
  record.pixel_scale_vert = 2;
  record.points = CalibrationPoints{};
  (*record.points)[0].latitude = -std::numeric_limits<double>::quiet_NaN();
  (*record.points)[0].longitude = 8;
  (*record.points)[8].vpn = std::numeric_limits<double>::infinity();
  const std::string text = WriteCalibrationText(record, std::nullopt).value();
  for (const char* word : {"nan", "inf", "NAN", "INF"}) {
    EXPECT_EQ(text.find(word), std::string::npos) << word << "\n" << text;
  }
  EXPECT_NE(text.find("kv_north=7=0.00000000\n"), std::string::npos);
  EXPECT_NE(text.find("kv_east=7=0.00000000\n"), std::string::npos);
  EXPECT_NE(text.find("pixel_scale_horz=7=0.00000000\n"), std::string::npos);
  EXPECT_NE(text.find("c1_lat=7=0.00000000\nc1_x"), std::string::npos);
  EXPECT_NE(text.find("vpn(9)=7=0.00000000\n"), std::string::npos);
}

// Lines the reader did not use are written back as they came, except those
// holding a number that is no number: the handheld would read garbage.
TEST(WriteCalibrationText, KeptLinesWithNonFiniteNumbersAreDropped) {
  CalibrationRecord record;
  record.north = 47;
  record.projparams = "lat_0=nan +k=1";
  const std::string trailing =
      "imageType=bmp\nrp1=nan,inf,10,20\nrp2=1e999,-nan,30,40\nnote=information\nlast=-INF";
  const std::string text = WriteCalibrationText(record, trailing).value();
  EXPECT_NE(text.find("imageType=bmp\nnote=information\n"), std::string::npos) << text;
  for (const char* word : {"rp1", "rp2", "last=", "nan", "1e999"}) {
    EXPECT_EQ(text.find(word), std::string::npos) << word << "\n" << text;
  }
  record.proj_mode = kCalibrationProjection;
  EXPECT_EQ(WriteCalibrationText(record, std::nullopt).value().find("projparams"),
            std::string::npos);
}

// Text → record → text → record keeps every value and every unconsumed line.
TEST(CalibrationText, RoundTripKeepsValuesAndPendingLines) {
  const std::string texts[] = {
      "; made by hand\nproj_mode=7=GCP\nmap_datum=Potsdam\ndatum1=7=Potsdam#6377397.155#"
      "299.1528128#587#16#393\nextra = something\npixel_left=4=12\npixel_top=4=0\n"
      "pixel_scale_horz=7=0,5\nkv_north=7=48\nkv_west=7=8\nkv_south=7=46\nkv_east=7=10\n"
      "c1_lat=7=48\nc1_lon=7=8\nc2_lat=7=46\nc2_lon=7=10\nc2_x=7=999\nc2_y=7=799\n"
      "vpa(3)=7=1.25\nc3_lat=7=47\nc3_lon=7=9\r\nproj_mode=7=utm\nlast line",
      "projparams=7=proj=utm zone=32\nproj_mode=7=proj\ncaloffset_top=4=-3\n",
      "proj_mode=7=3x3\nc1_lat=7=0\nc1_lon=7=0\nvpa(1)=7=1\nvpn(9)=7=-2.5\n",
      "datum1=7=#1#2\n",
  };
  for (const std::string& original : texts) {
    SCOPED_TRACE(original);
    CalibrationRecord first;
    ReadCalibrationIntoRecord(original, kCalibrationSourceKvm, &first);
    const std::optional<std::string> written = WriteCalibrationText(first, first.pending_text);
    ASSERT_TRUE(written.has_value());
    CalibrationRecord second;
    ReadCalibrationIntoRecord(*written, kCalibrationSourceKvm, &second);
    EXPECT_EQ(second, first);
    EXPECT_EQ(WriteCalibrationText(second, second.pending_text), written);
  }
}

TEST(CalibrationText, APointAtZeroNorthZeroEastAndThoseAfterItAreKept) {
  CalibrationRecord record;
  record.points = CalibrationPoints{};
  const struct {
    double latitude;
    double longitude;
    int x;
    int y;
  } kPoints[] = {{1.5, -1.5, 10, 20}, {-1.5, 1.5, 990, 780}, {0, 0, 500, 400}, {1.5, 1.5, 990, 20}};
  for (std::size_t i = 0; i < std::size(kPoints); ++i) {
    CalibrationPoint& point = (*record.points)[i];
    point.latitude = kPoints[i].latitude;
    point.longitude = kPoints[i].longitude;
    point.pixel_x = point.adjusted_x = kPoints[i].x;
    point.pixel_y = point.adjusted_y = kPoints[i].y;
  }
  const std::optional<std::string> written = WriteCalibrationText(record, std::nullopt);
  ASSERT_TRUE(written.has_value());
  EXPECT_NE(written->find("c3_lon=7=0.00000000\nc3_lat=7=0.00000001\nc3_x=7=500\n"),
            std::string::npos);
  CalibrationRecord read;
  ReadCalibrationIntoRecord(*written, kCalibrationSourceMap, &read);
  EXPECT_EQ(CountPositionedPoints(read), 4);
  for (std::size_t i = 0; i < std::size(kPoints); ++i) {
    SCOPED_TRACE(i);
    const CalibrationPoint& point = (*read.points)[i];
    EXPECT_NEAR(point.latitude, kPoints[i].latitude, 1e-8);
    EXPECT_EQ(point.longitude, kPoints[i].longitude);
    EXPECT_EQ(point.pixel_x, kPoints[i].x);
    EXPECT_EQ(point.pixel_y, kPoints[i].y);
  }
  // An unused slot stays at zero, so that the list still ends there.
  EXPECT_NE(written->find("c5_lon=7=0.00000000\nc5_lat=7=0.00000000\n"), std::string::npos);
}

}  // namespace
}  // namespace kv
