// The texts and rules behind the image list and the previewer: totals,
// row texts, dates, the preview's zoom and the name editing.

#include "document/pane_texts.h"

#include <gtest/gtest.h>

#include "base/utf8_cut.h"
#include "document/image_name_editor.h"
#include "document/language_format.h"
#include "document/list_totals_text.h"
#include "document/preview_placement.h"
#include "map/c_image.h"
#include "pdb/palm_time.h"

namespace kv {
namespace {

StringTable English() { return StringTable::Parse(BuiltInEnglishText()); }

TEST(FormatLanguageText, TakesArgumentsInOrderAndNeverMoreThanGiven) {
  EXPECT_EQ(FormatLanguageText("%d %s, %s %s", {"3", "images", "12", "KB"}), "3 images, 12 KB");
  EXPECT_EQ(FormatLanguageText("%-5d|%08u|%i", {"a", "b", "c"}), "a|b|c");
  EXPECT_EQ(FormatLanguageText("100%% of %s", {"x"}), "100% of x");
  // Conversions beyond the arguments give nothing; unknown ones stay.
  EXPECT_EQ(FormatLanguageText("%s %s %n %x %", {"one"}), "one  %n %x %");
  EXPECT_EQ(FormatLanguageText("%999999999999999999999d", {"big"}), "big");
}

TEST(ListTotalsText, SingularOnlyForOneEntryAndSizesInBytesOrKilobytes) {
  const StringTable strings = English();
  EXPECT_EQ(ListTotalsText(strings, 0, 0), "0 images, 0 KB");
  EXPECT_EQ(ListTotalsText(strings, 1, 2559), "1 image, 2559 bytes");
  EXPECT_EQ(ListTotalsText(strings, 2, 2560), "2 images, 3 KB");
  EXPECT_EQ(ListTotalsText(strings, 7, 1048576), "7 images, 1024 KB");
}

TEST(ListTotalsText, PreviewerSizeGluesTheUnitToTheNumber) {
  const StringTable strings = English();
  EXPECT_EQ(PreviewerSizeText(strings, 1, 2559), "Size: 2559bytes (1 tiles)");
  EXPECT_EQ(PreviewerSizeText(strings, 7, 2560), "Size: 3KB (7 tiles)");
  EXPECT_EQ(PreviewerSizeText(strings, 0, 0), "Size: 0KB (0 tiles)");
}

TEST(ListTotalsText, AnEmptyLanguageTableFallsBackToEnglish) {
  EXPECT_EQ(ListTotalsText(StringTable(), 1, 10), "1 image, 10 bytes");
}

CImage& WithBitmap(CImage& image, int width, int height, int depth, std::size_t bytes) {
  BitmapRecord bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.depth = depth;
  bitmap.bytes.assign(bytes, 0);
  image.SetBitmap(bitmap);
  return image;
}

TEST(PaneTexts, RowAndLabelTextsOfAnImage) {
  const StringTable strings = English();
  CImage image;
  WithBitmap(image, 160, 131, 4, 1234);
  EXPECT_EQ(ImageBytesText(strings, image), "1234 bytes");
  EXPECT_EQ(ImagePixelsText(strings, image), "160 x 131");
  EXPECT_EQ(ListDepthText(strings, image), "4 bits (16 greys)");
  EXPECT_EQ(PixelSizeLabelText(strings, image), "Pixels: 160x131");
  EXPECT_EQ(DepthLabelText(strings, image), "Colour depth: 4 bits (16 greys)");
  EXPECT_EQ(CompressionLabelText(strings, true), "Compressed");
  EXPECT_EQ(CompressionLabelText(strings, false), "Not compressed");

  // An unknown depth: nothing in the list, 16 bits in the previewer.
  CImage odd;
  WithBitmap(odd, 1, 1, 3, 1);
  EXPECT_EQ(ListDepthText(strings, odd), "");
  EXPECT_EQ(DepthLabelText(strings, odd), "Colour depth: 16 bits (65536 colours)");
  const int depths[] = {1, 2, 4, 8, 16};
  const std::uint32_t ids[] = {1049, 1048, 1016, 1015, 1014};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(DepthNameId(depths[i]), ids[i]);
}

TEST(PaneTexts, AnUnconvertedImageShowsItsSourceSize) {
  CImage image;
  image.set_unconverted_source(CImage::UnconvertedSource{"/maps/big.tif", 8000, 6000});
  EXPECT_EQ(ImagePixelsText(English(), image), "8000 x 6000");
  EXPECT_EQ(ImageBytesText(English(), image), "0 bytes");
}

TEST(PaneTexts, AnUnshowableDateBecomesNowAndIsStored) {
  const std::int64_t now = 1765000000;  // December 2025
  CImage image;
  image.set_date(PalmDateFromUnix(86400 * 365));
  EXPECT_EQ(ShownCreationTime(image, now), 86400 * 365);
  EXPECT_EQ(image.date(), PalmDateFromUnix(86400 * 365));

  image.set_date(0);  // 1904: before anything the user's calendar shows
  EXPECT_EQ(ShownCreationTime(image, now), now);
  EXPECT_EQ(image.date(), PalmDateFromUnix(now));
}

TEST(PlacePreview, WholeZoomUpToFourCentredInTheTile) {
  const struct {
    int width, height, zoom, x, y;
  } kRows[] = {
      {40, 30, 4, 0, 5},      // 160 / 40 = 4, 131 / 30 = 4
      {100, 100, 1, 30, 15},  // 160 / 100 = 1
      {10, 10, 4, 60, 45},    // limited to 4
      {160, 131, 1, 0, 0},    // a whole tile
      {200, 20, 1, -20, 55},  // wider than the tile: no zoom
      {80, 131, 1, 40, 0},    // a full-height dimension allows only 1
      {53, 43, 3, 0, 1},
  };
  for (const auto& row : kRows) {
    const PreviewPlacement placed = PlacePreview(row.width, row.height);
    EXPECT_EQ(placed.zoom, row.zoom) << row.width << "x" << row.height;
    EXPECT_EQ(placed.x, row.x) << row.width << "x" << row.height;
    EXPECT_EQ(placed.y, row.y) << row.width << "x" << row.height;
    EXPECT_EQ(placed.width, row.width * row.zoom);
  }
  EXPECT_EQ(PlacePreview(0, 30).zoom, 0);
  EXPECT_EQ(PlacePreview(40, 0).zoom, 0);
}

TEST(ImageNameEditor, RenamesWhileShownAndRestoresAnEmptiedName) {
  CImage harbour;
  harbour.SetName("Harbour");
  CImage other;
  other.SetName("Other");
  ImageNameEditor editor;

  EXPECT_EQ(editor.TextChanged(&harbour, "ignored"), nullptr);  // not editing
  editor.Begin(&harbour);
  EXPECT_EQ(editor.TextChanged(&harbour, "Port"), &harbour);
  EXPECT_EQ(harbour.name(), "Port");
  EXPECT_EQ(editor.TextChanged(&harbour, ""), &harbour);
  EXPECT_EQ(harbour.name(), "");
  EXPECT_EQ(editor.End(), &harbour);
  EXPECT_EQ(harbour.name(), "Harbour");  // the name it had when editing began

  editor.Begin(&harbour);
  EXPECT_EQ(editor.TextChanged(&other, "x"), nullptr);  // another image is shown
  EXPECT_EQ(other.name(), "Other");
  EXPECT_EQ(editor.End(), nullptr);  // a name left in place is kept
  EXPECT_EQ(harbour.name(), "Harbour");

  editor.Begin(&harbour);
  EXPECT_EQ(editor.TextChanged(&harbour, std::string(40, 'n')), &harbour);
  EXPECT_EQ(harbour.name(), std::string(31, 'n'));
  editor.TextChanged(&harbour, "");
  editor.Forget();  // the image went away
  EXPECT_EQ(editor.End(), nullptr);
  EXPECT_EQ(harbour.name(), "");
}

TEST(ImageNameEditor, NeverCutsACharacterInHalf) {
  const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC";  // three 2-byte characters
  EXPECT_EQ(CutUtf8(umlauts, 5), "\xC3\xA4\xC3\xB6");
  EXPECT_EQ(CutUtf8(umlauts, 4), "\xC3\xA4\xC3\xB6");
  EXPECT_EQ(CutUtf8(umlauts, 6), umlauts);
  EXPECT_EQ(CutUtf8("abc", 2), "ab");
  CImage image;
  ImageNameEditor editor;
  editor.Begin(&image);
  editor.TextChanged(&image, std::string(30, 'a') + "\xC3\xA4");
  EXPECT_EQ(image.name(), std::string(30, 'a'));
}

}  // namespace
}  // namespace kv
