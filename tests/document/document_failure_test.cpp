#include "document/document_failure.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "base/exceptions.h"

namespace kv {
namespace {

class RecordingDisplay : public ErrorDisplay {
 public:
  void ShowErrorBox(const ErrorBox& box) noexcept override { boxes.push_back(box); }
  std::vector<ErrorBox> boxes;
};

TEST(DocumentFailure, CapturesEachKindAndNamesUnnamedFiles) {
  DocumentFailure failure;
  EXPECT_TRUE(CaptureFailure([]() {}, "x", &failure));

  EXPECT_FALSE(CaptureFailure([]() { throw ErrFileOpen(); }, "a.bmp", &failure));
  EXPECT_EQ(failure.kind, FailureKind::kProgram);
  EXPECT_EQ(failure.code, kErrFileOpen);
  EXPECT_EQ(failure.file_name, "a.bmp");

  EXPECT_FALSE(CaptureFailure([]() { throw ErrFileRead("own.kvm"); }, "a.bmp", &failure));
  EXPECT_EQ(failure.file_name, "own.kvm");

  EXPECT_FALSE(CaptureFailure([]() { throw std::bad_alloc(); }, "", &failure));
  EXPECT_EQ(failure.code, kErrBadAlloc);

  EXPECT_FALSE(CaptureFailure([]() { throw std::runtime_error("odd"); }, "", &failure));
  EXPECT_EQ(failure.kind, FailureKind::kStandard);
  EXPECT_EQ(failure.description, "odd");

  EXPECT_FALSE(CaptureFailure([]() { throw 7; }, "", &failure));
  EXPECT_EQ(failure.kind, FailureKind::kUnknown);
}

TEST(DocumentFailure, ReportsOneBoxWithTheContextAndNoneWhenAlreadyReported) {
  StringTable strings = StringTable::Parse(BuiltInEnglishText());
  MessageTables tables = MessageTables::FromStrings(strings);
  RecordingDisplay display;
  ErrorReporter reporter(tables, display);

  DocumentFailure failure;
  CaptureFailure([]() { throw ErrFileOpen("map.tif"); }, "", &failure);
  ReportDocumentFailure(reporter, "importing the image", failure);
  ASSERT_EQ(display.boxes.size(), 1u);
  EXPECT_EQ(display.boxes[0].code, kErrFileOpen);
  EXPECT_EQ(display.boxes[0].context, "importing the image");
  EXPECT_NE(display.boxes[0].message.find("map.tif"), std::string::npos);

  CaptureFailure([]() { throw std::runtime_error("odd"); }, "", &failure);
  ReportDocumentFailure(reporter, "saving the map", failure);
  ASSERT_EQ(display.boxes.size(), 2u);
  EXPECT_NE(display.boxes[1].message.find("odd"), std::string::npos);

  CaptureFailure([]() { throw ErrAlreadyReported(); }, "", &failure);
  ReportDocumentFailure(reporter, "saving the map", failure);
  EXPECT_EQ(display.boxes.size(), 2u);
}

}  // namespace
}  // namespace kv
