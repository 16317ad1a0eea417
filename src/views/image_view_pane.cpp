#include "views/image_view_pane.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <utility>

#include "calibration/calibration_record.h"
#include "document/document_ui.h"
#include "map/c_image.h"
#include "map/c_image_container.h"
#include "views/converted_map_layer.h"
#include "views/focus_previous.h"
#include "views/source_region_layer.h"
#include "views/view_marks.h"
#include "views/whole_bitmap_layer.h"

namespace kv {

namespace {

// Cursor 94 of the program's resources; a plain cross where the program's
// resources are not linked in.
QCursor CalibrateCursor() {
  const QPixmap pixmap(":/korvale/cursor-94.png");
  if (pixmap.isNull()) return QCursor(Qt::CrossCursor);
  return QCursor(pixmap);
}

// The pane moves the view's pixels itself when a scroll bar moves, so only
// the strip that comes into sight is painted; the scroll area's own
// reaction would repaint the whole view.
class ScrollArea final : public QAbstractScrollArea {
 public:
  using QAbstractScrollArea::QAbstractScrollArea;

 protected:
  void scrollContentsBy(int /*dx*/, int /*dy*/) override {}
};

}  // namespace

ImageViewPane::ImageViewPane(QWidget* parent)
    : QWidget(parent), area_(new ScrollArea(this)), status_(new QLabel(this)) {
  setObjectName("imageView");
  area_->setObjectName("imageViewArea");
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area_->setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(area_);
  area_->installEventFilter(this);
  QWidget* view = area_->viewport();
  view->setMouseTracking(true);
  view->setAttribute(Qt::WA_OpaquePaintEvent);
  view->installEventFilter(this);
  for (QScrollBar* bar : {area_->horizontalScrollBar(), area_->verticalScrollBar()}) {
    // The view follows the thumb when it is let go, not while it is dragged.
    bar->setTracking(false);
    bar->setSingleStep(ImageViewGeometry::kLineStep);
    bar->setPageStep(ImageViewGeometry::kPageStep);
    connect(bar, &QScrollBar::valueChanged, this, [this]() { ScrollBarMoved(); });
  }

  status_->setObjectName("imageViewStatus");
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setFixedHeight(status_->fontMetrics().height() + 4);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(area_, 1);
  layout->addWidget(status_, 0);

  blink_timer_.setInterval(PointBlink::kIntervalMs);
  connect(&blink_timer_, &QTimer::timeout, this, [this]() { BlinkTick(); });
  UpdateScrollBars();
}

ImageViewPane::~ImageViewPane() = default;

void ImageViewPane::SetCalibration(const CalibrationRecord* calibration) {
  calibration_ = calibration;
  area_->viewport()->update();
}

void ImageViewPane::ShowImage(const CImage* image) {
  const void* identity = nullptr;
  std::string path;
  const CImageContainer* map = nullptr;
  if (image != nullptr) {
    const auto& source = image->unconverted_source();
    if (source && !source->path.empty()) {
      identity = image;
      path = source->path;
    } else if (image->owner() != nullptr && image->owner()->image_count() > 1) {
      map = image->owner();
      identity = map;
    } else {
      identity = image;
    }
  }
  // The same map or file again (another of its tiles selected, a repaint
  // after a change) keeps its decoded pieces and the user's zoom; the
  // pieces know the bitmaps they came from.
  const bool same = identity != nullptr && identity == shown_identity_ && path == shown_path_ &&
                    (map != nullptr || !path.empty());
  if (!same) {
    layer_.reset();
    if (!path.empty()) {
      const auto& source = *image->unconverted_source();
      layer_ = std::make_unique<SourceRegionLayer>(path, source.width, source.height,
                                                   SourceRegionLayer::kDefaultBudgetBytes);
    } else if (map != nullptr) {
      layer_ = std::make_unique<ConvertedMapLayer>(*map, ConvertedMapLayer::kDefaultBudgetBytes);
    } else if (image != nullptr) {
      layer_ = std::make_unique<WholeBitmapLayer>(*image);
    }
  }
  const bool another = identity != shown_identity_ || path != shown_path_;
  shown_identity_ = identity;
  shown_path_ = path;
  geometry_.SetImageSize(layer_ ? layer_->width() : 0, layer_ ? layer_->height() : 0);
  if (another) {
    geometry_.Reset();
    highlighted_ = -1;
    blink_.Stop();
    blink_timer_.stop();
  } else {
    geometry_.KeepRanges();
  }
  UpdateScrollBars();
  ShowTotals();
  area_->viewport()->update();
}

void ImageViewPane::SuspendDrawing(bool suspended) {
  suspended_ = suspended;
  area_->viewport()->update();
}

void ImageViewPane::SetZoom(int percent) {
  bool changed = false;
  if (percent == kZoomFit) {
    changed = geometry_.ZoomToFit();
  } else if (percent == 100) {
    changed = geometry_.ZoomToActualSize();
  } else {
    changed = geometry_.ZoomBy(percent);
  }
  if (!changed) return;
  UpdateScrollBars();
  area_->viewport()->update();
}

void ImageViewPane::HighlightPoint(int pixel_x, int pixel_y, int index, bool make_visible) {
  highlighted_ = index;
  if (make_visible && geometry_.has_image() && !geometry_.IsInSight(pixel_x, pixel_y)) {
    geometry_.CentreOn(pixel_x, pixel_y);
    UpdateScrollBars();
  }
  area_->viewport()->update();
}

void ImageViewPane::CentreOnPixel(int pixel_x, int pixel_y) {
  if (!geometry_.has_image()) return;
  geometry_.CentreOn(pixel_x, pixel_y);
  UpdateScrollBars();
  area_->viewport()->update();
}

void ImageViewPane::BlinkPoint(int index) {
  blink_.Start(index);
  blink_timer_.start();
  area_->viewport()->update();
}

void ImageViewPane::BlinkTick() {
  if (!blink_.Tick()) blink_timer_.stop();
  area_->viewport()->update();
}

void ImageViewPane::SetCalibrateCursor(bool on) {
  if (on == calibrate_cursor_) return;
  calibrate_cursor_ = on;
  if (on) {
    area_->viewport()->setCursor(CalibrateCursor());
  } else {
    area_->viewport()->unsetCursor();
  }
}

void ImageViewPane::RepaintPoints() { area_->viewport()->update(); }

void ImageViewPane::SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }

QString ImageViewPane::status_text() const { return status_->text(); }

std::size_t ImageViewPane::cached_bytes() const { return layer_ ? layer_->cached_bytes() : 0; }

bool ImageViewPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_ && event->type() == QEvent::KeyPress &&
      IsPlainTab(*static_cast<QKeyEvent*>(event))) {
    FocusPreviousControl(area_);
    return true;
  }
  if (watched != area_->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      PaintView(static_cast<QPaintEvent*>(event)->rect());
      return true;
    case QEvent::MouseMove:
      MouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
      return false;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      MouseReleased(mouse->button(), mouse->position().toPoint());
      return false;
    }
    case QEvent::Leave:
      ShowTotals();
      return false;
    case QEvent::Resize:
      ViewResized();
      return false;
    default:
      return false;
  }
}

void ImageViewPane::PaintView(const QRect& exposed) {
  QPainter painter(area_->viewport());
  painter.fillRect(exposed, palette().color(QPalette::Button));
  if (suspended_ || !layer_ || !geometry_.has_image()) return;
  painter.setClipRect(exposed);
  layer_->Draw(painter, geometry_, exposed);
  DrawCentreMarks(painter, geometry_, palette());
  if (calibration_ == nullptr || !calibration_->points) return;
  DrawCalibrationPoints(painter, geometry_, *calibration_->points, [this](int index) {
    return blink_.DrawnHighlighted(index, index == highlighted_);
  });
}

void ImageViewPane::MouseMoved(const QPoint& position) {
  if (!geometry_.has_image()) return;
  const PixelPoint pixel = geometry_.ImagePixelAt(position.x(), position.y());
  status_->setText(QString::asprintf("x=%d, y=%d", pixel.x, pixel.y));
}

void ImageViewPane::MouseReleased(Qt::MouseButton button, const QPoint& position) {
  if (button != Qt::LeftButton || !click_handler_ || !geometry_.has_image()) return;
  const PixelPoint pixel = geometry_.ImagePixelAt(position.x(), position.y());
  // The handler may replace itself (the dialog closing on this click).
  const ClickHandler handler = click_handler_;
  handler(pixel.x, pixel.y);
}

void ImageViewPane::ViewResized() {
  const QSize size = area_->viewport()->size();
  geometry_.SetClientSize(size.width(), size.height());
  UpdateScrollBars();
  area_->viewport()->update();
}

void ImageViewPane::UpdateScrollBars() {
  QScrollBar* horizontal = area_->horizontalScrollBar();
  QScrollBar* vertical = area_->verticalScrollBar();
  const QSignalBlocker block_horizontal(horizontal);
  const QSignalBlocker block_vertical(vertical);
  const ScrollRange across = geometry_.HorizontalRange();
  const ScrollRange down = geometry_.VerticalRange();
  horizontal->setRange(across.minimum, across.maximum);
  vertical->setRange(down.minimum, down.maximum);
  horizontal->setValue(geometry_.has_image() ? geometry_.scroll_x() : 0);
  vertical->setValue(geometry_.has_image() ? geometry_.scroll_y() : 0);
}

void ImageViewPane::ScrollBarMoved() {
  if (!geometry_.has_image()) return;
  const ScrollRange across = geometry_.HorizontalRange();
  const ScrollRange down = geometry_.VerticalRange();
  // A bar with nothing to scroll shows 0 while the image sits a margin in.
  const int x = across.maximum > across.minimum ? area_->horizontalScrollBar()->value()
                                                : geometry_.scroll_x();
  const int y =
      down.maximum > down.minimum ? area_->verticalScrollBar()->value() : geometry_.scroll_y();
  const int dx = x - geometry_.scroll_x();
  const int dy = y - geometry_.scroll_y();
  if (dx == 0 && dy == 0) return;
  geometry_.SetScroll(x, y);
  area_->viewport()->scroll(-dx, -dy);
}

void ImageViewPane::SetTotalsText(const QString& text) {
  totals_ = text;
  ShowTotals();
}

void ImageViewPane::ShowTotals() { status_->setText(totals_); }

}  // namespace kv
