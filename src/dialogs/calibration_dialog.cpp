#include "dialogs/calibration_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/error_reporter.h"
#include "document/calibration_controls.h"

namespace kv {

using namespace calib;

namespace {

QString FromText(const std::string& text) {
  const QString utf8 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // The grid tables are Windows-1252; their degree sign is no UTF-8.
  if (utf8.contains(QChar::ReplacementCharacter)) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return utf8;
}

// Rows of the panel: the panel is as narrow as the previewer, so each
// row's label stands above its control (grid rows 2 * row and 2 * row + 1).
enum Row {
  kKindRow,
  kSystemRow,
  kDatumRow,
  kProjectionRow,
  kFirstParameterRow,
  kModeRow = kFirstParameterRow + kProjectionParameterCount,
  kFirstLatitudeRow,
  kFirstLongitudeRow,
  kFirstZoneRow,
  kSecondLatitudeRow,
  kSecondLongitudeRow,
  kSecondZoneRow,
  kPointRow,
  kNavigationRow,
  kDeleteRow,
  kPixelXRow,
  kPixelYRow,
  kPointLatitudeRow,
  kPointLongitudeRow,
  kPointZoneRow,
  kFollowRow,
  kPickRow,
  kKnownPointsRow,
  kKnownPointsNoteRow,
  kThreeByThreeRow,
  kResidualsRow,
};

constexpr int kListControls[] = {kKind, kSystem, kDatum, kProjection};
constexpr int kFieldLabels[] = {kFirstLatitudeLabel,   kFirstLongitudeLabel, kSecondLatitudeLabel,
                                kSecondLongitudeLabel, kPointLatitudeLabel,  kPointLongitudeLabel};
// Minimum characters a list shows, so that the panel fits beside the image.
constexpr int kListMinimumCharacters = 8;
// Width of a projection parameter's key.
constexpr int kKeyCharacters = 7;

bool IsPlainTab(const QKeyEvent& key) {
  return key.key() == Qt::Key_Tab && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

void CalibrationDialog::FocusPreviousControl(QWidget* from) {
  for (QWidget* widget = from->previousInFocusChain(); widget != nullptr && widget != from;
       widget = widget->previousInFocusChain()) {
    if (isAncestorOf(widget) && widget->isVisible() && widget->isEnabled() &&
        (widget->focusPolicy() & Qt::TabFocus) != 0) {
      widget->setFocus(Qt::BacktabFocusReason);
      return;
    }
  }
}

int CalibrationDialog::FieldOfLabel(int label) const {
  const std::map<int, int> fields = {
      {kFirstLatitudeLabel, kFirstLatitude},   {kFirstLongitudeLabel, kFirstLongitude},
      {kSecondLatitudeLabel, kSecondLatitude}, {kSecondLongitudeLabel, kSecondLongitude},
      {kPointLatitudeLabel, kPointLatitude},   {kPointLongitudeLabel, kPointLongitude}};
  return field_rows_.at(fields.at(label));
}

CalibrationDialog::CalibrationDialog(const DialogTexts& texts, const StringTable& strings,
                                     std::unique_ptr<CalibrationEditor> editor,
                                     std::function<int()> left_edge, QWidget* parent)
    : QFrame(parent),
      editor_(std::move(editor)),
      strings_(strings),
      left_edge_(std::move(left_edge)) {
  setObjectName("calibrationDialog");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  setAccessibleName(FromText(texts.caption));
  Build(texts);
  WireEdits();
  WireChoices();
  WireButtons();
  if (parent != nullptr) parent->installEventFilter(this);
  Sync();
}

CalibrationDialog::~CalibrationDialog() = default;

QWidget* CalibrationDialog::AddControl(int id, QWidget* widget) {
  widget->setObjectName(QStringLiteral("c%1").arg(id));
  controls_[id] = widget;
  if (widget->focusPolicy() != Qt::NoFocus) widget->installEventFilter(this);
  return widget;
}

QWidget* CalibrationDialog::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void CalibrationDialog::AddRow(int row, int label_id, int field_id) {
  if (label_id != 0) grid_->addWidget(Control(label_id), 2 * row, 0);
  if (field_id != 0) grid_->addWidget(Control(field_id), 2 * row + 1, 0);
}

void CalibrationDialog::AddWide(int row, QWidget* widget) { grid_->addWidget(widget, 2 * row, 0); }

void CalibrationDialog::Build(const DialogTexts& texts) {
  const auto label = [&](int id) { return AddControl(id, new QLabel(FromText(texts.Text(id)))); };
  const auto edit = [&](int id) { return AddControl(id, new QLineEdit); };
  const auto list = [&](int id) {
    auto* combo = new QComboBox;
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kListMinimumCharacters);
    for (const std::string& entry : editor_->ListTexts(id)) combo->addItem(FromText(entry));
    return AddControl(id, combo);
  };
  const auto button = [&](int id, QWidget* widget) {
    static_cast<QAbstractButton*>(widget)->setText(FromText(texts.Text(id)));
    return AddControl(id, widget);
  };
  const auto note = [&](int id) {
    auto* text = static_cast<QLabel*>(label(id));
    text->setWordWrap(true);
    return text;
  };

  auto* body = new QWidget;
  grid_ = new QGridLayout(body);
  grid_->setVerticalSpacing(2);
  grid_->setContentsMargins(0, 0, 2, 0);
  for (int id : {kKindLabel, kSystemLabel, kDatumLabel, kProjectionLabel, kFirstLatitudeLabel,
                 kFirstLongitudeLabel, kSecondLatitudeLabel, kSecondLongitudeLabel, kFirstZoneLabel,
                 kSecondZoneLabel, kPointNumberLabel, kPixelXLabel, kPixelYLabel,
                 kPointLatitudeLabel, kPointLongitudeLabel, kPointZoneLabel, kKnownPointsLabel}) {
    label(id);
  }
  for (int id : kListControls) list(id);
  // The lists' labels carry their keyboard mnemonics.
  for (const auto& [text, chooser] : {std::pair{kKindLabel, kKind},
                                      {kSystemLabel, kSystem},
                                      {kDatumLabel, kDatum},
                                      {kProjectionLabel, kProjection}}) {
    static_cast<QLabel*>(Control(text))->setBuddy(Control(chooser));
  }
  AddRow(kKindRow, kKindLabel, kKind);
  AddRow(kSystemRow, kSystemLabel, kSystem);
  AddRow(kDatumRow, kDatumLabel, kDatum);
  AddRow(kProjectionRow, kProjectionLabel, kProjection);
  // Each parameter on one line: its key, then its value.
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    auto* pair = new QWidget;
    auto* pair_row = new QHBoxLayout(pair);
    pair_row->setContentsMargins(0, 0, 0, 0);
    QWidget* key = edit(kParameterKeys[i]);
    key->setMaximumWidth(kKeyCharacters * fontMetrics().horizontalAdvance('x'));
    pair_row->addWidget(key);
    pair_row->addWidget(edit(kParameterValues[i]), 1);
    AddWide(kFirstParameterRow + i, pair);
  }

  auto* modes = new QWidget;
  auto* mode_column = new QVBoxLayout(modes);
  mode_column->setContentsMargins(0, 0, 0, 0);
  auto* mode_group = new QButtonGroup(this);
  for (int id : {kModeCorners, kModeCentre, kModePoints}) {
    auto* radio = static_cast<QRadioButton*>(button(id, new QRadioButton));
    mode_group->addButton(radio);
    mode_column->addWidget(radio);
  }
  AddWide(kModeRow, modes);

  for (int id : {kFirstLatitude, kFirstLongitude, kSecondLatitude, kSecondLongitude, kFirstZone,
                 kSecondZone, kPixelX, kPixelY, kPointLatitude, kPointLongitude, kPointZone}) {
    edit(id);
  }
  field_rows_ = {{kFirstLatitude, kFirstLatitudeRow},   {kFirstLongitude, kFirstLongitudeRow},
                 {kSecondLatitude, kSecondLatitudeRow}, {kSecondLongitude, kSecondLongitudeRow},
                 {kPointLatitude, kPointLatitudeRow},   {kPointLongitude, kPointLongitudeRow}};
  for (const auto& [field, row] : field_rows_) AddRow(row, 0, field);
  // Every caption starts beside a field; the mode moves them (PlaceCaptions).
  for (int id : kFieldLabels) grid_->addWidget(Control(id), 2 * FieldOfLabel(id), 0);
  AddRow(kFirstZoneRow, kFirstZoneLabel, kFirstZone);
  AddRow(kSecondZoneRow, kSecondZoneLabel, kSecondZone);

  auto* number = static_cast<QLineEdit*>(edit(kPointNumber));
  number->setReadOnly(true);
  number->setMaxLength(1);
  number->setMaximumWidth(4 * fontMetrics().horizontalAdvance('0'));
  auto* point_title = new QWidget;
  auto* point_row = new QHBoxLayout(point_title);
  point_row->setContentsMargins(0, 0, 0, 0);
  point_row->addWidget(Control(kPointNumberLabel));
  point_row->addWidget(number);
  point_row->addStretch(1);
  AddWide(kPointRow, point_title);
  auto* navigation = new QWidget;
  auto* navigation_row = new QHBoxLayout(navigation);
  navigation_row->setContentsMargins(0, 0, 0, 0);
  navigation_row->addWidget(button(kPreviousPoint, new QPushButton));
  navigation_row->addWidget(button(kNextPoint, new QPushButton));
  AddWide(kNavigationRow, navigation);
  grid_->addWidget(button(kDeletePoint, new QPushButton), 2 * kDeleteRow, 0, Qt::AlignLeft);
  AddRow(kPixelXRow, kPixelXLabel, kPixelX);
  AddRow(kPixelYRow, kPixelYLabel, kPixelY);
  AddRow(kPointZoneRow, kPointZoneLabel, kPointZone);
  AddWide(kFollowRow, button(kFollow, new QCheckBox));
  AddWide(kPickRow, button(kPick, new QCheckBox));
  AddWide(kKnownPointsRow, Control(kKnownPointsLabel));
  AddWide(kKnownPointsNoteRow, note(kKnownPointsNote));
  AddWide(kThreeByThreeRow, note(kThreeByThreeNote));

  AddWide(kResidualsRow, BuildResiduals(texts));
  grid_->setRowStretch(2 * kResidualsRow + 2, 1);

  auto* scroll = new QScrollArea;
  scroll->setWidget(body);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  help_line_ = static_cast<QLabel*>(AddControl(kHelpLine, new QLabel));
  help_line_->setWordWrap(true);
  help_line_->setFrameShape(QFrame::Panel);
  help_line_->setFrameShadow(QFrame::Sunken);
  help_line_->setMinimumHeight(2 * fontMetrics().height() + 4);
  help_line_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(button(kApply, new QPushButton));
  buttons->addWidget(button(kClose, new QPushButton));

  auto* title =
      new QLabel(QStringLiteral("<b>%1</b>").arg(FromText(texts.caption).toHtmlEscaped()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(title);
  layout->addWidget(scroll, 1);
  layout->addWidget(help_line_);
  layout->addLayout(buttons);
}

QWidget* CalibrationDialog::BuildResiduals(const DialogTexts& texts) {
  residuals_ = new QWidget;
  residuals_->setObjectName("residuals");
  auto* column = new QVBoxLayout(residuals_);
  column->setContentsMargins(0, 4, 0, 0);
  column->addWidget(new QLabel(FromText(texts.Text(kResidualsTitle))));
  residual_table_ = new QTableWidget(0, 3);
  residual_table_->setObjectName(QStringLiteral("c%1").arg(kResidualsTable));
  residual_table_->setHorizontalHeaderLabels({FromText(texts.Text(kResidualsPointColumn)),
                                              FromText(texts.Text(kResidualsPixelsColumn)),
                                              FromText(texts.Text(kResidualsMetresColumn))});
  residual_table_->verticalHeader()->hide();
  residual_table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  residual_table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  residual_table_->setSelectionMode(QAbstractItemView::NoSelection);
  residual_table_->setFocusPolicy(Qt::NoFocus);
  residual_table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  residual_table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  column->addWidget(residual_table_);
  residual_summary_ = new QLabel;
  residual_summary_->setObjectName(QStringLiteral("c%1").arg(kResidualsRms));
  residual_summary_->setWordWrap(true);
  column->addWidget(residual_summary_);
  residual_texts_ = {texts.Text(kResidualsRms), texts.Text(kResidualsSuspectNote),
                     texts.Text(kResidualsNoFit), texts.Text(kResidualsOffTheEarth)};
  residuals_->hide();
  return residuals_;
}

void CalibrationDialog::ShowResiduals() {
  const std::optional<CalibrationResiduals> residuals = editor_->Residuals();
  residuals_->setVisible(residuals.has_value());
  if (!residuals) return;
  const bool fitted = residuals->status == ResidualStatus::kOk;
  residual_table_->setVisible(fitted);
  if (!fitted) {
    residual_summary_->setText(FromText(residuals->status == ResidualStatus::kPositionOffTheEarth
                                            ? residual_texts_.off_the_earth
                                            : residual_texts_.no_fit));
    return;
  }
  residual_table_->setRowCount(static_cast<int>(residuals->points.size()));
  bool any_suspect = false;
  int row = 0;
  for (const PointResidual& point : residuals->points) {
    any_suspect = any_suspect || point.outlier;
    const QString number = QString::number(point.index + 1) + (point.outlier ? " !" : "");
    const QStringList cells = {number, QString::number(point.pixels, 'f', 1),
                               QString::number(point.metres, 'f', 0)};
    for (int cell = 0; cell < cells.size(); ++cell) {
      auto* item = new QTableWidgetItem(cells[cell]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (point.outlier) item->setForeground(Qt::red);
      residual_table_->setItem(row, cell, item);
    }
    ++row;
  }
  residual_table_->resizeRowsToContents();
  int height = residual_table_->horizontalHeader()->height() + 2 * residual_table_->frameWidth();
  for (int i = 0; i < residual_table_->rowCount(); ++i) height += residual_table_->rowHeight(i);
  residual_table_->setFixedHeight(height);
  QString summary = FromText(FormatMessageText(
      residual_texts_.rms, QString::number(residuals->rms_pixels, 'f', 2).toStdString()));
  if (any_suspect) summary += "\n" + FromText(residual_texts_.suspect);
  residual_summary_->setText(summary);
}

void CalibrationDialog::WireEdits() {
  for (const auto& [id, widget] : controls_) {
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (edit == nullptr) continue;
    connect(edit, &QLineEdit::textEdited, this,
            [this, id = id](const QString& text) { editor_->EditText(id, text.toStdString()); });
  }
}

void CalibrationDialog::WireChoices() {
  connect(static_cast<QComboBox*>(Control(kKind)), &QComboBox::activated, this,
          [this](int index) { Act([&] { editor_->SelectKind(index); }); });
  connect(static_cast<QComboBox*>(Control(kSystem)), &QComboBox::activated, this,
          [this](int index) { Act([&] { editor_->SelectSystem(index); }); });
  connect(static_cast<QComboBox*>(Control(kDatum)), &QComboBox::activated, this,
          [this](int index) { Act([&] { editor_->SelectDatum(index); }); });
  connect(static_cast<QComboBox*>(Control(kProjection)), &QComboBox::activated, this,
          [this](int index) { Act([&] { editor_->SelectProjection(index); }); });
  const int modes[] = {kModeCorners, kModeCentre, kModePoints};
  for (int mode = 0; mode < 3; ++mode) {
    connect(static_cast<QRadioButton*>(Control(modes[mode])), &QRadioButton::clicked, this,
            [this, mode] { Act([&] { editor_->SelectMode(mode); }); });
  }
  connect(static_cast<QCheckBox*>(Control(kFollow)), &QCheckBox::clicked, this,
          [this](bool on) { Act([&] { editor_->SetFollow(on); }); });
  connect(static_cast<QCheckBox*>(Control(kPick)), &QCheckBox::clicked, this,
          [this](bool on) { Act([&] { editor_->SetPick(on); }); });
}

void CalibrationDialog::WireButtons() {
  const auto on_click = [this](int id, std::function<void()> action) {
    connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this,
            [this, action = std::move(action)] { Act(action); });
  };
  on_click(kNextPoint, [this] { editor_->NextPoint(); });
  on_click(kPreviousPoint, [this] { editor_->PreviousPoint(); });
  on_click(kDeletePoint, [this] { editor_->DeleteCurrentPoint(); });
  on_click(kApply, [this] { editor_->Apply(); });
  connect(static_cast<QPushButton*>(Control(kClose)), &QPushButton::clicked, this, [this] {
    if (close_handler_) close_handler_();
    // A refused close names the field at fault.
    if (!detached_) Act([] {});
  });
}

void CalibrationDialog::Act(const std::function<void()>& action) {
  action();
  Sync();
  FocusRequested();
}

void CalibrationDialog::FocusRequested() {
  const int id = editor_->TakeFocusRequest();
  if (QWidget* widget = Control(id)) {
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
  }
}

void CalibrationDialog::ImageClicked(int pixel_x, int pixel_y) {
  Act([&] { editor_->ImageClicked(pixel_x, pixel_y); });
}

void CalibrationDialog::Refresh() {
  Act([&] { editor_->Refresh(); });
}

void CalibrationDialog::PlaceCaptions() {
  for (int id : kFieldLabels) Control(id)->setVisible(false);
  for (const CaptionString& caption : editor_->Captions()) {
    auto* text = static_cast<QLabel*>(Control(caption.label));
    text->setText(FromText(strings_.Get(caption.string)));
    grid_->removeWidget(text);
    grid_->addWidget(text, 2 * field_rows_.at(caption.field), 0);
  }
}

void CalibrationDialog::Sync() {
  for (const auto& [id, widget] : controls_) {
    widget->setVisible(editor_->IsVisible(id));
    widget->setEnabled(editor_->IsEnabled(id));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      const QString text = FromText(editor_->Text(id));
      if (edit->text() != text) edit->setText(text);
    }
  }
  for (int id : kListControls) {
    static_cast<QComboBox*>(Control(id))->setCurrentIndex(editor_->Selection(id));
  }
  const int modes[] = {kModeCorners, kModeCentre, kModePoints};
  for (int mode = 0; mode < 3; ++mode) {
    static_cast<QRadioButton*>(Control(modes[mode]))->setChecked(editor_->mode() == mode);
  }
  static_cast<QCheckBox*>(Control(kFollow))->setChecked(editor_->follow());
  static_cast<QCheckBox*>(Control(kPick))->setChecked(editor_->pick());
  PlaceCaptions();
  for (const CaptionString& caption : editor_->Captions()) {
    Control(caption.label)->setVisible(editor_->IsVisible(caption.field));
  }
  help_line_->setText(FromText(editor_->help_text()));
  ShowResiduals();
}

void CalibrationDialog::Place() {
  QWidget* area = parentWidget();
  if (area == nullptr) return;
  const int left = left_edge_ ? left_edge_() : 0;
  constexpr int kTop = 2;
  setGeometry(left, kTop, std::max(area->width() - left, 0), std::max(area->height() - kTop, 0));
}

bool CalibrationDialog::eventFilter(QObject* watched, QEvent* event) {
  if (detached_) return QFrame::eventFilter(watched, event);
  if (watched == parentWidget()) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) Place();
    return QFrame::eventFilter(watched, event);
  }
  for (const auto& [id, widget] : controls_) {
    if (widget != watched) continue;
    if (event->type() == QEvent::KeyPress && IsPlainTab(*static_cast<QKeyEvent*>(event))) {
      // Tab steps back through the panel's controls, as it always has here.
      FocusPreviousControl(widget);
      return true;
    }
    if (event->type() == QEvent::FocusIn) {
      editor_->FocusEntered(id);
      help_line_->setText(FromText(editor_->help_text()));
    } else if (event->type() == QEvent::FocusOut && !leaving_field_ &&
               qobject_cast<QLineEdit*>(widget) != nullptr) {
      // A refused field shows a message box, which takes the focus again.
      leaving_field_ = true;
      const bool accepted = editor_->FocusLeft(id);
      leaving_field_ = false;
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString text = FromText(editor_->Text(id));
      if (edit->text() != text) edit->setText(text);
      if (!accepted) FocusRequested();
    }
    break;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace kv
