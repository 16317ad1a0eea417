#include "map/throw_on_status.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"

namespace kv {
namespace {

TEST(ThrowOnStatusTest, EachStatusRaisesItsError) {
  struct Row {
    int status;
    ErrorCode code;
  };
  const Row rows[] = {
      {1025, kErrUnknown},    {1026, kErrImageFileCorrupt},
      {1027, kErrFileOpen},   {1028, kErrImageFileCorrupt},
      {1029, kErrBadAlloc},   {1030, kErrFileWrite},
      {1031, kErrUnknown},    {1032, kErrNotOurFile},
      {1033, kErrFileCreate}, {1034, kErrFileOpen},
      {1035, kErrFileWrite},  {1036, kErrFileWrite},
      {1, kErrUnknown},       {-5, kErrUnknown},
  };
  for (const Row& row : rows) {
    bool raised = false;
    try {
      ThrowOnStatus(static_cast<PdbStatus>(row.status), "map.prc");
    } catch (const LException& error) {
      raised = true;
      EXPECT_EQ(error.code(), row.code) << row.status;
      EXPECT_STREQ(error.file_name(), "map.prc");
    }
    EXPECT_TRUE(raised) << row.status << " raised nothing";
  }
  EXPECT_NO_THROW(ThrowOnStatus(PdbStatus::kOk));
}

TEST(ThrowOnStatusTest, ReasonTravelsWithTheException) {
  PdbReason reason;
  SetPdbReason(&reason, "record %u starts beyond the end of the file", 3u);
  bool raised = false;
  try {
    ThrowOnStatus(PdbStatus::kInvalidFile, "map.prc", reason);
  } catch (const ErrNotOurFile& error) {
    raised = true;
    EXPECT_STREQ(error.reason(), "record 3 starts beyond the end of the file");
    EXPECT_STREQ(error.file_name(), "map.prc");
  }
  EXPECT_TRUE(raised) << "an invalid file raised nothing";
  // Without a reason the exception carries an empty one.
  raised = false;
  try {
    ThrowOnStatus(PdbStatus::kStreamError, "map.prc");
  } catch (const LException& error) {
    raised = true;
    EXPECT_STREQ(error.reason(), "");
  }
  EXPECT_TRUE(raised) << "a stream error raised nothing";
}

}  // namespace
}  // namespace kv
