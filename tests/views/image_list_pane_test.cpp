// The image list driven the way a person uses it: rows, selection, the
// status line, the columns and the orderings of the column headers.

#include "views/image_list_pane.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include "pane_fixture.h"

namespace kv {

namespace {

QString Cell(const ImageListPane& pane, int row, int column) {
  return pane.model().index(row, column).data().toString();
}

// A cell as the user sees it, in the order of the clicked header.
QString ShownCell(const ImageListPane& pane, int row, int column) {
  return pane.shown().index(row, column).data().toString();
}

int SelectedRow(const ImageListPane& pane) {
  const QModelIndexList rows = pane.table()->selectionModel()->selectedRows();
  return rows.size() == 1 ? pane.shown().mapToSource(rows.front()).row() : -1;
}

// Clicks the middle of a row's first cell.
void ClickRow(const ImageListPane& pane, int row) {
  QTreeView* table = pane.table();
  const QRect cell = table->visualRect(pane.shown().mapFromSource(pane.model().index(row, 0)));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

void ClickHeader(const ImageListPane& pane, int column) {
  QHeaderView* header = pane.table()->header();
  const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

}  // namespace

class ImageListPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void statusLineSaysImageForOneEntryAndImagesOtherwise() {
    PaneFixture f;
    QLabel* status = f.list_pane_->status_line();
    QCOMPARE(status->text(), QString("0 images, 0 KB"));
    f.AddSized("Harbour", 2559);
    QCOMPARE(status->text(), QString("1 image, 2559 bytes"));
    f.AddSized("Harbour 0 0", 1);
    QCOMPARE(status->text(), QString("2 images, 3 KB"));
    f.list_pane_->ShowList(nullptr);  // the document went away
    QCOMPARE(status->text(), QString("0 images, 0 KB"));
    QCOMPARE(f.list_pane_->model().rowCount(), 0);
  }

  void rowsShowTheFiveColumnsWithSizesRightAligned() {
    PaneFixture f;
    CImage& image = f.AddSized("Harbour", 1234, 160, 131, 4);
    const ImageListPane& pane = *f.list_pane_;
    QCOMPARE(pane.model().columnCount(), 5);
    const QStringList titles{"Name", "Date", "Size", "Pixels", "Colour depth"};
    for (int column = 0; column < 5; ++column) {
      QCOMPARE(pane.model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
               titles[column]);
      const auto alignment =
          pane.model().index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
      QCOMPARE(bool(alignment & Qt::AlignRight), column == 2);
    }
    QCOMPARE(Cell(pane, 0, 0), QString("Harbour"));
    const QDate created = QDateTime::fromSecsSinceEpoch(1700000000).date();
    QCOMPARE(Cell(pane, 0, 1), QLocale().toString(created, "d MMM yyyy"));
    QCOMPARE(Cell(pane, 0, 2), QString("1234 bytes"));
    QCOMPARE(Cell(pane, 0, 3), QString("160 x 131"));
    QCOMPARE(Cell(pane, 0, 4), QString("4 bits (16 greys)"));
    (void)image;
  }

  void columnsAreAsWideAsTheirTemplatesPlusFive() {
    PaneFixture f;
    const QStringList templates = QString::fromStdString(f.strings_.Get(1)).split(';');
    QCOMPARE(templates.size(), 5);
    const QFontMetrics metrics = f.list_pane_->table()->fontMetrics();
    for (int column = 0; column < 5; ++column) {
      QCOMPARE(f.list_pane_->table()->columnWidth(column),
               metrics.horizontalAdvance(templates[column]) + 5);
    }
  }

  void anUnshowableDateIsReplacedByTodayAndStoredBack() {
    PaneFixture f;
    CImage& image = f.AddSized("Old", 10);
    image.set_date(0);
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const QString shown = Cell(*f.list_pane_, 0, 1);
    QVERIFY(UnixFromPalmDate(image.date()) >= before);
    QCOMPARE(shown, QLocale().toString(
                        QDateTime::fromSecsSinceEpoch(UnixFromPalmDate(image.date())).date(),
                        "d MMM yyyy"));
  }

  void selectionFollowsTheModelNegativeIndexesAndRemovals() {
    PaneFixture f;
    f.AddSized("a", 10);
    f.AddSized("b", 10);
    CImage& c = f.AddSized("c", 10);
    QCOMPARE(SelectedRow(*f.list_pane_), 2);  // a new entry is selected
    f.list_.Select(-3);
    QCOMPARE(SelectedRow(*f.list_pane_), 0);
    QCOMPARE(f.previewer_->name_edit()->text(), QString("a"));

    f.list_.Select(2);
    f.container_.RemoveImage(&c);  // the selected last row: the new last row
    QCOMPARE(f.list_pane_->model().rowCount(), 2);
    QCOMPARE(f.list_.selected_index(), 1);
    QCOMPARE(SelectedRow(*f.list_pane_), 1);
    QCOMPARE(Cell(*f.list_pane_, 1, 0), QString("b"));
    QCOMPARE(f.list_pane_->status_line()->text(), QString("2 images, 20 bytes"));
  }

  void additionsAndRemovalsMoveOnlyTheirRows() {
    PaneFixture f;
    const ImageListTableModel& model = f.list_pane_->model();
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    f.AddSized("a", 10);
    CImage& b = f.AddSized("b", 10);
    f.AddSized("c", 10);
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(inserted.back().at(1).toInt(), 2);
    f.container_.RemoveImage(&b);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.front().at(1).toInt(), 1);
    QCOMPARE(reset.count(), 0);  // the rows' view keeps its scroll position
    QCOMPARE(Cell(*f.list_pane_, 1, 0), QString("c"));
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    f.container_.MoveImage(f.container_.ImageAt(1), 0);
    QCOMPARE(moved.count(), 1);  // a new order moves the row alone
    QCOMPARE(Cell(*f.list_pane_, 0, 0), QString("c"));
    f.list_.Select(0);
    QCOMPARE(reset.count(), 0);
  }

  // The table hears the list's insertions and moves as they happen, so
  // the row the user chose stays chosen, and stays current, around them.
  void theChosenRowSurvivesInsertionsAndMoves() {
    PaneFixture f;
    auto* model = const_cast<ImageListTableModel*>(&f.list_pane_->model());
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* name : {"a", "b", "c"}) f.AddSized(name, 10);
    const QPersistentModelIndex chosen = model->index(1, 0);
    f.AddSized("d", 10);
    QCOMPARE(chosen.row(), 1);
    f.window_.show();
    ClickRow(*f.list_pane_, 1);
    f.container_.MoveImage(f.container_.ImageAt(3), 0);
    QCOMPARE(Cell(*f.list_pane_, 0, 0), QString("d"));
    QCOMPARE(chosen.row(), 2);
    QCOMPARE(chosen.data().toString(), QString("b"));
    QCOMPARE(SelectedRow(*f.list_pane_), 2);
    const QModelIndex current = f.list_pane_->table()->currentIndex();
    QCOMPARE(f.list_pane_->shown().mapToSource(current).row(), 2);
    QCOMPARE(f.list_.selected_image()->name(), std::string("b"));
  }

  void clickingARowSelectsItAndThePreviewerFollows() {
    PaneFixture f;
    f.window_.show();
    f.AddSized("a", 10);
    f.AddSized("b", 20, 100, 50);
    f.AddSized("c", 30);
    f.list_.Select(0);
    ClickRow(*f.list_pane_, 1);
    QCOMPARE(f.list_.selected_index(), 1);
    QCOMPARE(SelectedRow(*f.list_pane_), 1);
    QCOMPARE(f.previewer_->name_edit()->text(), QString("b"));
    QCOMPARE(f.previewer_->pixel_size_label()->text(), QString("Pixels: 100x50"));
    QCOMPARE(f.list_.current()->name(), std::string("a"));  // the order stays
  }

  // The old list reordered the document, and so the saved map, by the
  // clicked header; now only the rows shown are ordered.
  void headerClicksOrderTheRowsShownButNotTheMap() {
    PaneFixture f;
    f.window_.show();
    f.AddSized("Cedar", 300, 160, 131, 4);
    CImage& alder = f.AddSized("alder", 100, 10, 10, 16);
    f.AddSized("birch", 200, 50, 50, 8);
    const QStringList stored{"Cedar", "alder", "birch"};
    const struct {
      int column;
      QStringList shown;
    } kClicks[] = {
        {0, {"alder", "birch", "Cedar"}},               // name, without regard to case
        {0, {"Cedar", "birch", "alder"}},               // again: down
        {2, {"alder", "birch", "Cedar"}},               // size
        {4, {"Cedar", "birch", "alder"}},               // depth
        {3, {"alder", "birch", "Cedar"}},               // pixel area
        {3, {"Cedar", "birch", "alder"}}, {3, stored},  // a third click shows the map's order again
    };
    QHeaderView* header = f.list_pane_->table()->header();
    f.list_.Select(1);
    for (const auto& click : kClicks) {
      ClickHeader(*f.list_pane_, click.column);
      for (int row = 0; row < 3; ++row) {
        QCOMPARE(ShownCell(*f.list_pane_, row, 0), click.shown[row]);
        QCOMPARE(f.container_.ImageAt(static_cast<std::size_t>(row))->name(),
                 stored[row].toStdString());
      }
      const bool sorted = click.shown != stored;
      QCOMPARE(header->isSortIndicatorShown() && header->sortIndicatorSection() == click.column,
               sorted);
      QCOMPARE(f.list_.selected_image(), &alder);
      QCOMPARE(SelectedRow(*f.list_pane_), 1);
    }
    // A click on a sorted row selects that image, wherever it is shown.
    ClickHeader(*f.list_pane_, 0);
    QTreeView* table = f.list_pane_->table();
    f.list_.Select(2);
    const QRect first = table->visualRect(f.list_pane_->shown().index(0, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(f.list_.selected_image(), &alder);
    QCOMPARE(f.previewer_->name_edit()->text(), QString("alder"));
    QCOMPARE(f.list_.current()->name(), std::string("Cedar"));
  }
};

}  // namespace kv

QTEST_MAIN(kv::ImageListPaneTest)
#include "image_list_pane_test.moc"
