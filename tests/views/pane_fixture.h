#ifndef KORVALE_TESTS_VIEWS_PANE_FIXTURE_H_
#define KORVALE_TESTS_VIEWS_PANE_FIXTURE_H_

// The image list and the previewer over a document's list model, wired as
// the main window wires them, with images whose bitmaps are real Palm
// bitmaps of a chosen size, depth and colour.

#include <QBuffer>
#include <QImage>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bitmap/conversion_front.h"
#include "document/document_ui.h"
#include "document/image_list_model.h"
#include "map/c_image.h"
#include "map/c_image_container.h"
#include "pdb/palm_time.h"
#include "views/image_list_pane.h"
#include "views/previewer_pane.h"

namespace kv {

// Forwards what the document shows to the two panes.
class PaneUi final : public DocumentUi {
 public:
  ImageListPane* list = nullptr;
  PreviewerPane* previewer = nullptr;

  Answer Ask(const Question&) override { return Answer::kCancel; }
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  void ReportFailure(std::uint32_t, const DocumentFailure&) override {}
  bool RunConversionOptions(const ImportSource&, std::string*, ConversionSettings*) override {
    return false;
  }
  void ImageListChanged(const ImageListModel& model) override {
    if (list != nullptr) list->ShowList(&model);
    if (previewer != nullptr) previewer->ShowList(&model);
  }
  void PreviewImage(CImage* image) override {
    if (previewer != nullptr) previewer->ShowImage(image);
  }
};

// A Palm bitmap of one colour, converted from a BMP that Qt writes.
inline BitmapRecord SolidBitmap(int width, int height, int depth, QColor colour) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  const std::vector<std::uint8_t> bmp(bytes.begin(), bytes.end());
  ConversionContext context;
  ConversionSettings settings;
  settings.compressBitmaps = false;
  ConversionOptions options;
  options.sourceIsBmp = true;
  options.buildPalette = true;
  options.targetWidth = static_cast<std::uint16_t>(width);
  options.targetHeight = static_cast<std::uint16_t>(height);
  options.maxDepth = static_cast<std::uint8_t>(depth);
  return BitmapRecordOf(ConvertToPalmBitmap(context, settings, {1, bmp, nullptr}, options));
}

class PaneFixture {
 public:
  PaneFixture() : strings_(StringTable::Parse(BuiltInEnglishText())) {
    list_.Attach(&container_);
    auto* layout = new QVBoxLayout(&window_);
    previewer_ = new PreviewerPane(strings_, settings_, &window_);
    list_pane_ = new ImageListPane(strings_, &window_);
    layout->addWidget(previewer_);
    layout->addWidget(list_pane_);
    ui_.list = list_pane_;
    ui_.previewer = previewer_;
    previewer_->SetCommandHandler([this](int command) { commands_.push_back(command); });
    previewer_->SetRenameHandler([this](CImage& image) { list_.Refresh(image); });
    list_pane_->SetRowHandler([this](int row) { list_.Select(row); });
    ui_.ImageListChanged(list_);
    ui_.PreviewImage(nullptr);
    window_.resize(900, 500);
  }
  ~PaneFixture() {
    ui_.list = nullptr;
    ui_.previewer = nullptr;
  }

  // An image of `bytes` bytes whose bitmap header says `width` x `height`
  // at `depth` bits; it is not drawable.
  CImage& AddSized(const std::string& name, std::size_t bytes, int width = 160, int height = 131,
                   int depth = 8) {
    BitmapRecord bitmap;
    bitmap.bytes.assign(bytes, 0);
    bitmap.width = width;
    bitmap.height = height;
    bitmap.depth = depth;
    return Add(name, std::move(bitmap));
  }
  // The new entry is selected, as the list shows it, and previewed.
  CImage& Add(const std::string& name, BitmapRecord bitmap) {
    auto image = std::make_unique<CImage>();
    image->SetBitmap(std::move(bitmap));
    image->SetName(name);
    image->set_date(PalmDateFromUnix(1700000000));
    CImage& added = container_.AddImage(std::move(image));
    list_.Select(list_.Find(&added));
    return added;
  }

  StringTable strings_;
  ConversionSettings settings_;
  PaneUi ui_;
  ImageListModel list_{ui_};
  CImageContainer container_{"Map", &list_};
  QWidget window_;
  PreviewerPane* previewer_ = nullptr;
  ImageListPane* list_pane_ = nullptr;
  std::vector<int> commands_;
};

}  // namespace kv

#endif  // KORVALE_TESTS_VIEWS_PANE_FIXTURE_H_
