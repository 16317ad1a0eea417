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

// The one entry `after` lacks, when it is `before` without one entry.
std::ptrdiff_t RemovedRow(const std::vector<CImage*>& before, const std::vector<CImage*>& after) {
  if (before.size() != after.size() + 1) return -1;
  const auto differ = std::mismatch(after.begin(), after.end(), before.begin());
  const std::ptrdiff_t row = differ.second - before.begin();
  return std::equal(differ.first, after.end(), differ.second + 1) ? row : -1;
}

}  // namespace

ImageListTableModel::ImageListTableModel(const StringTable& strings, QObject* parent)
    : QAbstractTableModel(parent), strings_(strings) {}

void ImageListTableModel::SetList(const ImageListModel* list) {
  std::vector<CImage*> entries = EntriesOf(list);
  const int old_count = static_cast<int>(rows_.size());
  const int new_count = static_cast<int>(entries.size());
  if (entries == rows_) {
    if (new_count > 0) emit dataChanged(index(0, 0), index(new_count - 1, kColumnCount - 1));
    return;
  }
  if (new_count > old_count && std::equal(rows_.begin(), rows_.end(), entries.begin())) {
    beginInsertRows(QModelIndex(), old_count, new_count - 1);
    rows_ = std::move(entries);
    endInsertRows();
    return;
  }
  const std::ptrdiff_t removed = RemovedRow(rows_, entries);
  if (removed >= 0) {
    beginRemoveRows(QModelIndex(), static_cast<int>(removed), static_cast<int>(removed));
    rows_ = std::move(entries);
    endRemoveRows();
    return;
  }
  beginResetModel();
  rows_ = std::move(entries);
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
