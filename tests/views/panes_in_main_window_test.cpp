// The image list and the previewer inside the main window: what the
// document does shows in them, and what the user does in them reaches the
// document.

#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "document/command_ids.h"
#include "document/list_totals_text.h"
#include "shell/command_routing.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"
#include "shell/shipped_languages.h"
#include "views/image_list_pane.h"
#include "views/previewer_pane.h"

namespace kv {

class PanesInMainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::ostringstream diagnostics_;

  std::unique_ptr<MainWindow> MakeWindow() {
    state_ = EnglishShellState();
    state_->app.last_map_folder = dir_.path().toStdString() + "/";
    state_->app.diagnostics = &diagnostics_;
    prompts_ = std::make_unique<ScriptedPrompts>();
    return std::make_unique<MainWindow>(*state_, *prompts_);
  }

  // A map of 320 x 262 pixels: the overview and four tiles.
  void ImportMap(MainWindow& window) {
    QImage image(320, 262, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    QPainter painter(&image);
    painter.setBrush(QColor(90, 160, 70));
    painter.drawEllipse(40, 30, 200, 150);
    painter.end();
    const QString path = dir_.filePath("coast.png");
    QVERIFY(image.save(path));
    prompts_->files.push_back(path.toStdString());
    QCOMPARE(window.RunCommand(kCmdImportImage), 0);
    QVERIFY(prompts_->errors.empty());
  }

  static ImageListPane* List(MainWindow& window) {
    return window.findChild<ImageListPane*>("imageList");
  }
  static PreviewerPane* Previewer(MainWindow& window) {
    return window.findChild<PreviewerPane*>("previewer");
  }

 private slots:
  void thePreviewerSitsAcrossTheTopAboveTheList() {
    auto window = MakeWindow();
    window->resize(900, 600);
    window->show();
    PreviewerPane* previewer = Previewer(*window);
    ImageListPane* list = List(*window);
    QVERIFY(previewer != nullptr && list != nullptr);
    const QPoint previewer_at = previewer->mapTo(window.get(), QPoint(0, 0));
    const QPoint list_at = list->mapTo(window.get(), QPoint(0, 0));
    QCOMPARE(previewer->width(), window->centralWidget()->width());
    QVERIFY(list_at.y() >= previewer_at.y() + previewer->height());
  }

  void anImportFillsTheListAndThePreviewer() {
    auto window = MakeWindow();
    ImportMap(*window);
    const ImageListModel& model = window->document()->image_list();
    ImageListPane* list = List(*window);
    QCOMPARE(list->model().rowCount(), 5);
    QCOMPARE(list->model().index(0, 0).data().toString(),
             QString::fromStdString(model.current()->name()));
    QCOMPARE(list->model().index(4, 0).data().toString(),
             QString::fromStdString(model.ImageAt(4)->name()));
    QCOMPARE(list->status_line()->text(),
             QString::fromStdString(ListTotalsText(state_->language.strings, model)));
    QVERIFY(list->status_line()->text().startsWith("5 images, "));
    PreviewerPane* previewer = Previewer(*window);
    QCOMPARE(previewer->name_edit()->text(),
             QString::fromStdString(model.selected_image()->name()));
    QVERIFY(previewer->preview_area()->placement().zoom >= 1);
    QVERIFY(previewer->size_label()->text().endsWith("(5 tiles)"));
  }

  void modeButtonsOpenAndCloseCalibrating() {
    auto window = MakeWindow();
    window->show();
    ImportMap(*window);
    PreviewerPane* previewer = Previewer(*window);
    QTest::mouseClick(previewer->calibrate_button(), Qt::LeftButton);
    QVERIFY(previewer->calibrate_button()->isChecked());
    QTest::mouseClick(previewer->view_button(), Qt::LeftButton);
    QVERIFY(previewer->view_button()->isChecked());
  }

  void aNewColourDepthShowsInBothPanes() {
    auto window = MakeWindow();
    ImportMap(*window);
    QCOMPARE(window->RunCommand(kCmdDepth2), 0);
    PreviewerPane* previewer = Previewer(*window);
    QCOMPARE(previewer->depth_label()->text(), QString("Colour depth: 2 bits (4 greys)"));
    ImageListPane* list = List(*window);
    for (int row = 0; row < list->model().rowCount(); ++row) {
      QCOMPARE(list->model().index(row, 4).data().toString(), QString("2 bits (4 greys)"));
    }
    QCOMPARE(list->table()->selectionModel()->selectedRows().front().row(), 0);
  }

  void closingTheDocumentEmptiesThePanes() {
    auto window = MakeWindow();
    ImportMap(*window);
    QCOMPARE(window->RunCommand(kCmdCloseDocument), 0);  // the save question: No
    QVERIFY(window->document() == nullptr);
    QCOMPARE(List(*window)->model().rowCount(), 0);
    QCOMPARE(List(*window)->status_line()->text(), QString("0 images, 0 KB"));
    QVERIFY(!Previewer(*window)->name_edit()->isEnabled());
    QCOMPARE(Previewer(*window)->preview_area()->placement().zoom, 0);
  }

  void sortingByAHeaderShowsTheNewFirstEntry() {
    auto window = MakeWindow();
    window->show();
    ImportMap(*window);
    ImageListPane* list = List(*window);
    // Renaming the last tile so that it sorts first makes it the current
    // image of the map.
    CImage* last = window->document()->image_list().ImageAt(4);
    last->SetName("AAA");
    window->document()->image_list().Refresh(*last);
    QHeaderView* header = list->table()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(window->document()->image_list().current(), last);
    QCOMPARE(list->model().index(0, 0).data().toString(), QString("AAA"));
  }
};

}  // namespace kv

QTEST_MAIN(kv::PanesInMainWindowTest)
#include "panes_in_main_window_test.moc"
