#include "views/image_view_pane.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTransform>
#include <QVBoxLayout>
#include <cmath>
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
    // The wheel over a bar steps as over the view.
    bar->installEventFilter(this);
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
    picture_ = QImage();
    if (!path.empty()) {
      const auto& source = *image->unconverted_source();
      layer_ = std::make_unique<SourceRegionLayer>(path, source.width, source.height,
                                                   SourceRegionLayer::kDefaultBudgetBytes);
    } else if (map != nullptr) {
      layer_ = std::make_unique<ConvertedMapLayer>(*map, ConvertedMapLayer::kDefaultBudgetBytes);
    } else if (image != nullptr) {
      layer_ = std::make_unique<WholeBitmapLayer>(*image);
    }
    if (layer_) {
      layer_->SetArrivedHandler([this](const PixelRect& image_rect) { PieceArrived(image_rect); });
    }
  }
  const bool another = identity != shown_identity_ || path != shown_path_;
  shown_identity_ = identity;
  shown_path_ = path;
  geometry_.SetImageSize(layer_ ? layer_->width() : 0, layer_ ? layer_->height() : 0);
  if (another) {
    EndGesture();
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
  if (changed) ShowZoomed();
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
  if (gesture_ != Gesture::kPan) RestoreCursor();
}

void ImageViewPane::RestoreCursor() {
  if (calibrate_cursor_) {
    area_->viewport()->setCursor(CalibrateCursor());
  } else {
    area_->viewport()->unsetCursor();
  }
}

void ImageViewPane::RepaintPoints() { area_->viewport()->update(); }

void ImageViewPane::SetClickHandler(ClickHandler handler) { click_handler_ = std::move(handler); }

void ImageViewPane::SetPointMoveHandler(PointMoveHandler handler) {
  point_move_handler_ = std::move(handler);
}

QString ImageViewPane::status_text() const { return status_->text(); }

std::size_t ImageViewPane::cached_bytes() const { return layer_ ? layer_->cached_bytes() : 0; }

bool ImageViewPane::picture_complete() const { return !layer_ || layer_->picture_complete(); }

bool ImageViewPane::decoding() const { return layer_ && layer_->busy(); }

bool ImageViewPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_ && event->type() == QEvent::KeyPress &&
      IsPlainTab(*static_cast<QKeyEvent*>(event))) {
    FocusPreviousControl(area_);
    return true;
  }
  if (event->type() == QEvent::Wheel &&
      (watched == area_->horizontalScrollBar() || watched == area_->verticalScrollBar())) {
    return WheelTurned(*static_cast<QWheelEvent*>(event), static_cast<QScrollBar*>(watched));
  }
  if (watched != area_->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      PaintView(static_cast<QPaintEvent*>(event)->rect());
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      MousePressed(mouse->button(), mouse->buttons(), mouse->position().toPoint());
      return false;
    }
    case QEvent::MouseMove:
      MouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
      return false;
    case QEvent::Wheel:
      return WheelTurned(*static_cast<QWheelEvent*>(event), nullptr);
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
  const QColor background = palette().color(QPalette::Button);
  if (suspended_ || !layer_ || !geometry_.has_image()) {
    painter.fillRect(exposed, background);
    picture_ = QImage();
    return;
  }
  KeepPictureInStep();
  {
    QPainter picture(&picture_);
    picture.setClipRect(exposed);
    const PixelRect content = geometry_.ContentRectInView();
    const QRegion around = QRegion(exposed).subtracted(
        QRect(QPoint(content.left, content.top), QPoint(content.right - 1, content.bottom - 1)));
    for (const QRect& rect : around) picture.fillRect(rect, background);
    layer_->Draw(picture, geometry_, exposed);
  }
  painter.drawImage(exposed.topLeft(), picture_, exposed);
  painter.setClipRect(exposed);
  DrawCentreMarks(painter, geometry_, palette());
  if (calibration_ == nullptr || !calibration_->points) return;
  CalibrationPoints points = *calibration_->points;
  if (gesture_ == Gesture::kPointDrag) {
    CalibrationPoint& dragged = points[static_cast<std::size_t>(dragged_point_)];
    dragged.pixel_x = dragged_to_.x;
    dragged.pixel_y = dragged_to_.y;
  }
  DrawCalibrationPoints(painter, geometry_, points, [this](int index) {
    return blink_.DrawnHighlighted(index, index == highlighted_);
  });
}

void ImageViewPane::KeepPictureInStep() {
  const QSize size = area_->viewport()->size();
  const PictureView now{geometry_.zoom(), geometry_.scroll_x(), geometry_.scroll_y()};
  if (picture_.size() == size && picture_view_ == now) return;
  QImage moved(size, QImage::Format_RGB32);
  moved.fill(palette().color(QPalette::Button));
  if (!picture_.isNull()) {
    // View pixel v showed content pixel v + scroll at the old zoom; at the
    // new zoom that content lies at (v + old scroll) * scale - new scroll.
    const double scale = now.zoom / picture_view_.zoom;
    QPainter painter(&moved);
    painter.setTransform(QTransform(scale, 0, 0, scale,
                                    picture_view_.scroll_x * scale - now.scroll_x,
                                    picture_view_.scroll_y * scale - now.scroll_y));
    painter.drawImage(0, 0, picture_);
  }
  picture_ = std::move(moved);
  picture_view_ = now;
}

void ImageViewPane::PieceArrived(const PixelRect& image_rect) {
  if (suspended_) return;
  const QRect rect =
      ViewRectOf(geometry_, image_rect.left, image_rect.top, image_rect.right, image_rect.bottom)
          .adjusted(-1, -1, 1, 1);
  area_->viewport()->update(rect.intersected(area_->viewport()->rect()));
}

void ImageViewPane::MousePressed(Qt::MouseButton button, Qt::MouseButtons held,
                                 const QPoint& position) {
  // A gesture whose button is up again lost its release (a popup took the
  // mouse); it ends here instead of holding up the view.
  if (gesture_ != Gesture::kNone && !held.testFlag(gesture_button_)) EndGesture();
  if (gesture_ != Gesture::kNone || !geometry_.has_image()) return;
  press_position_ = position;
  last_position_ = position;
  if (button == Qt::MiddleButton) {
    gesture_button_ = button;
    StartPan(position);
    return;
  }
  if (button != Qt::LeftButton) return;
  gesture_button_ = button;
  if (!calibrate_cursor_) {
    gesture_ = Gesture::kClickOrPan;
    return;
  }
  dragged_point_ = calibration_ != nullptr && calibration_->points && point_move_handler_
                       ? CalibrationPointAt(geometry_, *calibration_->points, position)
                       : -1;
  gesture_ = dragged_point_ >= 0 ? Gesture::kPointPress : Gesture::kClick;
}

void ImageViewPane::MouseMoved(const QPoint& position) {
  if (!geometry_.has_image()) return;
  FollowMouse(position);
  // After a pan, so that it names the pixel now under the mouse.
  const PixelPoint pixel = geometry_.ImagePixelAt(position.x(), position.y());
  status_->setText(QString::asprintf("x=%d, y=%d", pixel.x, pixel.y));
}

void ImageViewPane::FollowMouse(const QPoint& position) {
  switch (gesture_) {
    case Gesture::kClickOrPan:
      if (!MovedFarFromPress(position)) return;
      StartPan(press_position_);
      PanTo(position);
      return;
    case Gesture::kPan:
      PanTo(position);
      return;
    case Gesture::kPointPress:
      if (!MovedFarFromPress(position)) return;
      gesture_ = Gesture::kPointDrag;
      [[fallthrough]];
    case Gesture::kPointDrag:
      dragged_to_ = geometry_.ImagePixelInsideAt(position.x(), position.y());
      area_->viewport()->update();
      return;
    case Gesture::kNone:
    case Gesture::kClick:
      return;
  }
}

void ImageViewPane::MouseReleased(Qt::MouseButton button, const QPoint& position) {
  const Gesture gesture = gesture_;
  const int dragged_point = dragged_point_;
  // Another button let go while one is held changes nothing.
  if (gesture != Gesture::kNone && button != gesture_button_) return;
  EndGesture();
  if (button != Qt::LeftButton || !geometry_.has_image() || gesture == Gesture::kPan) return;
  // The handlers may replace themselves (the dialog closing on this click).
  if (gesture == Gesture::kPointDrag) {
    const PixelPoint pixel = geometry_.ImagePixelInsideAt(position.x(), position.y());
    if (const PointMoveHandler handler = point_move_handler_) {
      handler(dragged_point, pixel.x, pixel.y);
    }
    return;
  }
  const PixelPoint pixel = geometry_.ImagePixelAt(position.x(), position.y());
  if (const ClickHandler handler = click_handler_) handler(pixel.x, pixel.y);
}

bool ImageViewPane::MovedFarFromPress(const QPoint& position) const {
  return (position - press_position_).manhattanLength() >= QApplication::startDragDistance();
}

void ImageViewPane::StartPan(const QPoint& position) {
  gesture_ = Gesture::kPan;
  last_position_ = position;
  area_->viewport()->setCursor(Qt::ClosedHandCursor);
}

void ImageViewPane::PanTo(const QPoint& position) {
  const QPoint moved = position - last_position_;
  last_position_ = position;
  const int old_x = geometry_.scroll_x();
  const int old_y = geometry_.scroll_y();
  // The image follows the mouse: the view moves the other way.
  if (geometry_.ScrollBy(-moved.x(), -moved.y())) ShowScrolledFrom(old_x, old_y);
}

void ImageViewPane::EndGesture() {
  const Gesture ended = gesture_;
  gesture_ = Gesture::kNone;
  gesture_button_ = Qt::NoButton;
  dragged_point_ = -1;
  if (ended == Gesture::kPan) RestoreCursor();
  // The point goes back to where the record has it until the record changes.
  if (ended == Gesture::kPointDrag) area_->viewport()->update();
}

bool ImageViewPane::WheelTurned(const QWheelEvent& wheel, const QScrollBar* over_bar) {
  if (!geometry_.has_image()) return false;
  // Qt counts a wheel's turn in eighths of a degree, 15 degrees a notch.
  constexpr double kNotch = 120.0;
  const QPoint turn = wheel.angleDelta();
  if (over_bar == nullptr && wheel.modifiers().testFlag(Qt::ControlModifier)) {
    const int steps = turn.y() != 0 ? turn.y() : turn.x();
    // Two notches double or halve the zoom, as the zoom commands do.
    const double factor = std::exp2(steps / kNotch / 2);
    const QPoint at = wheel.position().toPoint();
    if (geometry_.ZoomAt(factor, at.x(), at.y())) ShowZoomed();
    return true;
  }
  double across = turn.x() / kNotch;
  double down = turn.y() / kNotch;
  // Over the horizontal bar, or with Shift, the wheel turns the view across.
  if (over_bar == area_->horizontalScrollBar() ||
      (over_bar == nullptr && wheel.modifiers().testFlag(Qt::ShiftModifier))) {
    across += down;
    down = 0;
  } else if (over_bar != nullptr) {
    across = 0;
  }
  const int old_x = geometry_.scroll_x();
  const int old_y = geometry_.scroll_y();
  if (geometry_.ScrollByNotches(across, down)) ShowScrolledFrom(old_x, old_y);
  return true;
}

void ImageViewPane::ShowScrolledFrom(int old_x, int old_y) {
  UpdateScrollBars();
  area_->viewport()->scroll(old_x - geometry_.scroll_x(), old_y - geometry_.scroll_y());
}

void ImageViewPane::ShowZoomed() {
  UpdateScrollBars();
  area_->viewport()->update();
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
  horizontal->setSingleStep(geometry_.LineStepX());
  vertical->setSingleStep(geometry_.LineStepY());
  horizontal->setPageStep(geometry_.PageStepX());
  vertical->setPageStep(geometry_.PageStepY());
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
