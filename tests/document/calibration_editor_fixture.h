#ifndef KORVALE_TESTS_DOCUMENT_CALIBRATION_EDITOR_FIXTURE_H_
#define KORVALE_TESTS_DOCUMENT_CALIBRATION_EDITOR_FIXTURE_H_

// A document with one 200 x 150 image and the calibration editor over it,
// with a view and prompts that record what the editor asks of them.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "document/calibration_editor.h"
#include "document_fixture.h"

namespace kv::testing {

struct ViewCall {
  std::string what;  // "highlight", "blink", "cursor", "repaint", "handler"
  int a = 0;
  int b = 0;
  int c = 0;
  bool flag = false;
};

class RecordingPointView : public CalibrationPointView {
 public:
  int HighlightedPoint() const override { return highlighted; }
  void HighlightPoint(int x, int y, int index, bool make_visible) override {
    calls.push_back({"highlight", x, y, index, make_visible});
  }
  void CentreOnPixel(int x, int y) override { calls.push_back({"centre", x, y, 0, false}); }
  void BlinkPoint(int index) override { calls.push_back({"blink", index, 0, 0, false}); }
  void SetCalibrateCursor(bool on) override {
    cursor = on;
    calls.push_back({"cursor", 0, 0, 0, on});
  }
  void RepaintPoints() override { calls.push_back({"repaint", 0, 0, 0, false}); }
  void SetClickHandler(ClickHandler handler) override { has_handler = bool(handler); }

  int Count(const std::string& what) const {
    int n = 0;
    for (const ViewCall& call : calls) n += call.what == what ? 1 : 0;
    return n;
  }

  int highlighted = -1;
  bool cursor = false;
  bool has_handler = true;
  std::vector<ViewCall> calls;
};

class RecordingEditorPrompts : public CalibrationEditorPrompts {
 public:
  void ShowValidationError(const std::string& text, const std::string& caption) override {
    errors.push_back(caption + "|" + text);
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + "|" + text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::vector<std::string> errors;
  std::vector<std::string> questions;
  std::deque<bool> answers;
};

// The strings the editor shows, short enough to compare.
inline const char kEditorStrings[] =
    "2044 NS\n2043 EW\n2051 .\n2052 SWsw\n"
    "2260 needs pick\n2261 needs points\n"
    "2045 Calibration\n2046 bad scale\n2047 bad centre\n2048 bad latitude\n"
    "2049 bad longitude\n2065 drop points?\n2130 zone help\n"
    "2010 help NW lon\n2011 help NW lat\n2039 centre lon\n2040 centre lat\n"
    "2016 help pixel x\n2025 help point number\n2067 help SE zone\n"
    "2035 NW lat:\n2036 NW lon:\n2058 NW northing:\n2069 NW easting:\n"
    "2075 Lat:\n2074 Lon:\n2077 Northing:\n2076 Easting:\n";

class CalibrationEditorTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    strings_ = StringTable::Parse(kEditorStrings);
    document_ = std::make_unique<CDocument>(app_, ui_, true);
  }

  // Imports a 200 x 150 image; with `kvm` beside it the calibration.
  void Import(const std::string& kvm) {
    if (!kvm.empty()) WriteText("map.kvm", kvm);
    ASSERT_EQ(document_->ImportSourceImage(WriteBmp("map.bmp", 200, 150), true, false), 0);
    document_->container().ClearModified();
  }

  CalibrationEditor& Open() {
    editor_ = std::make_unique<CalibrationEditor>(
        CalibrationEditorContext{app_, *document_, &view_, strings_, prompts_});
    editor_->Initialise();
    return *editor_;
  }

  CImage& image() { return *document_->image_list().current(); }
  CalibrationPoint& point(int index) { return (*app_.calibration.points)[index]; }

  void SetPoints(const std::vector<CalibrationPoint>& points) {
    app_.calibration.points.emplace();
    for (std::size_t i = 0; i < points.size(); ++i) (*app_.calibration.points)[i] = points[i];
  }

  static CalibrationPoint Point(double latitude, double longitude, int x, int y) {
    CalibrationPoint point;
    point.latitude = latitude;
    point.longitude = longitude;
    point.pixel_x = point.adjusted_x = x;
    point.pixel_y = point.adjusted_y = y;
    return point;
  }

  std::string CalibrationText() {
    const std::vector<std::uint8_t>& bytes = image().calibration();
    return bytes.empty() ? std::string() : std::string(reinterpret_cast<const char*>(bytes.data()));
  }

  StringTable strings_;
  RecordingPointView view_;
  RecordingEditorPrompts prompts_;
  std::unique_ptr<CDocument> document_;
  std::unique_ptr<CalibrationEditor> editor_;
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_DOCUMENT_CALIBRATION_EDITOR_FIXTURE_H_
