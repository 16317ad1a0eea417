#ifndef KORVALE_VIEWS_IMAGE_LIST_PANE_H_
#define KORVALE_VIEWS_IMAGE_LIST_PANE_H_

// The image list: the document's entries with name, date, size, pixel size
// and colour depth, and a status line with their totals. The document's
// list model holds the order of the map and the selection; a click on a
// column header orders only the rows shown (a third click shows the map's
// order again). The pane reports the row the user chose, as its index in
// the document's list, to whoever handles it.

#include <QLabel>
#include <QTreeView>
#include <QWidget>
#include <functional>

#include "base/string_table.h"
#include "document/image_list_model.h"
#include "views/image_list_sort_model.h"
#include "views/image_list_table_model.h"

namespace kv {

class ImageListPane : public QWidget {
 public:
  using RowHandler = std::function<void(int row)>;

  explicit ImageListPane(const StringTable& strings, QWidget* parent = nullptr);

  // After any change to the list; null (no document) shows nothing. The
  // list must live until it is replaced.
  void ShowList(const ImageListModel* list);

  // The user selected a row; `row` is its index in the document's list.
  void SetRowHandler(RowHandler handler) { row_handler_ = std::move(handler); }

  // As wide as the name, date and size columns, which tell the entries
  // apart; the image beside the list gets the rest.
  QSize sizeHint() const override;

  QTreeView* table() const { return table_; }
  QLabel* status_line() const { return status_; }
  // The rows in the document's order.
  const ImageListTableModel& model() const { return *model_; }
  // The rows as shown, ordered by the header the user clicked.
  const ImageListSortModel& shown() const { return *shown_; }

 private:
  void SetColumnWidths();
  // Sizes the columns to their titles and to the texts of the source rows
  // from `first_row` on (at most kMeasuredRows of them); from a later row
  // they only widen. An empty list has the language's template widths.
  void FitColumns(int first_row);
  void SelectRow(std::ptrdiff_t row);
  void UserChoseRow(const QModelIndex& current);

  const StringTable& strings_;
  ImageListTableModel* model_;
  ImageListSortModel* shown_;
  QTreeView* table_;
  QLabel* status_;
  RowHandler row_handler_;
  bool selecting_ = false;
  // The list whose first rows FitColumns has measured, and how many.
  const ImageListModel* measured_list_ = nullptr;
  int measured_rows_ = 0;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_PANE_H_
