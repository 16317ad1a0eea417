#include "dialogs/calibration_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "base/error_reporter.h"
#include "dialogs/calibration_controls.h"
#include "dialogs/calibration_panel_parts.h"
#include "dialogs/calibration_undo_command.h"
#include "views/focus_previous.h"

namespace kv {

using namespace calib;

namespace {

using F = CalibrationField;

QString FromText(const std::string& text) {
  const QString utf8 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // The grid tables are Windows-1252; their degree sign is no UTF-8.
  if (utf8.contains(QChar::ReplacementCharacter)) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return utf8;
}

// Rows of the field grid. The corner and centre fields and the point fields
// never show together, so they share rows.
enum FieldRow {
  kFirstLatitudeRow = 0,
  kFirstLongitudeRow = 1,
  kSecondLatitudeRow = 2,
  kSecondLongitudeRow = 3,
  kPointRow = 0,
  kPixelRow = 1,
  kPointLatitudeRow = 2,
  kPointLongitudeRow = 3,
  kCheckRow = 4,
};

// Columns of the field grid: label, field, zone label, zone.
enum FieldColumn { kLabelColumn, kFieldColumn, kZoneLabelColumn, kZoneColumn };

constexpr int kListControls[] = {kKind, kSystem, kDatum, kProjection};
constexpr std::pair<int, CalibrationMode> kModeButtons[] = {
    {kModeCorners, CalibrationMode::kCorners},
    {kModeCentre, CalibrationMode::kCentre},
    {kModePoints, CalibrationMode::kPoints}};
constexpr int kFieldLabels[] = {kFirstLatitudeLabel,   kFirstLongitudeLabel, kSecondLatitudeLabel,
                                kSecondLongitudeLabel, kPointLatitudeLabel,  kPointLongitudeLabel};
// Minimum characters a list shows, so that the panel fits beside the image.
constexpr int kListMinimumCharacters = 21;
// Room for a position such as "S33 51.408000" or "E151 12.918000".
constexpr int kCoordinateCharacters = 17;
// Width of the notes of the known points and 3x3 kinds, which wrap.
constexpr int kNoteCharacters = 24;
// Rows of the point table shown before it scrolls: as many as leave the
// image view its room at the window's first size.
constexpr int kPointRowsShown = 4;
// Width of a projection parameter's key.
constexpr int kKeyCharacters = 7;
// Spacing of the rows.
constexpr int kRowSpacing = 2;

// A menu, a popup or another window takes the focus only for a while and
// gives it back to the field: that is no leaving the field. A message box
// opened then would also run inside Qt's opening of the menu, whose state
// it destroys.
bool LeavesTheField(Qt::FocusReason reason) {
  return reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason &&
         reason != Qt::ActiveWindowFocusReason;
}

}  // namespace

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
  WireHistory();
  if (parent != nullptr) parent->installEventFilter(this);
  Sync();
}

CalibrationDialog::~CalibrationDialog() {
  // The stack, a child, goes after this and clears itself as it goes: the
  // panel must not hear of it then.
  undo_stack_->disconnect(this);
}

QWidget* CalibrationDialog::AddControl(int id, QWidget* widget) {
  widget->setObjectName(QStringLiteral("c%1").arg(id));
  controls_[id] = widget;
  if (widget->focusPolicy() != Qt::NoFocus) widget->installEventFilter(this);
  return widget;
}

CalibrationField CalibrationDialog::Part(int id) const {
  return PartOfControl(id, editor_->mode());
}

QWidget* CalibrationDialog::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void CalibrationDialog::AddField(int row, int label_id, int field_id, int column) {
  if (label_id != 0) grid_->addWidget(Control(label_id), row, column);
  if (field_id != 0) grid_->addWidget(Control(field_id), row, column + 1);
}

QWidget* CalibrationDialog::BuildLists() {
  auto* lists = new QWidget;
  auto* grid = new QGridLayout(lists);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(kRowSpacing);
  const std::pair<int, int> rows[] = {{kKindLabel, kKind},
                                      {kSystemLabel, kSystem},
                                      {kDatumLabel, kDatum},
                                      {kProjectionLabel, kProjection}};
  int row = 0;
  for (const auto& [text, chooser] : rows) {
    // The lists' labels carry their keyboard mnemonics.
    static_cast<QLabel*>(Control(text))->setBuddy(Control(chooser));
    grid->addWidget(Control(text), row++, 0);
    grid->addWidget(Control(chooser), row++, 0);
  }
  grid->setRowStretch(row, 1);
  return lists;
}

QWidget* CalibrationDialog::BuildChoices(const std::function<QWidget*(int, QWidget*)>& button) {
  // The mode buttons (rectangular kind), the projection's parameters
  // (projection kind) and the notes of the other kinds share this column.
  auto* choices = new QWidget;
  auto* grid = new QGridLayout(choices);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(kRowSpacing);
  auto* mode_group = new QButtonGroup(this);
  int row = 0;
  for (int id : {kModeCorners, kModeCentre, kModePoints}) {
    auto* radio = static_cast<QRadioButton*>(button(id, new QRadioButton));
    mode_group->addButton(radio);
    grid->addWidget(radio, row++, 0, 1, 2);
  }
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    QWidget* key = Control(kParameterKeys[i]);
    key->setMaximumWidth(kKeyCharacters * fontMetrics().horizontalAdvance('x'));
    grid->addWidget(key, i, 0);
    grid->addWidget(Control(kParameterValues[i]), i, 1);
  }
  grid->addWidget(Control(kKnownPointsLabel), 0, 0, 1, 2);
  grid->addWidget(Control(kKnownPointsNote), 1, 0, 3, 2);
  grid->addWidget(Control(kThreeByThreeNote), 0, 0, 4, 2);
  grid->setRowStretch(kProjectionParameterCount, 1);
  return choices;
}

QWidget* CalibrationDialog::BuildFields(const std::function<QWidget*(int, QWidget*)>& button) {
  auto* fields = new QWidget;
  grid_ = new QGridLayout(fields);
  grid_->setContentsMargins(0, 0, 0, 0);
  grid_->setVerticalSpacing(kRowSpacing);
  grid_->setColumnStretch(kFieldColumn, 3);
  grid_->setColumnStretch(kZoneColumn, 1);
  field_rows_ = {{kFirstLatitude, kFirstLatitudeRow},   {kFirstLongitude, kFirstLongitudeRow},
                 {kSecondLatitude, kSecondLatitudeRow}, {kSecondLongitude, kSecondLongitudeRow},
                 {kPointLatitude, kPointLatitudeRow},   {kPointLongitude, kPointLongitudeRow}};
  for (const auto& [field, row] : field_rows_) {
    AddField(row, 0, field, kLabelColumn);
    Control(field)->setMinimumWidth(kCoordinateCharacters * fontMetrics().averageCharWidth());
  }
  // Every caption starts beside a field; the mode moves them (PlaceCaptions).
  for (int id : kFieldLabels) grid_->addWidget(Control(id), FieldOfLabel(id), kLabelColumn);
  AddField(kFirstLatitudeRow, kFirstZoneLabel, kFirstZone, kZoneLabelColumn);
  AddField(kSecondLatitudeRow, kSecondZoneLabel, kSecondZone, kZoneLabelColumn);

  auto* number = static_cast<QLineEdit*>(Control(kPointNumber));
  number->setReadOnly(true);
  // Shows the number only; the keyboard passes it by.
  number->setFocusPolicy(Qt::ClickFocus);
  number->setMaxLength(1);
  number->setMaximumWidth(4 * fontMetrics().horizontalAdvance('0'));
  // Shares its row with the north-west position: while hidden it must not
  // lie over that field and take its clicks.
  navigation_ = new QWidget;
  QWidget* navigation = navigation_;
  auto* navigation_row = new QHBoxLayout(navigation);
  navigation_row->setContentsMargins(0, 0, 0, 0);
  navigation_row->addWidget(Control(kPointNumberLabel));
  navigation_row->addWidget(number);
  navigation_row->addWidget(button(kPreviousPoint, new QPushButton));
  navigation_row->addWidget(button(kNextPoint, new QPushButton));
  navigation_row->addWidget(button(kDeletePoint, new QPushButton));
  navigation_row->addStretch(1);
  grid_->addWidget(navigation, kPointRow, kLabelColumn, 1, 4);
  AddField(kPixelRow, kPixelXLabel, kPixelX, kLabelColumn);
  AddField(kPixelRow, kPixelYLabel, kPixelY, kZoneLabelColumn);
  AddField(kPointLatitudeRow, kPointZoneLabel, kPointZone, kZoneLabelColumn);
  grid_->addWidget(button(kFollow, new QCheckBox), kCheckRow, kLabelColumn, 1, 2);
  grid_->addWidget(button(kPick, new QCheckBox), kCheckRow, kZoneLabelColumn, 1, 2);
  grid_->setRowStretch(kCheckRow + 1, 1);
  return fields;
}

void CalibrationDialog::Build(const DialogTexts& texts) {
  const auto label = [&](int id) { return AddControl(id, new QLabel(FromText(texts.Text(id)))); };
  const auto edit = [&](int id) { return AddControl(id, new QLineEdit); };
  const auto button = [&](int id, QWidget* widget) {
    static_cast<QAbstractButton*>(widget)->setText(FromText(texts.Text(id)));
    return AddControl(id, widget);
  };
  for (int id : {kKindLabel, kSystemLabel, kDatumLabel, kProjectionLabel, kFirstLatitudeLabel,
                 kFirstLongitudeLabel, kSecondLatitudeLabel, kSecondLongitudeLabel, kFirstZoneLabel,
                 kSecondZoneLabel, kPointNumberLabel, kPixelXLabel, kPixelYLabel,
                 kPointLatitudeLabel, kPointLongitudeLabel, kPointZoneLabel, kKnownPointsLabel}) {
    label(id);
  }
  for (int id : {kKnownPointsNote, kThreeByThreeNote}) {
    static_cast<QLabel*>(label(id))->setWordWrap(true);
    Control(id)->setMinimumWidth(kNoteCharacters * fontMetrics().averageCharWidth());
  }
  for (int id : kListControls) {
    auto* combo = new QComboBox;
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kListMinimumCharacters);
    for (const std::string& entry : editor_->ListTexts(Part(id))) combo->addItem(FromText(entry));
    AddControl(id, combo);
  }
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    edit(kParameterKeys[i]);
    edit(kParameterValues[i]);
  }
  for (int id :
       {kFirstLatitude, kFirstLongitude, kFirstZone, kSecondLatitude, kSecondLongitude, kSecondZone,
        kPointNumber, kPixelX, kPixelY, kPointLatitude, kPointZone, kPointLongitude}) {
    edit(id);
  }

  // The lists, the kind's choices and the fields side by side in the
  // previewer's row, which grows to hold them; the table of points below
  // them, then the help line with the buttons. Nothing scrolls: every
  // control stays in sight, and the image view below keeps its room.
  body_ = new QWidget;
  auto* columns = new QHBoxLayout(body_);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->addWidget(BuildLists(), 0);
  columns->addWidget(BuildChoices(button), 1);
  columns->addWidget(BuildFields(button), 3);

  help_line_ = static_cast<QLabel*>(AddControl(kHelpLine, new QLabel));
  help_line_->setWordWrap(true);
  help_line_->setFrameShape(QFrame::Panel);
  help_line_->setFrameShadow(QFrame::Sunken);
  help_line_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  // Two lines, so that a long hint needs no more room than a short one.
  help_line_->setFixedHeight(2 * fontMetrics().height() + 6);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(help_line_, 1);
  bottom->addWidget(button(kApply, new QPushButton));
  bottom->addWidget(button(kClose, new QPushButton));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(kRowSpacing + 2);
  layout->addWidget(body_);
  layout->addWidget(BuildResiduals(texts));
  layout->addLayout(bottom);
  SetTabOrder();
}

void CalibrationDialog::SetTabOrder() {
  std::vector<int> order = {kKind,        kSystem,     kDatum,     kProjection,
                            kModeCorners, kModeCentre, kModePoints};
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    order.push_back(kParameterKeys[i]);
    order.push_back(kParameterValues[i]);
  }
  order.insert(order.end(), {kFirstLatitude, kFirstZone, kFirstLongitude, kSecondLatitude,
                             kSecondZone, kSecondLongitude, kPreviousPoint, kNextPoint,
                             kDeletePoint, kPixelX, kPixelY, kPointLatitude, kPointZone,
                             kPointLongitude, kFollow, kPick, kResidualsTable, kApply, kClose});
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(Control(order[i - 1]), Control(order[i]));
  }
  tab_order_ = order;
}

void CalibrationDialog::FocusPreviousInOrder(int from) {
  const auto at = std::find(tab_order_.begin(), tab_order_.end(), from);
  if (at == tab_order_.end()) return;
  const auto count = static_cast<std::ptrdiff_t>(tab_order_.size());
  const std::ptrdiff_t start = at - tab_order_.begin();
  // Only controls the user can see: a hidden one would take the focus out
  // of sight.
  for (std::ptrdiff_t step = 1; step < count; ++step) {
    QWidget* widget = Control(tab_order_[static_cast<std::size_t>((start - step + count) % count)]);
    if (widget->isVisible() && widget->isEnabled()) {
      widget->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

QWidget* CalibrationDialog::BuildResiduals(const DialogTexts& texts) {
  residuals_ = new QWidget;
  residuals_->setObjectName("residuals");
  auto* column = new QVBoxLayout(residuals_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kRowSpacing);
  auto* heading = new QHBoxLayout;
  heading->addWidget(new QLabel(FromText(texts.Text(kResidualsTitle))));
  residual_summary_ = new QLabel;
  residual_summary_->setObjectName(QStringLiteral("c%1").arg(kResidualsRms));
  heading->addWidget(residual_summary_, 1);
  column->addLayout(heading);

  point_table_ = new QTableWidget(0, kPointColumnCount);
  point_table_->setObjectName(QStringLiteral("c%1").arg(kResidualsTable));
  column_texts_ = {
      FromText(texts.Text(kResidualsPointColumn)),    FromText(strings_.Get(kPixelXColumnString)),
      FromText(strings_.Get(kPixelYColumnString)),    FromText(strings_.Get(kLatitudeColumnString)),
      FromText(strings_.Get(kLongitudeColumnString)), FromText(texts.Text(kResidualsPixelsColumn)),
      FromText(texts.Text(kResidualsMetresColumn)),   QStringLiteral("!")};
  grid_column_texts_ = {FromText(strings_.Get(kNorthingColumnString)),
                        FromText(strings_.Get(kEastingColumnString))};
  point_table_->setHorizontalHeaderLabels(column_texts_);
  point_table_->verticalHeader()->hide();
  point_table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  point_table_->horizontalHeader()->setStretchLastSection(false);
  point_table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  point_table_->setSelectionMode(QAbstractItemView::SingleSelection);
  point_table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  point_table_->setFocusPolicy(Qt::StrongFocus);
  point_table_->setWordWrap(false);
  const int row_height = fontMetrics().height() + 4;
  point_table_->verticalHeader()->setDefaultSectionSize(row_height);
  point_table_->setFixedHeight((kPointRowsShown + 1) * row_height + 2 * point_table_->frameWidth() +
                               2);
  controls_[kResidualsTable] = point_table_;
  point_table_->installEventFilter(this);
  connect(point_table_, &QTableWidget::itemSelectionChanged, this, [this] {
    if (syncing_) return;
    const QList<QTableWidgetItem*> chosen = point_table_->selectedItems();
    if (chosen.isEmpty()) return;
    const int index = chosen.front()->data(Qt::UserRole).toInt();
    Act([&] { editor_->SelectPoint(index); });
  });
  column->addWidget(point_table_);
  residual_texts_ = {texts.Text(kResidualsRms), texts.Text(kResidualsSuspectNote),
                     texts.Text(kResidualsNoFit), texts.Text(kResidualsOffTheEarth)};
  residuals_->hide();
  return residuals_;
}

QString CalibrationDialog::ResidualSummary() const {
  const std::optional<CalibrationResiduals> residuals = editor_->Residuals();
  if (!residuals) return {};
  if (residuals->status != ResidualStatus::kOk) {
    return FromText(residuals->status == ResidualStatus::kPositionOffTheEarth
                        ? residual_texts_.off_the_earth
                        : residual_texts_.no_fit);
  }
  QString summary = FromText(FormatMessageText(
      residual_texts_.rms, QString::number(residuals->rms_pixels, 'f', 2).toStdString()));
  const bool any_suspect = std::any_of(residuals->points.begin(), residuals->points.end(),
                                       [](const PointResidual& point) { return point.outlier; });
  if (any_suspect) summary += "  " + FromText(residual_texts_.suspect);
  return summary;
}

void CalibrationDialog::ShowResiduals() {
  const bool shown = editor_->IsVisible(F::kResidualsTable);
  residuals_->setVisible(shown);
  if (!shown) return;
  residual_summary_->setText(ResidualSummary());
  const bool grid = editor_->ShowsGrid();
  QStringList headers = column_texts_;
  if (grid) {
    headers[kLatitudeColumn] = grid_column_texts_[0];
    headers[kLongitudeColumn] = grid_column_texts_[1];
  }
  point_table_->setHorizontalHeaderLabels(headers);
  const std::vector<PointTableRow> rows = editor_->PointTable();
  syncing_ = true;
  point_table_->clearSelection();
  point_table_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const PointTableRow& point = rows[static_cast<std::size_t>(row)];
    const auto figure = [](const std::optional<double>& value, int decimals) {
      return value ? QString::number(*value, 'f', decimals) : QString();
    };
    const QStringList cells = {
        QString::number(point.index + 1), FromText(point.pixel_x),
        FromText(point.pixel_y),          FromText(point.latitude),
        FromText(point.longitude),        figure(point.residual_pixels, 1),
        figure(point.residual_metres, 0), point.suspect ? QStringLiteral("!") : QString()};
    for (int cell = 0; cell < cells.size(); ++cell) {
      auto* item = new QTableWidgetItem(cells[cell]);
      item->setData(Qt::UserRole, point.index);
      const bool text = cell == kLatitudeColumn || cell == kLongitudeColumn;
      item->setTextAlignment((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (point.suspect) item->setForeground(Qt::red);
      point_table_->setItem(row, cell, item);
    }
    if (point.index == editor_->current_point()) point_table_->selectRow(row);
  }
  syncing_ = false;
}

void CalibrationDialog::WireEdits() {
  for (const auto& [id, widget] : controls_) {
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (edit == nullptr) continue;
    connect(edit, &QLineEdit::textEdited, this, [this, id = id](const QString& text) {
      editor_->EditText(Part(id), text.toStdString());
      // The table shows the point as typed, before it is stored.
      ShowResiduals();
      UndoStateChanged();
    });
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
  for (const auto& [id, mode] : kModeButtons) {
    connect(static_cast<QRadioButton*>(Control(id)), &QRadioButton::clicked, this,
            [this, mode = mode] { Act([&] { editor_->SelectMode(mode); }); });
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

void CalibrationDialog::WireHistory() {
  undo_stack_ = new QUndoStack(this);
  undo_stack_->setUndoLimit(kCalibrationHistoryLimit);
  editor_->SetHistoryObserver({[this](CalibrationChange change) {
                                 undo_stack_->push(new CalibrationUndoCommand(
                                     ChangeName(change),
                                     [this] { ShowStep(&CalibrationEditor::Undo); },
                                     [this] { ShowStep(&CalibrationEditor::Redo); }));
                               },
                               [this] { undo_stack_->clear(); }});
  // After the stack has moved, so that its state is the new one.
  connect(undo_stack_, &QUndoStack::indexChanged, this, [this] { UndoStateChanged(); });
}

QString CalibrationDialog::ChangeName(CalibrationChange change) const {
  return FromText(strings_.Get(ChangeNameString(change)));
}

void CalibrationDialog::ShowStep(void (CalibrationEditor::*step)()) {
  (editor_.get()->*step)();
  Sync();
}

bool CalibrationDialog::CanUndo() const {
  return editor_->TypingPending() || undo_stack_->canUndo();
}

bool CalibrationDialog::CanRedo() const {
  return !editor_->TypingPending() && undo_stack_->canRedo();
}

QString CalibrationDialog::UndoText() const {
  if (editor_->TypingPending()) return ChangeName(CalibrationChange::kTyping);
  return undo_stack_->undoText();
}

QString CalibrationDialog::RedoText() const {
  return CanRedo() ? undo_stack_->redoText() : QString();
}

void CalibrationDialog::Undo() {
  if (detached_ || !CanUndo()) return;
  // The typing becomes the stack's step first, so that the stack undoes it.
  editor_->CommitTyping();
  undo_stack_->undo();
}

void CalibrationDialog::Redo() {
  if (!detached_ && CanRedo()) undo_stack_->redo();
}

void CalibrationDialog::UndoStateChanged() {
  if (!detached_ && undo_state_handler_) undo_state_handler_();
}

void CalibrationDialog::Act(const std::function<void()>& action) {
  action();
  Sync();
  FocusRequested();
}

void CalibrationDialog::FocusRequested() {
  if (QWidget* widget = Control(ControlOfPart(editor_->TakeFocusRequest()))) {
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
  }
}

void CalibrationDialog::ImageClicked(int pixel_x, int pixel_y) {
  Act([&] { editor_->ImageClicked(pixel_x, pixel_y); });
}

void CalibrationDialog::PointDragged(int index, int pixel_x, int pixel_y) {
  Act([&] { editor_->PointDragged(index, pixel_x, pixel_y); });
}

void CalibrationDialog::Refresh() {
  Act([&] { editor_->Refresh(); });
}

void CalibrationDialog::PlaceCaptions() {
  for (int id : kFieldLabels) Control(id)->setVisible(false);
  for (const CaptionString& caption : editor_->Captions()) {
    auto* text = static_cast<QLabel*>(Control(CaptionLabelOf(caption.field)));
    text->setText(FromText(strings_.Get(caption.string)));
    grid_->removeWidget(text);
    grid_->addWidget(text, field_rows_.at(ControlOfPart(caption.field)), kLabelColumn);
  }
}

void CalibrationDialog::Sync() {
  for (const auto& [id, widget] : controls_) {
    const CalibrationField part = Part(id);
    widget->setVisible(part == F::kNone || editor_->IsVisible(part));
    widget->setEnabled(part == F::kNone || editor_->IsEnabled(part));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      const QString text = FromText(editor_->Text(part));
      if (edit->text() != text) edit->setText(text);
    }
  }
  for (int id : kListControls) {
    static_cast<QComboBox*>(Control(id))->setCurrentIndex(editor_->Selection(Part(id)));
  }
  for (const auto& [id, mode] : kModeButtons) {
    static_cast<QRadioButton*>(Control(id))->setChecked(editor_->mode() == mode);
  }
  static_cast<QCheckBox*>(Control(kFollow))->setChecked(editor_->follow());
  static_cast<QCheckBox*>(Control(kPick))->setChecked(editor_->pick());
  PlaceCaptions();
  for (const CaptionString& caption : editor_->Captions()) {
    Control(CaptionLabelOf(caption.field))->setVisible(editor_->IsVisible(caption.field));
  }
  navigation_->setVisible(editor_->IsVisible(F::kPointNumber));
  help_line_->setText(FromText(editor_->help_text()));
  ShowResiduals();
  // Shown or hidden controls change the height the panel needs.
  body_->layout()->activate();
  Place();
  UndoStateChanged();
}

void CalibrationDialog::Place() {
  QWidget* area = parentWidget();
  if (area == nullptr) return;
  const int left = left_edge_ ? left_edge_() : 0;
  constexpr int kTop = 2;
  // At least as low as the previewer, and as tall as the controls need;
  // the owner makes the previewer's row that tall, so that the panel lies
  // over the previewer only and never over the panes below it.
  layout()->activate();
  const int wanted =
      std::max(minimum_height_ ? minimum_height_() : 0, layout()->sizeHint().height());
  if (reserve_height_) reserve_height_(kTop + wanted);
  setGeometry(left, kTop, std::max(area->width() - left, 0),
              std::clamp(wanted, 0, std::max(area->height() - kTop, 0)));
}

void CalibrationDialog::TakeFocus() {
  if (QWidget* kind = Control(kKind)) kind->setFocus(Qt::OtherFocusReason);
}

bool CalibrationDialog::eventFilter(QObject* watched, QEvent* event) {
  if (detached_) return QFrame::eventFilter(watched, event);
  if (watched == parentWidget()) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) Place();
    return QFrame::eventFilter(watched, event);
  }
  for (const auto& [id, widget] : controls_) {
    if (widget != watched) continue;
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(widget) != nullptr &&
        (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) ||
         static_cast<QKeyEvent*>(event)->matches(QKeySequence::Redo))) {
      // The panel's undo, not the field's own keystroke undo: the key goes
      // on to the Edit menu's shortcut.
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
      // Escape is the Close button, validation and all.
      static_cast<QPushButton*>(Control(kClose))->click();
      return true;
    }
    if (event->type() == QEvent::KeyPress && IsPlainTab(*static_cast<QKeyEvent*>(event))) {
      // Tab steps back through the panel's controls, as it always has here.
      FocusPreviousInOrder(id);
      return true;
    }
    if (event->type() == QEvent::FocusIn) {
      editor_->FocusEntered(Part(id));
      help_line_->setText(FromText(editor_->help_text()));
    } else if (event->type() == QEvent::FocusOut && !leaving_field_ &&
               qobject_cast<QLineEdit*>(widget) != nullptr &&
               LeavesTheField(static_cast<QFocusEvent*>(event)->reason())) {
      // A refused field shows a message box, which takes the focus again.
      leaving_field_ = true;
      const bool accepted = editor_->FocusLeft(Part(id));
      leaving_field_ = false;
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString text = FromText(editor_->Text(Part(id)));
      if (edit->text() != text) edit->setText(text);
      if (!accepted) FocusRequested();
    }
    break;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace kv
