#ifndef KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_
#define KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_

// The document's image list as a table for the list pane: one row per
// entry with name, date, size, pixel size and colour depth. It keeps only
// the entries' order, and passes on the list's insertions, removals and
// moves as they happen, so that the view keeps its selection over them.

#include <QAbstractTableModel>
#include <vector>

#include "base/string_table.h"
#include "document/image_list_model.h"

namespace kv {

class CImage;

class ImageListTableModel final : public QAbstractTableModel, private ImageListRowListener {
 public:
  enum Column { kName, kDate, kSize, kPixels, kDepth, kColumnCount };

  explicit ImageListTableModel(const StringTable& strings, QObject* parent = nullptr);
  ~ImageListTableModel() override;

  // The list to show; null shows nothing. Told again for the same list,
  // every row is shown anew (names, sizes and depths change in place).
  void SetList(const ImageListModel* list);

  // The image in `row`, or null.
  CImage* ImageAtRow(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Text(CImage& image, int column) const;

  // ImageListRowListener
  void RowsInserted(std::size_t first, const std::vector<CImage*>& images) override;
  void RowRemoved(std::size_t row) override;
  void RowMoved(std::size_t from, std::size_t to) override;
  void ListGone() override;

  const StringTable& strings_;
  const ImageListModel* list_ = nullptr;
  std::vector<CImage*> rows_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_TABLE_MODEL_H_
