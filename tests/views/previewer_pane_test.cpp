// The previewer driven the way a person uses it: its labels with and
// without an image, the one-tile preview, the name field and the mode
// buttons.

#include "views/previewer_pane.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QTest>

#include "document/command_ids.h"
#include "pane_fixture.h"

namespace kv {

namespace {

// A pixel of the preview inside its border.
QColor PreviewPixel(PreviewArea* area, int x, int y) {
  const QImage shown = area->grab().toImage();
  return shown.pixelColor(x + PreviewArea::kBorder, y + PreviewArea::kBorder);
}

bool IsRed(const QColor& colour) {
  return colour.red() > 200 && colour.green() < 40 && colour.blue() < 40;
}

void FocusAndClear(QLineEdit* edit) {
  QTest::mouseClick(edit, Qt::LeftButton);
  QVERIFY(edit->hasFocus());
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
}

}  // namespace

class PreviewerPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutAnImageTheLabelsShowOnlyTheirTextsDisabled() {
    PaneFixture f;
    PreviewerPane& p = *f.previewer_;
    QCOMPARE(p.date_label()->text(), QString("Date:"));
    QCOMPARE(p.size_label()->text(), QString("Size:"));
    QCOMPARE(p.pixel_size_label()->text(), QString("Pixels:"));
    QCOMPARE(p.depth_label()->text(), QString("Colour depth"));
    QVERIFY(p.compression_label()->text().isEmpty());
    QVERIFY(p.name_edit()->text().isEmpty());
    for (QWidget* control : std::initializer_list<QWidget*>{
             p.name_edit(), p.date_label(), p.size_label(), p.pixel_size_label(), p.depth_label(),
             p.compression_label()}) {
      QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    }
    QCOMPARE(p.preview_area()->placement().zoom, 0);

    // An image shown and then gone again.
    f.AddSized("Harbour", 10);
    QVERIFY(p.name_edit()->isEnabled());
    f.previewer_->ShowImage(nullptr);
    QCOMPARE(p.size_label()->text(), QString("Size:"));
    QVERIFY(!p.size_label()->isEnabled());
  }

  void labelsDescribeTheImageAndTheWholeMap() {
    PaneFixture f;
    PreviewerPane& p = *f.previewer_;
    f.AddSized("Harbour", 2000, 160, 131, 8);
    f.AddSized("Harbour 0 0", 559, 120, 100, 4);
    f.list_.Select(0);
    QCOMPARE(p.name_edit()->text(), QString("Harbour"));
    const QDate created = QDateTime::fromSecsSinceEpoch(1700000000).date();
    QCOMPARE(p.date_label()->text(), "Date: " + QLocale().toString(created, "d MMM yyyy"));
    QCOMPARE(p.size_label()->text(), QString("Size: 2559bytes (2 tiles)"));
    QCOMPARE(p.pixel_size_label()->text(), QString("Pixels: 160x131"));
    QCOMPARE(p.depth_label()->text(), QString("Colour depth: 8 bits (256 colours)"));
    QCOMPARE(p.compression_label()->text(), QString("Compressed"));
    for (QWidget* control : std::initializer_list<QWidget*>{
             p.name_edit(), p.date_label(), p.size_label(), p.pixel_size_label(), p.depth_label(),
             p.compression_label()}) {
      QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }

    f.AddSized("Harbour 0 131", 1);  // 2 560 bytes in all
    f.settings_.compressBitmaps = false;
    f.list_.Select(1);
    QCOMPARE(p.size_label()->text(), QString("Size: 3KB (3 tiles)"));
    QCOMPARE(p.depth_label()->text(), QString("Colour depth: 4 bits (16 greys)"));
    QCOMPARE(p.compression_label()->text(), QString("Not compressed"));
  }

  void smallBitmapsAreEnlargedByWholeNumbersAndCentred() {
    PaneFixture f;
    PreviewArea* area = f.previewer_->preview_area();
    f.Add("small", SolidBitmap(40, 30, 16, Qt::red));
    QCOMPARE(area->placement().zoom, 4);
    // 160 x 120 drawn 5 pixels below the area's top.
    QVERIFY(IsRed(PreviewPixel(area, 0, 5)));
    QVERIFY(IsRed(PreviewPixel(area, 159, 124)));
    QVERIFY(!IsRed(PreviewPixel(area, 20, 4)));
    QVERIFY(!IsRed(PreviewPixel(area, 20, 125)));
    QVERIFY(!IsRed(PreviewPixel(area, 80, 65)));  // the centre cross
    QVERIFY(IsRed(PreviewPixel(area, 70, 40)));

    f.Add("square", SolidBitmap(100, 100, 16, Qt::red));
    QCOMPARE(area->placement().zoom, 1);
    QVERIFY(!IsRed(PreviewPixel(area, 29, 40)));
    QVERIFY(IsRed(PreviewPixel(area, 30, 40)));
    QVERIFY(IsRed(PreviewPixel(area, 129, 40)));
    QVERIFY(!IsRed(PreviewPixel(area, 130, 40)));
    QVERIFY(!IsRed(PreviewPixel(area, 40, 14)));
    QVERIFY(IsRed(PreviewPixel(area, 40, 15)));
  }

  void anEmptiedNameComesBackWhenTheFieldIsLeft() {
    PaneFixture f;
    f.window_.show();
    f.window_.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window_));
    CImage& image = f.AddSized("Harbour", 10);
    QLineEdit* edit = f.previewer_->name_edit();
    FocusAndClear(edit);
    QCOMPARE(image.name(), std::string());
    QCOMPARE(f.list_pane_->model().index(0, 0).data().toString(), QString());

    f.list_pane_->table()->setFocus();  // leaving the field
    QVERIFY(!edit->hasFocus());
    QCOMPARE(image.name(), std::string("Harbour"));
    QCOMPARE(edit->text(), QString("Harbour"));
    QCOMPARE(f.list_pane_->model().index(0, 0).data().toString(), QString("Harbour"));
  }

  void typingRenamesTheImageAndItsRowUpTo31Characters() {
    PaneFixture f;
    f.window_.show();
    f.window_.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window_));
    CImage& image = f.AddSized("Harbour", 10);
    f.container_.ClearModified();
    QLineEdit* edit = f.previewer_->name_edit();
    FocusAndClear(edit);
    QTest::keyClicks(edit, "North Sea");
    QCOMPARE(image.name(), std::string("North Sea"));
    QCOMPARE(f.list_pane_->model().index(0, 0).data().toString(), QString("North Sea"));
    QVERIFY(f.container_.IsModified());
    QCOMPARE(edit->cursorPosition(), 9);  // refreshing did not move the cursor

    QTest::keyClicks(edit, QString(30, 'x'));
    QCOMPARE(image.name().size(), std::size_t{31});
    QCOMPARE(edit->text().size(), 31);

    // Another entry selected while the field keeps the focus: typing
    // renames that one.
    CImage& tile = f.AddSized("Tile", 10);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), QString("Tile"));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, " 1");
    QCOMPARE(tile.name(), std::string("Tile 1"));
    QCOMPARE(image.name().size(), std::size_t{31});
  }

  void modeButtonsSendTheirCommands() {
    PaneFixture f;
    f.window_.show();
    QTest::mouseClick(f.previewer_->calibrate_button(), Qt::LeftButton);
    QTest::mouseClick(f.previewer_->view_button(), Qt::LeftButton);
    QCOMPARE(f.commands_, (std::vector<int>{kCmdOpenCalibration, kCmdCloseCalibration}));

    // The document switching modes checks a button and sends nothing.
    f.previewer_->SetCalibrating(true);
    QVERIFY(f.previewer_->calibrate_button()->isChecked());
    QVERIFY(!f.previewer_->view_button()->isChecked());
    f.previewer_->SetCalibrating(false);
    QVERIFY(f.previewer_->view_button()->isChecked());
    QCOMPARE(f.commands_.size(), std::size_t{2});
  }

  void tabInThePanelGoesBackToThePreviousControl() {
    PaneFixture f;
    f.window_.show();
    f.window_.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window_));
    f.AddSized("Harbour", 10);
    QLineEdit* edit = f.previewer_->name_edit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Backtab, Qt::ShiftModifier);
    QWidget* previous = QApplication::focusWidget();
    QVERIFY(previous != nullptr && previous != edit);
    QVERIFY(f.previewer_->isAncestorOf(previous));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), previous);
  }

  void layoutOfThePanel() {
    PaneFixture f;
    const PreviewerPane& p = *f.previewer_;
    const int h = p.fontMetrics().height();
    QCOMPARE(p.sizeHint(), QSize(392, 131 + 2 * h + 36));
    QCOMPARE(p.height(), 131 + 2 * h + 36);
    QCOMPARE(p.preview_area()->size(), QSize(164, 135));
    QCOMPARE(p.preview_area()->y(), 18);
    QCOMPARE(p.preview_area()->x(), p.view_button()->geometry().right() + 1 + 26);
    QCOMPARE(p.view_button()->x(), 8);
    QCOMPARE(p.view_button()->height(), 2 * h);
    QCOMPARE(p.calibrate_button()->y(), p.view_button()->y() + 2 * h);
    QCOMPARE(p.name_edit()->x(), p.preview_area()->geometry().right() + 1 + 18);
    QCOMPARE(p.depth_label()->width(), p.date_label()->width() + 100);
    QCOMPARE(p.name_edit()->maxLength(), 31);
    const QPoint right_edge =
        p.view_button()->mapTo(&f.window_, QPoint(p.view_button()->width(), 0));
    QCOMPARE(p.CalibrationDialogX(), right_edge.x() + 10);
  }
};

}  // namespace kv

QTEST_MAIN(kv::PreviewerPaneTest)
#include "previewer_pane_test.moc"
