#include "document/import_notice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "base/exceptions.h"
#include "bitmap/gdal_fixture.h"
#include "calibration/gdal_test_files.h"
#include "document/document.h"
#include "document_fixture.h"

namespace kv {
namespace {

using testing::DocumentTest;
using ::testing::HasSubstr;

const StringTable& English() {
  static const StringTable kEnglish = StringTable::Parse(BuiltInEnglishText());
  return kEnglish;
}

TEST_F(DocumentTest, ImportSaysWhichCalibrationItTookOrThatThereIsNone) {
  const std::array<double, 6> geo = {8.0, 0.005, 0.0, 47.5, 0.0, -0.005};
  const std::string tif = dir_.File("geo.tif");
  ASSERT_TRUE(testing::WriteGeoTiff(tif, 200, 100, &geo, 4326));
  const std::string beside = WriteBmp("beside.bmp", 50, 40);
  const std::string kvm = WriteText("beside.kvm",
                                    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
                                    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=49\nc2_y=7=39\n");
  const std::string lonely = WriteBmp("lonely.bmp", 50, 40);
  struct Case {
    std::string image;
    NoticeKind kind;
    std::string path;
    CalibrationSourceFormat format;
    int points;
  };
  const Case cases[] = {
      {tif, NoticeKind::kCalibrationTaken, tif, CalibrationSourceFormat::kGeoTiff, 9},
      {beside, NoticeKind::kCalibrationTaken, kvm, CalibrationSourceFormat::kKvm, 2},
      {lonely, NoticeKind::kNoCalibration, lonely, CalibrationSourceFormat::kKvm, 0},
  };
  for (const Case& c : cases) {
    ui_.notices.clear();
    CDocument document(app_, ui_, true);
    ASSERT_EQ(document.ImportSourceImage(c.image, true, true), 0) << c.image;
    ASSERT_EQ(ui_.notices.size(), 1u) << c.image;
    const Notice& notice = ui_.notices[0];
    EXPECT_EQ(notice.kind, c.kind) << c.image;
    EXPECT_EQ(notice.path, c.path);
    EXPECT_FALSE(IsWarning(notice));
    const std::string text = NoticeText(English(), notice);
    EXPECT_THAT(text, HasSubstr(c.path));
    if (c.kind == NoticeKind::kCalibrationTaken) {
      EXPECT_EQ(notice.format, c.format);
      EXPECT_EQ(notice.points, c.points);
      EXPECT_THAT(notice.datum, HasSubstr("WGS"));
      EXPECT_THAT(text, HasSubstr(std::to_string(c.points) + " points, datum " + notice.datum));
    } else {
      EXPECT_THAT(text, HasSubstr("the map is not calibrated"));
    }
  }

  // Open only shows an image; it says nothing about a missing calibration.
  ui_.notices.clear();
  CDocument opened(app_, ui_, true);
  ASSERT_EQ(opened.ImportSourceImage(lonely, true, false), 0);
  EXPECT_TRUE(ui_.notices.empty());
}

TEST(ImportNoticeTest, WarningsOfTheReaderAreToldWhateverElseIs) {
  const TakenCalibration taken{"/maps/area.map",
                               CalibrationSourceFormat::kOziMap,
                               {{ImportWarningKind::kUnknownDatum, "Bogus 1900"},
                                {ImportWarningKind::kPointsSkipped, "2 points without a position"},
                                {ImportWarningKind::kNoUsablePoints, "no point has a position"}}};
  CalibrationRecord record;
  for (bool tell : {false, true}) {
    const std::vector<Notice> notices = CalibrationNotices(taken, record, "/maps/area.png", tell);
    ASSERT_EQ(notices.size(), tell ? 4u : 3u);
    for (std::size_t i = tell ? 1 : 0; i < notices.size(); ++i) {
      EXPECT_TRUE(IsWarning(notices[i]));
      const std::string text = NoticeText(English(), notices[i]);
      EXPECT_THAT(text, HasSubstr("/maps/area.map"));
      EXPECT_THAT(text, HasSubstr(notices[i].warning->detail));
    }
  }
  EXPECT_THAT(NoticeText(English(), CalibrationNotices(taken, record, "", false)[0]),
              HasSubstr("\"Bogus 1900\" of /maps/area.map is not known"));
}

TEST_F(DocumentTest, NamesAreCutByCharactersAndWhatTheHandheldCannotShowIsWarned) {
  std::string long_name = "Łódź";
  for (int i = 0; i < 40; ++i) long_name += "ü";
  const std::string bmp = WriteBmp(long_name + ".bmp", 50, 40);
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, true), 0);
  std::string expected = "Łódź";
  for (int i = 0; i < 27; ++i) expected += "ü";
  EXPECT_EQ(document.image_list().current()->name(), expected);  // 31 characters
  ASSERT_FALSE(ui_.notices.empty());
  const Notice& warning = ui_.notices.back();
  EXPECT_EQ(warning.kind, NoticeKind::kUnshownCharacters);
  EXPECT_EQ(warning.unshown, "Łź");
  EXPECT_TRUE(IsWarning(warning));
  EXPECT_THAT(NoticeText(English(), warning), HasSubstr("Łź are stored as \"?\""));
}

// Each failure names the file that is at fault: the image that is no
// image, or the image that is missing, also when a calibration file stands
// in for it.
TEST_F(DocumentTest, AFailedImportNamesTheFileAtFault) {
  struct Case {
    std::string path;
    ErrorCode code;
    std::string named;  // the file name the error carries when not `path`
    bool reason;
  };
  const std::string map = WriteText("lost.map",
                                    "OziExplorer Map Data File Version 2.2\nlost\n"
                                    "C:\\maps\\Gone.png\nWGS 84,WGS 84,0,0,WGS 84\n");
  const Case cases[] = {
      {WriteText("garbage.jpg", "this is no JPEG at all"), kErrNotAnImage, "", false},
      {WriteText("garbage.png", std::string(2000, '\x55')), kErrNotAnImage, "", false},
      {dir_.File("missing.jpg"), kErrFileOpen, "", true},
      {map, kErrFileOpen, dir_.File("Gone.png"), true},
  };
  for (const Case& c : cases) {
    ui_.failures.clear();
    CDocument document(app_, ui_, true);
    EXPECT_EQ(document.ImportSourceImage(c.path, true, true), -1);
    ASSERT_EQ(ui_.failures.size(), 1u) << c.path;
    const DocumentFailure& failure = ui_.failures[0].failure;
    EXPECT_EQ(failure.code, c.code) << c.path;
    EXPECT_EQ(failure.file_name, c.named.empty() ? c.path : c.named);
    EXPECT_EQ(failure.reason.empty() && failure.system_error == 0, !c.reason) << failure.reason;
  }
}

}  // namespace
}  // namespace kv
