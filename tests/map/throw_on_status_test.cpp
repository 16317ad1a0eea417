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
    try {
      ThrowOnStatus(static_cast<PdbStatus>(row.status), "map.prc");
      ADD_FAILURE() << row.status << " raised nothing";
    } catch (const LException& error) {
      EXPECT_EQ(error.code(), row.code) << row.status;
      EXPECT_STREQ(error.file_name(), "map.prc");
    }
  }
  EXPECT_NO_THROW(ThrowOnStatus(kPdbOk));
}

TEST(ThrowOnStatusTest, ReasonTravelsWithTheException) {
  PdbReason reason;
  SetPdbReason(&reason, "record %u starts beyond the end of the file", 3u);
  try {
    ThrowOnStatus(kPdbInvalidFile, "map.prc", reason);
    ADD_FAILURE() << "raised nothing";
  } catch (const ErrNotOurFile& error) {
    EXPECT_STREQ(error.reason(), "record 3 starts beyond the end of the file");
    EXPECT_STREQ(error.file_name(), "map.prc");
  }
  try {
    ThrowOnStatus(kPdbStreamError, "map.prc");
  } catch (const LException& error) {
    EXPECT_STREQ(error.reason(), "");
  }
}

}  // namespace
}  // namespace kv
