#include "views/image_list_sort_model.h"

#include "views/image_list_table_model.h"

namespace kv {

ImageOrdering OrderingForColumn(int column) {
  switch (column) {
    case ImageListTableModel::kDate:
      return ImageOrdering::kByDate;
    case ImageListTableModel::kSize:
      return ImageOrdering::kBySize;
    case ImageListTableModel::kPixels:
      return ImageOrdering::kByArea;
    case ImageListTableModel::kDepth:
      return ImageOrdering::kByDepth;
    default:
      return ImageOrdering::kByName;
  }
}

ImageListSortModel::ImageListSortModel(const ImageListTableModel* rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {}

bool ImageListSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const CImage* a = rows_->ImageAtRow(left.row());
  const CImage* b = rows_->ImageAtRow(right.row());
  if (a == nullptr || b == nullptr) return left.row() < right.row();
  return ShownBefore(OrderingForColumn(left.column()), *a, *b);
}

}  // namespace kv
