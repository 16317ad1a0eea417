#include "views/image_list_table_model.h"

#include <QDateTime>
#include <algorithm>

#include "document/document_texts.h"
#include "document/image_list_model.h"
#include "document/pane_texts.h"
#include "map/c_image.h"
#include "views/shown_date.h"

namespace kv {

namespace {

std::vector<CImage*> EntriesOf(const ImageListModel* list) {
  std::vector<CImage*> entries;
  if (list == nullptr) return entries;
  entries.reserve(list->count());
  for (std::size_t i = 0; i < list->count(); ++i) {
    entries.push_back(list->ImageAt(static_cast<std::ptrdiff_t>(i)));
  }
  return entries;
}

}  // namespace

ImageListTableModel::ImageListTableModel(const StringTable& strings, QObject* parent)
    : QAbstractTableModel(parent), strings_(strings) {}

ImageListTableModel::~ImageListTableModel() {
  if (list_ != nullptr) list_->SetRowListener(nullptr);
}

void ImageListTableModel::SetList(const ImageListModel* list) {
  if (list == list_) {
    const int count = static_cast<int>(rows_.size());
    if (count > 0) emit dataChanged(index(0, 0), index(count - 1, kColumnCount - 1));
    return;
  }
  if (list_ != nullptr) list_->SetRowListener(nullptr);
  beginResetModel();
  list_ = list;
  rows_ = EntriesOf(list);
  endResetModel();
  if (list_ != nullptr) list_->SetRowListener(this);
}

void ImageListTableModel::RowsInserted(std::size_t first, const std::vector<CImage*>& images) {
  if (images.empty()) return;
  first = std::min(first, rows_.size());
  const int row = static_cast<int>(first);
  beginInsertRows(QModelIndex(), row, row + static_cast<int>(images.size()) - 1);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(first), images.begin(), images.end());
  endInsertRows();
}

void ImageListTableModel::RowRemoved(std::size_t row) {
  if (row >= rows_.size()) return;
  beginRemoveRows(QModelIndex(), static_cast<int>(row), static_cast<int>(row));
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  endRemoveRows();
}

void ImageListTableModel::RowMoved(std::size_t from, std::size_t to) {
  if (from >= rows_.size() || to >= rows_.size() || from == to) return;
  // Qt names the row the moved one goes before, counted before the move.
  const int destination = static_cast<int>(to > from ? to + 1 : to);
  beginMoveRows(QModelIndex(), static_cast<int>(from), static_cast<int>(from), QModelIndex(),
                destination);
  CImage* moved = rows_[from];
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(from));
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(to), moved);
  endMoveRows();
}

void ImageListTableModel::ListGone() {
  beginResetModel();
  list_ = nullptr;
  rows_.clear();
  endResetModel();
}

CImage* ImageListTableModel::ImageAtRow(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]
                                                          : nullptr;
}

int ImageListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ImageListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ImageListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  if (role == Qt::TextAlignmentRole) {
    const Qt::Alignment across = index.column() == kSize ? Qt::AlignRight : Qt::AlignLeft;
    return QVariant::fromValue(across | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  return Text(*rows_[static_cast<std::size_t>(index.row())], index.column());
}

QString ImageListTableModel::Text(CImage& image, int column) const {
  switch (column) {
    case kName:
      return QString::fromStdString(image.name());
    case kDate:
      return ShownDateText(strings_, ShownCreationTime(image, QDateTime::currentSecsSinceEpoch()));
    case kSize:
      return QString::fromStdString(ImageBytesText(strings_, image));
    case kPixels:
      return QString::fromStdString(ImagePixelsText(strings_, image));
    case kDepth:
      return QString::fromStdString(ListDepthText(strings_, image));
    default:
      return {};
  }
}

QVariant ImageListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  // A first click on a header orders the rows up, as a list usually does.
  if (role == Qt::InitialSortOrderRole) return QVariant::fromValue(int(Qt::AscendingOrder));
  if (role == Qt::TextAlignmentRole) {
    const Qt::Alignment across = section == kSize ? Qt::AlignRight : Qt::AlignLeft;
    return QVariant::fromValue(across | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  const auto id = kFirstColumnTitleId + static_cast<std::uint32_t>(section);
  return QString::fromStdString(DocumentText(strings_, id));
}

}  // namespace kv
