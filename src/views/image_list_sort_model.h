#ifndef KORVALE_VIEWS_IMAGE_LIST_SORT_MODEL_H_
#define KORVALE_VIEWS_IMAGE_LIST_SORT_MODEL_H_

// The image list as the user has ordered it by a column header. Only the
// rows shown are ordered: the document's list keeps the map's order, which
// is the order its images are written in. Everything the list hands the
// document is mapped back through this model first.

#include <QSortFilterProxyModel>

#include "document/image_list_model.h"

namespace kv {

class ImageListTableModel;

class ImageListSortModel final : public QSortFilterProxyModel {
 public:
  // Shows `rows`, which must outlive this model.
  ImageListSortModel(const ImageListTableModel* rows, QObject* parent = nullptr);

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  const ImageListTableModel* rows_;
};

// The ordering a click on `column`'s header shows.
ImageOrdering OrderingForColumn(int column);

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_SORT_MODEL_H_
