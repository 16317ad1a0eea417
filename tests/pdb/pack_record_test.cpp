#include "pdb/pack_record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::uint8_t> Pack(std::vector<std::uint32_t> values, std::string_view descriptor,
                               std::uint32_t* out = nullptr) {
  OutputBuffer buffer;
  EXPECT_EQ(PackRecord(&buffer, values, descriptor, out), 0);
  return buffer.bytes;
}

TEST(PackRecordTest, WordTakesTheLow16BitsBigEndian) {
  EXPECT_THAT(Pack({0x12345}, "w"), ElementsAre(0x23, 0x45));
}

TEST(PackRecordTest, BytesAndLongs) {
  EXPECT_THAT(Pack({0x1FF, 0xDEADBEEF}, "b,l"), ElementsAre(0xFF, 0xDE, 0xAD, 0xBE, 0xEF));
}

TEST(PackRecordTest, RepeatCountsConsumeOneSlotEach) {
  EXPECT_THAT(Pack({1, 2, 3, 4}, "b3,b"), ElementsAre(1, 2, 3, 4));
  // "zb3" emits three zeros and leaves the slots for the next item.
  EXPECT_THAT(Pack({7}, "zb3,b"), ElementsAre(0, 0, 0, 7));
  // A count of 0 means 1.
  EXPECT_THAT(Pack({9, 8}, "b0,b"), ElementsAre(9, 8));
}

TEST(PackRecordTest, BitmapHeaderDescriptor) {
  std::vector<std::uint32_t> slots = {160, 131, 160, 0x8000, 8, 2, 0, 0, 0, 0xEEEE};
  std::vector<std::uint8_t> bytes = Pack(slots, "w,w,w,w,b,b,w,b,b,zw");
  EXPECT_THAT(bytes,
              ElementsAre(0x00, 0xA0, 0x00, 0x83, 0x00, 0xA0, 0x80, 0x00, 8, 2, 0, 0, 0, 0, 0, 0));
}

TEST(PackRecordTest, BitFieldsGatherIntoBytes) {
  EXPECT_THAT(Pack({0x0A, 0x05}, "t4,t4"), ElementsAre(0xA5));
  EXPECT_THAT(Pack({1, 0, 1, 0, 1, 0, 1, 1}, "t1,t1,t1,t1,t1,t1,t1,t1"), ElementsAre(0xAB));
  // Fewer than 8 pending bits at the end emit nothing.
  EXPECT_THAT(Pack({0x0A}, "t4"), IsEmpty());
}

TEST(PackRecordTest, BitFieldSlotIsNotMaskedToItsWidth) {
  // The slot's whole low byte is OR-ed in: 0x1F in a 4-bit field spills
  // into the field before it.
  EXPECT_THAT(Pack({0x00, 0x1F}, "t4,t4"), ElementsAre(0x1F));
}

TEST(PackRecordTest, PointerFieldStoresItsSlotAndEmitsZeros) {
  std::uint32_t out = 99;
  EXPECT_THAT(Pack({0x11, 0x1234, 0x22}, "b,p,b", &out), ElementsAre(0x11, 0, 0, 0, 0, 0x22));
  EXPECT_EQ(out, 0x1234u);
  // With "z" the slot is stored but not consumed.
  EXPECT_THAT(Pack({0x55}, "zp,b", &out), ElementsAre(0, 0, 0, 0, 0x55));
  EXPECT_EQ(out, 0x55u);
}

TEST(PackRecordTest, OutValueStartsAtZero) {
  std::uint32_t out = 99;
  Pack({1}, "b", &out);
  EXPECT_EQ(out, 0u);
}

TEST(PackRecordTest, UnknownLettersEmitNothing) {
  EXPECT_THAT(Pack({1, 2}, "x,b,q7,b"), ElementsAre(1, 2));
}

TEST(PackRecordTest, MissingSlotsReadAsZero) {
  EXPECT_THAT(Pack({0x1234}, "w,w"), ElementsAre(0x12, 0x34, 0, 0));
}

TEST(PackRecordTest, NullBufferWalksWithoutOutput) {
  std::uint32_t out = 0;
  std::vector<std::uint32_t> slots = {1, 2, 3};
  EXPECT_EQ(PackRecord(nullptr, slots, "b,b,p", &out), 0);
  EXPECT_EQ(out, 3u);
}

TEST(PackRecordTest, AppendsBehindExistingBytes) {
  OutputBuffer buffer;
  ASSERT_EQ(AppendBytes(&buffer, "AB", 2), 0);
  std::vector<std::uint32_t> slots = {0x4344};
  ASSERT_EQ(PackRecord(&buffer, slots, "w"), 0);
  EXPECT_THAT(buffer.bytes, ElementsAre('A', 'B', 'C', 'D'));
}

TEST(OutputBufferTest, AppendingNothingLeavesTheBufferEmpty) {
  OutputBuffer buffer;
  EXPECT_EQ(AppendBytes(&buffer, nullptr, 0), 0);
  EXPECT_EQ(buffer.length(), 0u);
  EXPECT_EQ(AppendBytes(nullptr, "x", 1), 0);
}

TEST(OutputBufferTest, FixedSizeAppendsAreBigEndian) {
  OutputBuffer buffer;
  AppendByte(&buffer, 0x1FF);
  AppendBig16(&buffer, 0xABCD1234);
  AppendBig32(&buffer, 0x01020304);
  EXPECT_THAT(buffer.bytes, ElementsAre(0xFF, 0x12, 0x34, 1, 2, 3, 4));
}

}  // namespace
}  // namespace kv
