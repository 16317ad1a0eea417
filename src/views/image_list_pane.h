#ifndef KORVALE_VIEWS_IMAGE_LIST_PANE_H_
#define KORVALE_VIEWS_IMAGE_LIST_PANE_H_

// The image list: the document's entries with name, date, size, pixel size
// and colour depth, and a status line with their totals. The document's
// list model decides order and selection; the pane reports what the user
// chose (a row, an ordering from a column header) to whoever handles it.

#include <QLabel>
#include <QTreeView>
#include <QWidget>
#include <functional>

#include "base/string_table.h"
#include "document/image_list_model.h"
#include "views/image_list_table_model.h"

namespace kv {

class ImageListPane : public QWidget {
 public:
  using RowHandler = std::function<void(int row)>;
  using OrderingHandler = std::function<void(ImageOrdering ordering)>;

  explicit ImageListPane(const StringTable& strings, QWidget* parent = nullptr);

  // After any change to the list; null (no document) shows nothing. The
  // list must live until it is replaced.
  void ShowList(const ImageListModel* list);

  // The user selected a row.
  void SetRowHandler(RowHandler handler) { row_handler_ = std::move(handler); }
  // The user clicked a column header: the ordering it stands for.
  void SetOrderingHandler(OrderingHandler handler) { ordering_handler_ = std::move(handler); }

  // As wide as the name, date and size columns, which tell the entries
  // apart; the image beside the list gets the rest.
  QSize sizeHint() const override;

  QTreeView* table() const { return table_; }
  QLabel* status_line() const { return status_; }
  const ImageListTableModel& model() const { return *model_; }

 private:
  void SetColumnWidths();
  void SelectRow(std::ptrdiff_t row);
  void UserChoseRow(const QModelIndex& current);
  void HeaderClicked(int column);

  const StringTable& strings_;
  ImageListTableModel* model_;
  QTreeView* table_;
  QLabel* status_;
  RowHandler row_handler_;
  OrderingHandler ordering_handler_;
  bool selecting_ = false;
};

// The ordering a click on `column`'s header offers.
ImageOrdering OrderingForColumn(int column);

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_PANE_H_
