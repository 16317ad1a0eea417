// The import chooser offers every calibration file the program reads: each
// given as the file to import opens the image it names or stands beside,
// and an image chosen where a calibration file is wanted says so plainly.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/message_tables.h"
#include "document/document.h"
#include "document_fixture.h"

namespace kv {
namespace {

using testing::DocumentTest;
using ::testing::HasSubstr;

constexpr char kOziMap[] =
    "OziExplorer Map Data File Version 2.2\r\nArea\r\nC:\\Maps\\scan.bmp\r\n1 ,Map Code,\r\n"
    "WGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
    "Magnetic Variation,,,E\r\n"
    "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n"
    "Point01,xy, 0, 0,in, deg, 47, 30.0,N, 8, 0.0,E, grid, , , ,N\r\n"
    "Point02,xy, 199, 0,in, deg, 47, 30.0,N, 9, 0.0,E, grid, , , ,N\r\n"
    "Point03,xy, 199, 149,in, deg, 47, 0.0,N, 9, 0.0,E, grid, , , ,N\r\n";

struct ForeignFile {
  const char* name;
  const char* text;
  const char* image;  // the image it names or stands beside
  int points;         // calibration points it gives
  bool bounds;        // whether it gives the map's bounds
};

TEST_F(DocumentTest, ForeignCalibrationFilesOpenTheImageTheyNameOrStandBeside) {
  const ForeignFile files[] = {// OziExplorer: the image named on line 2, a Windows path of another
                               // machine, found in the file's folder.
                               {"area.map", kOziMap, "scan.bmp", 3, false},
                               // Bounds only, lines 1 to 4: the image beside it. (A ".geo" numbers
                               // its points from 0.)
                               {"alps.pca", "header\nE8\nN47.5\nE9\nN47\n", "alps.bmp", 0, true},
                               {"lake.geo",
                                "latitudeTL=47.5\nlongitudeTL=8\nlatitudeBR=47\nlongitudeBR=9\n"
                                "rp0=47.5,8,0,0\nrp1=47.5,9,199,0\nrp2=47,9,199,149\n",
                                "lake.bmp", 3, true}};
  for (const ForeignFile& file : files) {
    SCOPED_TRACE(file.name);
    WriteBmp(file.image, 200, 150);
    const std::string path = WriteText(file.name, file.text);
    app_.calibration = {};
    ui_.failures.clear();
    CDocument document(app_, ui_, true);
    ASSERT_EQ(document.ImportSourceImage(path, true, true), 0);
    EXPECT_TRUE(ui_.failures.empty());
    EXPECT_EQ(document.source_path(), dir_.File(file.image));
    EXPECT_GT(document.container().image_count(), 1u);  // overview and tiles
    EXPECT_EQ(CountPositionedPoints(app_.calibration), file.points);
    if (file.points > 0) {
      EXPECT_DOUBLE_EQ((*app_.calibration.points)[0].latitude, 47.5);
      EXPECT_DOUBLE_EQ((*app_.calibration.points)[1].longitude, 9.0);
    }
    if (file.bounds) {
      EXPECT_DOUBLE_EQ(app_.calibration.north, 47.5);
      EXPECT_DOUBLE_EQ(app_.calibration.east, 9.0);
      EXPECT_EQ(document.image_list().current()->corner_text(kTopLeftLatitude), "N47.50000000");
    }
  }
}

TEST_F(DocumentTest, AForeignCalibrationFileWithoutItsImageNamesTheImage) {
  const std::string path = WriteText("alone.pca", "header\nE8\nN47.5\nE9\nN47\n");
  CDocument document(app_, ui_, true);
  EXPECT_EQ(document.ImportSourceImage(path, true, false), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrFileOpen);
  EXPECT_EQ(ui_.failures[0].failure.file_name, dir_.File("alone"));
  EXPECT_THAT(ui_.failures[0].failure.reason, HasSubstr(path));
}

// An image where a calibration or world file belongs: the error says that
// the file is not what was wanted (and its detail which files are), not
// that its kind of image is unknown.
TEST_F(DocumentTest, AnImageChosenAsCalibrationFileSaysItIsAnImage) {
  const std::string bmp = WriteBmp("scan.bmp", 200, 150);
  const std::string jpeg = WriteText("photo.jpg", "\xFF\xD8\xFF\xE0 not much of a JPEG");
  for (const std::string& chosen : {jpeg, bmp}) {
    SCOPED_TRACE(chosen);
    for (const std::optional<WorldFileSystem>& system :
         {std::optional<WorldFileSystem>(), std::optional(WorldFileSystem{})}) {
      ui_.failures.clear();
      CDocument document(app_, ui_, true);
      EXPECT_EQ(document.ImportCalibrationFile(chosen, system), -1);
      ASSERT_EQ(ui_.failures.size(), 1u);
      const DocumentFailure& failure = ui_.failures[0].failure;
      EXPECT_EQ(failure.code, kErrNotACalibrationFile);
      EXPECT_EQ(failure.file_name, chosen);
    }
  }
}

}  // namespace
}  // namespace kv
