#include "base/exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>

namespace kv {
namespace {

template <typename E>
void ExpectCodeAndBase(ErrorCode code, bool is_file_error) {
  E error("name");
  EXPECT_EQ(error.code(), code);
  EXPECT_STREQ(error.file_name(), "name");
  EXPECT_EQ(dynamic_cast<const FileException*>(static_cast<const LException*>(&error)) != nullptr,
            is_file_error)
      << std::hex << code;
}

TEST(ExceptionsTest, EachClassFixesItsCodeAndBase) {
  ExpectCodeAndBase<ErrImageListFull>(0x20000001, false);
  ExpectCodeAndBase<ErrFileRead>(0x20000002, true);
  ExpectCodeAndBase<ErrFileWrite>(0x20000003, true);
  ExpectCodeAndBase<ErrFileCreate>(0x20000004, true);
  ExpectCodeAndBase<ErrFileOpen>(0x20000005, true);
  ExpectCodeAndBase<ErrNotOurFile>(0x20000006, true);
  ExpectCodeAndBase<ErrUnknownImageKind>(0x20000007, true);
  ExpectCodeAndBase<ErrImageFileCorrupt>(0x20000008, true);
  ExpectCodeAndBase<ErrAlreadyReported>(0x20000009, false);
  ExpectCodeAndBase<ErrImageTooBig>(0x2000000a, false);
  ExpectCodeAndBase<ErrUnknown>(0x2000000b, false);
  ExpectCodeAndBase<ErrBadAlloc>(0x2000000c, false);
  ExpectCodeAndBase<ErrJPEGDecompressFailed>(0x2000000d, false);
  ExpectCodeAndBase<ErrImageTooSmall>(0x2000000e, false);
  ExpectCodeAndBase<ErrCompressionFmtNotSupported>(0x20000012, false);
  ExpectCodeAndBase<ErrOffTheEarth>(0x20000013, true);
}

TEST(ExceptionsTest, EveryExceptionKeepsItsOwnFileName) {
  ErrFileOpen first("first.prc");
  ErrFileRead second("second.prc");
  EXPECT_STREQ(first.file_name(), "first.prc");
  EXPECT_STREQ(second.file_name(), "second.prc");
  ErrFileOpen copy = first;
  first.set_file_name("changed");
  EXPECT_STREQ(copy.file_name(), "first.prc");
}

TEST(ExceptionsTest, MissingNameIsNullAndWhatIsEmpty) {
  ErrBadAlloc error;
  EXPECT_EQ(error.file_name(), nullptr);
  EXPECT_STREQ(error.what(), "");
  error.set_file_name("x");
  EXPECT_STREQ(error.what(), "x");
  error.set_file_name(nullptr);
  EXPECT_EQ(error.file_name(), nullptr);
}

TEST(ExceptionsTest, LongNamesAreCutTo255Bytes) {
  const std::string long_name(400, 'n');
  ErrFileWrite error(long_name.c_str());
  EXPECT_EQ(std::string(error.file_name()), std::string(255, 'n'));
}

TEST(ExceptionsTest, NameCanBeSetFromItself) {
  ErrFileWrite error("self");
  error.set_file_name(error.file_name());
  EXPECT_STREQ(error.file_name(), "self");
}

TEST(ExceptionsTest, ReasonIsKeptBesideTheNameAndCut) {
  ErrNotOurFile error("map.prc");
  EXPECT_STREQ(error.reason(), "");
  error.set_reason(std::string(200, 'r').c_str());
  EXPECT_EQ(std::string(error.reason()), std::string(kMaxExceptionReason, 'r'));
  error.set_file_name("other.prc");
  EXPECT_EQ(std::strlen(error.reason()), kMaxExceptionReason);
  error.set_reason(nullptr);
  EXPECT_STREQ(error.reason(), "");
  EXPECT_STREQ(error.file_name(), "other.prc");
}

TEST(ExceptionsTest, CatchableAsFileExceptionAndStdException) {
  try {
    throw ErrNotOurFile("map.prc");
  } catch (const FileException& error) {
    EXPECT_EQ(error.code(), kErrNotOurFile);
  }
  try {
    throw ErrImageTooBig();
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "");
  }
}

}  // namespace
}  // namespace kv
