#include "views/image_list_pane.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "document/document_texts.h"
#include "document/list_totals_text.h"
#include "document/pane_texts.h"

namespace kv {

namespace {

// Extra room beside each column's template text.
constexpr int kColumnPadding = 5;
// Rows measured at once when the whole list is new, as Qt's own
// resize-to-contents measures: the texts of a map's entries vary little.
constexpr int kMeasuredRows = 1000;

std::vector<std::string> SplitTemplates(const std::string& templates) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = templates.find(';', start);
    parts.push_back(templates.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

ImageListPane::ImageListPane(const StringTable& strings, QWidget* parent)
    : QWidget(parent),
      strings_(strings),
      model_(new ImageListTableModel(strings, this)),
      shown_(new ImageListSortModel(model_, this)),
      table_(new QTreeView(this)),
      status_(new QLabel(this)) {
  setObjectName("imageList");
  table_->setObjectName("imageListTable");
  shown_->setSourceModel(model_);
  table_->setModel(shown_);
  table_->setRootIsDecorated(false);
  table_->setItemsExpandable(false);
  table_->setUniformRowHeights(true);
  table_->setAllColumnsShowFocus(true);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->header()->setSectionsMovable(false);
  table_->header()->setStretchLastSection(false);
  // Unsorted at first: the rows in the map's order, no arrow.
  table_->header()->setSortIndicatorClearable(true);
  table_->header()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  SetColumnWidths();

  status_->setObjectName("imageListStatus");
  status_->setFrameShape(QFrame::Panel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setFixedHeight(status_->fontMetrics().height() + 4);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(table_, 1);
  layout->addWidget(status_, 0);

  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { UserChoseRow(current); });
  ShowList(nullptr);
}

void ImageListPane::SetColumnWidths() {
  const std::vector<std::string> templates =
      SplitTemplates(DocumentText(strings_, kColumnWidthTemplatesId));
  const QFontMetrics metrics = table_->fontMetrics();
  for (int column = 0; column < ImageListTableModel::kColumnCount; ++column) {
    const auto index = static_cast<std::size_t>(column);
    const QString text =
        index < templates.size() ? QString::fromStdString(templates[index]) : QString();
    table_->setColumnWidth(column, metrics.horizontalAdvance(text) + kColumnPadding);
  }
}

void ImageListPane::FitColumns(int first_row) {
  const int rows = model_->rowCount();
  if (rows == 0) {
    SetColumnWidths();
    return;
  }
  const int last_row = std::min(rows, first_row + kMeasuredRows);
  for (int column = 0; column < ImageListTableModel::kColumnCount; ++column) {
    int width = table_->header()->sectionSizeHint(column);
    if (first_row > 0) width = std::max(width, table_->columnWidth(column));
    for (int row = first_row; row < last_row; ++row) {
      const QModelIndex index = shown_->mapFromSource(model_->index(row, column));
      width = std::max(width, table_->sizeHintForIndex(index).width());
    }
    if (width != table_->columnWidth(column)) table_->setColumnWidth(column, width);
  }
}

QSize ImageListPane::sizeHint() const {
  int width = 2 * table_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (int column = 0; column <= ImageListTableModel::kSize; ++column) {
    width += table_->columnWidth(column);
  }
  return {width, QWidget::sizeHint().height()};
}

void ImageListPane::ShowList(const ImageListModel* list) {
  selecting_ = true;
  model_->SetList(list);
  // Rows appended since the last look are measured alone; any other change
  // measures the list again.
  const int rows = model_->rowCount();
  FitColumns(list == measured_list_ && rows >= measured_rows_ ? measured_rows_ : 0);
  measured_list_ = list;
  measured_rows_ = rows;
  SelectRow(list != nullptr ? list->selected_index() : -1);
  selecting_ = false;
  const std::string totals =
      list != nullptr ? ListTotalsText(strings_, *list) : ListTotalsText(strings_, 0, 0);
  status_->setText(QString::fromStdString(totals));
}

void ImageListPane::SelectRow(std::ptrdiff_t row) {
  QItemSelectionModel* selection = table_->selectionModel();
  if (row < 0 || row >= model_->rowCount()) {
    selection->clear();
    return;
  }
  const QModelIndex index = shown_->mapFromSource(model_->index(static_cast<int>(row), 0));
  selection->setCurrentIndex(index,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  table_->scrollTo(index);
}

void ImageListPane::UserChoseRow(const QModelIndex& current) {
  if (selecting_ || !current.isValid() || !row_handler_) return;
  row_handler_(shown_->mapToSource(current).row());
}

}  // namespace kv
