// The pieces behind the calibration dialog: the point list, the projection
// text, the captions and the notation of positions (the grid against PROJ).

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>

#include "document/calibration_captions.h"
#include "document/calibration_notation.h"
#include "document/calibration_point_list.h"
#include "document/calibration_projection_fields.h"
#include "geo/coordinate_systems.h"

namespace kv {
namespace {

CalibrationPoint At(int x, int y) {
  CalibrationPoint point;
  point.pixel_x = x;
  point.pixel_y = y;
  return point;
}

TEST(CalibrationPointList, AnyNonZeroFieldSetsAPointAndTheFirstNearOneIsFound) {
  CalibrationPoints points{};
  EXPECT_FALSE(AnyPointSet(points));
  points[0].latitude = 0.5;
  points[3] = At(100, 100);
  points[4] = At(104, 96);
  points[6] = At(0, 7);
  EXPECT_EQ(CountSetPoints(points), 4);
  EXPECT_EQ(FindPointNear(points, 108, 92), 3);  // 8 away from 3, 4 from 4
  EXPECT_EQ(FindPointNear(points, 112, 96), 4);  // 12 from 3, 8 from 4
  EXPECT_EQ(FindPointNear(points, 113, 96), -1);
  EXPECT_EQ(FindPointNear(points, -8, 8), 0);  // point 1 at (0, 0) counts: it is set
  // An empty slot at (0, 0) is never found.
  points[0] = CalibrationPoint{};
  EXPECT_EQ(FindPointNear(points, 0, 0), 6);
}

TEST(CalibrationPointList, DeletingTheLastOrAnEmptyPointKeepsTheOthers) {
  CalibrationPoints points{};
  for (int i = 0; i < kCalibrationPointCount; ++i) points[i] = At(i + 1, 0);
  DeletePointAt(&points, 8);
  EXPECT_EQ(points[7].pixel_x, 8);
  EXPECT_EQ(points[8], CalibrationPoint{});
  DeletePointAt(&points, 0);
  EXPECT_EQ(points[0].pixel_x, 2);
  EXPECT_EQ(points[6].pixel_x, 8);
  EXPECT_EQ(points[7], CalibrationPoint{});
  DeletePointAt(&points, 9);  // outside: nothing
  DeletePointAt(&points, -1);
  EXPECT_EQ(points[0].pixel_x, 2);
}

std::string Degrees(double value, PositionAxis axis) {
  return (axis == PositionAxis::kLatitude ? "lat:" : "lon:") + FormatFixed(value, 2);
}

TEST(CalibrationProjectionFields, TheTextGivesTheProjectionAndEachKeysValue) {
  ProjectionFields fields =
      ProjectionFieldsFromText("proj=lcc lat_1=48 lon_0=10.5 x_0=1 towgs=3 ", Degrees);
  EXPECT_EQ(fields.projection, 2);
  EXPECT_EQ(fields.parameters[0].key, "lat_1");
  EXPECT_EQ(fields.parameters[0].value, "lat:48.00");
  EXPECT_EQ(fields.parameters[1].value, "");  // lat_2 not given
  EXPECT_EQ(fields.parameters[3].key, "lon_0");
  EXPECT_EQ(fields.parameters[3].value, "lon:10.50");
  EXPECT_EQ(fields.parameters[4].value, "1");
  // lcc offers six keys: the unknown one finds no free pair.
  for (const ProjectionParameter& p : fields.parameters) EXPECT_NE(p.key, "towgs");

  fields = ProjectionFieldsFromText("proj=mill towgs=3", Degrees);
  EXPECT_EQ(fields.parameters[4].key, "towgs");
  EXPECT_EQ(fields.parameters[4].value, "3");

  // A key without a value takes no pair, so the text reads back the same.
  fields = ProjectionFieldsFromText("proj=mill a= b=1", Degrees);
  EXPECT_EQ(fields.parameters[4].key, "b");
  EXPECT_EQ(fields.parameters[5].key, "");

  EXPECT_EQ(ProjectionFieldsFromText("", Degrees).projection, 0);
  EXPECT_EQ(ProjectionFieldsFromText("proj=unknown", Degrees).projection, 0);
  EXPECT_EQ(ProjectionFieldsFromText(" x=1 proj=UTM zone=32", Degrees).projection, 6);
}

TEST(CalibrationProjectionFields, TheTextHasTheFilledPairsInOrderWithAnglesInDegrees) {
  ProjectionFields fields;
  fields.projection = 1;  // aea
  fields.parameters[0] = {"lat_1", "S33 30"};
  fields.parameters[1] = {"lat_2", ""};
  fields.parameters[2] = {"", "7"};
  fields.parameters[3] = {"lon_0", "w8.25"};
  fields.parameters[5] = {"k", "0.9996"};
  EXPECT_EQ(ProjectionTextFromFields(fields, "SWsw"),
            "proj=aea lat_1=-33.50000000 lon_0=-8.25000000 k=0.9996 ");
  fields.projection = 0;
  EXPECT_EQ(ProjectionTextFromFields(fields, "SWsw"), "");
  EXPECT_TRUE(IsAngleKey("lon_0"));
  EXPECT_FALSE(IsAngleKey("k"));
  EXPECT_EQ(AngleAxisOf("lat_ts"), PositionAxis::kLatitude);
  EXPECT_EQ(AngleAxisOf("l"), PositionAxis::kLongitude);
}

TEST(CalibrationCaptions, EveryModeCaptionsEachFieldOnce) {
  for (CalibrationMode mode :
       {CalibrationMode::kCorners, CalibrationMode::kCentre, CalibrationMode::kPoints}) {
    for (bool zoned : {false, true}) {
      const std::vector<CaptionString> captions = ModeCaptions(mode, zoned);
      for (std::size_t i = 0; i < captions.size(); ++i) {
        for (std::size_t j = i + 1; j < captions.size(); ++j) {
          EXPECT_NE(captions[i].string, captions[j].string);
          EXPECT_NE(captions[i].field, captions[j].field);
        }
      }
    }
  }
  // The centre's captions hold the help texts of the fields they caption.
  for (const CaptionString& caption : ModeCaptions(CalibrationMode::kCentre, false)) {
    if (caption.field == CalibrationField::kCentreLatitude ||
        caption.field == CalibrationField::kCentreLongitude) {
      EXPECT_EQ(caption.string, HelpLineString(caption.field, CalibrationMode::kCentre));
    }
  }
  EXPECT_EQ(HelpLineString(CalibrationField::kSouthEastZone, CalibrationMode::kCorners), 2067u);
  EXPECT_EQ(HelpLineString(CalibrationField::kSouthEastZone, CalibrationMode::kCentre), 0u);
  EXPECT_EQ(HelpLineString(CalibrationField::kCentreZone, CalibrationMode::kCentre), 2068u);
  EXPECT_EQ(HelpLineString(CalibrationField::kSystem, CalibrationMode::kCorners), 0u);
}

// Which parts each kind and mode shows; the zones only in a zoned grid.
TEST(CalibrationFields, EachKindAndModeShowsItsParts) {
  using enum CalibrationField;
  using K = CalibrationKind;
  using M = CalibrationMode;
  const struct {
    CalibrationPanelState state;
    std::vector<CalibrationField> shown;
    std::vector<CalibrationField> hidden;
  } kCases[] = {
      {{K::kRectangular, M::kCorners, false},
       {kModeCentre, kNorthWestLatitude, kSouthEastLongitude},
       {kNorthWestZone, kCentreLatitude, kHorizontalExtent, kPixelX, kDatum}},
      {{K::kRectangular, M::kCorners, true}, {kNorthWestZone, kSouthEastZone}, {kCentreZone}},
      {{K::kRectangular, M::kCentre, true},
       {kCentreZone, kCentreLatitude, kHorizontalExtent, kVerticalExtent},
       {kSouthEastZone, kNorthWestLatitude, kPointZone}},
      {{K::kRectangular, M::kPoints, true},
       {kPointZone, kResidualsTable, kFollow},
       {kNorthWestLatitude, kCentreLatitude, kKnownPointsNote}},
      {{K::kProjection, M::kPoints, false},
       {kDatum, kParameterValue6, kPixelX},
       {kModePoints, kPointZone, kThreeByThreeNote}},
      {{K::kKnownPoints, M::kPoints, false}, {kKnownPointsNote, kPick}, {kDatum}},
      {{K::kThreeByThree, M::kPoints, false}, {kThreeByThreeNote, kKind, kHelpLine}, {kPixelX}},
  };
  for (const auto& c : kCases) {
    for (CalibrationField field : c.shown) {
      EXPECT_TRUE(IsShown(field, c.state)) << static_cast<int>(field);
    }
    for (CalibrationField field : c.hidden) {
      EXPECT_FALSE(IsShown(field, c.state)) << static_cast<int>(field);
    }
  }
}

class PositionNotationTest : public ::testing::Test {
 protected:
  PositionNotation Notation(int system) { return PositionNotation(context_, texts_, system, 0); }
  CoordinateContext context_;
  PositionTexts texts_{"NS", "EW", ".", "SWsw"};
};

TEST_F(PositionNotationTest, DegreeNotationsFormatParseAndRefuse) {
  const PositionNotation minutes = Notation(kSystemDegreesMinutes);
  const PositionFields fields = minutes.Format({-33.5, 18.25});
  EXPECT_EQ(fields.latitude, "S33 30.000000");
  EXPECT_EQ(fields.longitude, "E18 15.000000");
  EXPECT_EQ(fields.zone, "");
  bool bad_latitude = true;
  std::optional<LatLon> parsed = minutes.Parse(fields, &bad_latitude);
  ASSERT_TRUE(parsed);
  EXPECT_DOUBLE_EQ(parsed->latitude, -33.5);
  EXPECT_DOUBLE_EQ(parsed->longitude, 18.25);
  EXPECT_FALSE(bad_latitude);

  EXPECT_FALSE(minutes.Parse({"", "N90.5", "E1"}, &bad_latitude));
  EXPECT_TRUE(bad_latitude);
  EXPECT_FALSE(minutes.Parse({"", "N9", "E"}, &bad_latitude));
  EXPECT_FALSE(bad_latitude);
  parsed = minutes.Parse({"", "", ""}, &bad_latitude);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->latitude, 0.0);

  EXPECT_EQ(Notation(kSystemDecimalDegrees).Rewrite("-12.5", PositionAxis::kLongitude),
            "W12.500000");
  EXPECT_EQ(Notation(kSystemDecimalDegrees).Rewrite("N", PositionAxis::kLatitude), std::nullopt);
  EXPECT_EQ(Notation(kSystemDecimalDegrees).Rewrite("180", PositionAxis::kLongitude),
            "E180.000000");
}

TEST_F(PositionNotationTest, ZonedAndFixedDatumGrids) {
  EXPECT_TRUE(IsZonedGrid(kSystemUtm));
  EXPECT_TRUE(IsZonedGrid(kSystemOsgb));
  EXPECT_TRUE(IsZonedGrid(kSystemMga));
  EXPECT_TRUE(IsZonedGrid(20));  // Quebec MTM
  EXPECT_FALSE(IsZonedGrid(9));
  EXPECT_FALSE(IsZonedGrid(kSystemDecimalDegrees));
  EXPECT_EQ(FixedDatumOf(context_, kSystemUtm), std::nullopt);
  EXPECT_EQ(FixedDatumOf(context_, kSystemDegreesMinutes), std::nullopt);
  EXPECT_EQ(FixedDatumOf(context_, kSystemOsgb), "OrdSrvyGrtBritn");
  EXPECT_EQ(FixedDatumOf(context_, 13), "Irelnd65");
  EXPECT_EQ(FixedDatumOf(context_, 24), "bessel");
}

// A grid shows a position outside its area in degrees; the same text,
// edited, is read as degrees again, never as metres.
TEST_F(PositionNotationTest, GridsReadEditedDegreeTextsAsDegrees) {
  const PositionFields shown = Notation(kSystemOsgb).Format({40.5, -74.25});
  ASSERT_EQ(shown.latitude, "N40.500000");
  ASSERT_EQ(shown.longitude, "W74.250000");
  for (const int system : {kSystemOsgb, 9}) {  // with zones and without
    SCOPED_TRACE(system);
    const PositionNotation grid = Notation(system);
    bool bad_latitude = true;
    for (const PositionFields& typed : {PositionFields{shown.zone, "N40.75", shown.longitude},
                                        PositionFields{"", "40 45 N", "74.25W"}}) {
      const std::optional<LatLon> parsed = grid.Parse(typed, &bad_latitude);
      ASSERT_TRUE(parsed);
      EXPECT_DOUBLE_EQ(parsed->latitude, 40.75);
      EXPECT_DOUBLE_EQ(parsed->longitude, -74.25);
    }
    EXPECT_EQ(grid.Rewrite("N40.75", PositionAxis::kLatitude), "N40.750000");
    EXPECT_FALSE(grid.Parse({"", "N40.75 x", "W74"}, &bad_latitude));
  }
}

// PROJ's UTM on WGS84 as the independent reference for what the dialog
// shows and reads back.
struct ProjUtm {
  explicit ProjUtm(int zone, bool south) {
    context = proj_context_create();
    const std::string definition = "+proj=utm +zone=" + std::to_string(zone) +
                                   (south ? " +south" : "") + " +ellps=WGS84 +type=crs";
    projection = proj_create_crs_to_crs(context, "+proj=longlat +ellps=WGS84 +type=crs",
                                        definition.c_str(), nullptr);
  }
  ~ProjUtm() {
    proj_destroy(projection);
    proj_context_destroy(context);
  }
  PJ_COORD Forward(double latitude, double longitude) const {
    return proj_trans(projection, PJ_FWD, proj_coord(longitude, latitude, 0, 0));
  }
  PJ_COORD Inverse(double easting, double northing) const {
    return proj_trans(projection, PJ_INV, proj_coord(easting, northing, 0, 0));
  }
  PJ_CONTEXT* context;
  PJ* projection;
};

TEST_F(PositionNotationTest, UtmFieldsAgreeWithProj) {
  const PositionNotation utm = Notation(kSystemUtm);
  struct Case {
    double latitude, longitude;
    int zone;
    std::string zone_text;
  };
  for (const Case& c :
       {Case{47.25, 8.0, 32, "32T"}, Case{-33.9, 18.4, 34, "34H"}, Case{60.0, 5.0, 32, "32V"}}) {
    const ProjUtm peer(c.zone, c.latitude < 0);
    ASSERT_NE(peer.projection, nullptr);
    const PositionFields fields = utm.Format({c.latitude, c.longitude});
    EXPECT_EQ(fields.zone, c.zone_text);
    const PJ_COORD expected = peer.Forward(c.latitude, c.longitude);
    EXPECT_NEAR(std::stod(fields.longitude), expected.xy.x, 0.06);
    EXPECT_NEAR(std::stod(fields.latitude), expected.xy.y, 0.06);

    // A typed grid reference reads back as PROJ's inverse.
    const double easting = std::round(expected.xy.x) + 1234.0;
    const double northing = std::round(expected.xy.y) - 2345.0;
    bool bad_latitude = false;
    const std::optional<LatLon> parsed =
        utm.Parse({c.zone_text, FormatFixed(northing, 0), FormatFixed(easting, 0)}, &bad_latitude);
    ASSERT_TRUE(parsed);
    const PJ_COORD back = peer.Inverse(easting, northing);
    EXPECT_NEAR(parsed->latitude, back.lp.phi, 1e-6);
    EXPECT_NEAR(parsed->longitude, back.lp.lam, 1e-6);
  }
  bool bad_latitude = false;
  EXPECT_FALSE(utm.Parse({"32T", "north", "500000"}, &bad_latitude));
  EXPECT_TRUE(bad_latitude);
  EXPECT_EQ(utm.Rewrite("5234567.04", PositionAxis::kLatitude), "5234567.0");
}

}  // namespace
}  // namespace kv
