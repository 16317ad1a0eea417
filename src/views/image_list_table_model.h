#ifndef KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_
#define KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_

// The document's image list as a table for the list pane: one row per
// entry with name, date, size, pixel size and colour depth. It keeps only
// the entries' order, to tell the view which rows came, went or changed.

#include <QAbstractTableModel>
#include <vector>

#include "base/string_table.h"

namespace kv {

class CImage;
class ImageListModel;

class ImageListTableModel final : public QAbstractTableModel {
 public:
  enum Column { kName, kDate, kSize, kPixels, kDepth, kColumnCount };

  explicit ImageListTableModel(const StringTable& strings, QObject* parent = nullptr);

  // The list to show, after any change to it; null shows nothing. The list
  // must live until it is replaced.
  void SetList(const ImageListModel* list);

  // The image in `row`, or null.
  CImage* ImageAtRow(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Text(CImage& image, int column) const;

  const StringTable& strings_;
  std::vector<CImage*> rows_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_
