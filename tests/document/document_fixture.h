#ifndef KORVALE_TESTS_DOCUMENT_DOCUMENT_FIXTURE_H_
#define KORVALE_TESTS_DOCUMENT_DOCUMENT_FIXTURE_H_

// A temporary folder with image and calibration files, the application
// state and the recording user interface a document needs.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "bitmap/bmp_fixture.h"
#include "document/application_state.h"
#include "document/document.h"
#include "recording_ui.h"
#include "temp_folder.h"

namespace kv::testing {

inline std::uint32_t Checks(int x, int y) {
  return ((x / 8) + (y / 8)) % 2 == 0 ? 0xC03010u : 0x2080F0u;
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    app_.diagnostics = &diagnostics_;
    app_.caption = "Korvale";
    app_.default_document_name = "Untitled";
    app_.save_changes_question = "Save %s?";
    app_.replace_calibration_question = "Replace?";
    app_.empty_map_message = "Empty map";
  }

  std::string WriteBmp(const std::string& name, int width, int height) {
    BmpParams params;
    params.width = width;
    params.height = height;
    return dir_.Write(name, MakeBmp(params, Checks));
  }
  std::string WriteText(const std::string& name, const std::string& text) {
    return dir_.Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  std::string Folder() const { return dir_.File(""); }

  TempFolder dir_;
  std::ostringstream diagnostics_;
  ApplicationState app_;
  RecordingUi ui_;
};

// Bounds and two points of a map at 47.5N 8E to 47N 9E, 200 x 150 pixels.
inline const char kTwoPointKvm[] =
    "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=100\nc1_y=7=50\n"
    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=199\nc2_y=7=149\n";

}  // namespace kv::testing

#endif  // KORVALE_TESTS_DOCUMENT_DOCUMENT_FIXTURE_H_
