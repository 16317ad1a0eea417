// The image list and the previewer inside the main window: what the
// document does shows in them, and what the user does in them reaches the
// document.

#include <QDir>
#include <QFile>
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

  // Clicking a header once reordered the map itself, and Save wrote the
  // tiles in the clicked order: the overview became a tile.
  void sortingTheListLeavesTheSavedMapAsItWas() {
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    auto window = MakeWindow();
    window->show();
    ImportMap(*window);
    const auto save = [&](const QString& folder) {
      QVERIFY(QDir(dir_.path()).mkpath(folder));
      prompts_->files.push_back(dir_.filePath(folder + "/coast.prc").toStdString());
      QCOMPARE(window->RunCommand(kCmdSaveAs), 0);
      QVERIFY(prompts_->errors.empty());
    };
    const auto bytes = [&](const QString& folder) {
      QFile file(dir_.filePath(folder + "/coast.prc"));
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    save("plain");
    const QByteArray plain = bytes("plain");
    QVERIFY(!plain.isEmpty());
    ImageListPane* list = List(*window);
    QHeaderView* header = list->table()->header();
    const std::string overview = window->document()->image_list().current()->name();
    bool reordered = false;
    for (int column = 0; column < ImageListTableModel::kColumnCount; ++column) {
      for (const char* order : {"up", "down"}) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        QCOMPARE(header->sortIndicatorSection(), column);
        reordered = reordered ||
                    list->shown().index(0, 0).data().toString() != QString::fromStdString(overview);
        const QString folder = QString("sorted-%1-%2").arg(column).arg(order);
        save(folder);
        QVERIFY2(bytes(folder) == plain, qPrintable(folder));
        QCOMPARE(window->document()->image_list().current()->name(), overview);
      }
    }
    QVERIFY(reordered);  // the clicks did order the rows shown
    qunsetenv("SOURCE_DATE_EPOCH");
  }
};

}  // namespace kv

QTEST_MAIN(kv::PanesInMainWindowTest)
#include "panes_in_main_window_test.moc"
