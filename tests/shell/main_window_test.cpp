// The main window driven the way a person would: menu commands, closing,
// dropping, with the prompts answered from a script.

#include "shell/main_window.h"

#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <deque>
#include <optional>

#include "base/message_tables.h"
#include "document/command_ids.h"
#include "scripted_prompts.h"
#include "shell/command_routing.h"
#include "shell/menu_text.h"
#include "shell/resource_catalogue.h"
#include "shipped_languages.h"

namespace kv {

namespace {

// A small map image with enough structure to convert.
QString MakeImage(const QTemporaryDir& dir, const QString& name) {
  QImage image(320, 262, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.setBrush(QColor(90, 160, 70));
  painter.drawEllipse(40, 30, 200, 150);
  painter.end();
  const QString path = dir.filePath(name);
  image.save(path);
  return path;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<ScriptedPrompts> prompts_;

  std::unique_ptr<MainWindow> MakeWindow(std::vector<std::string> users = {}) {
    state_ = EnglishShellState();
    state_->prefs_path = dir_.filePath("config/test.prefs").toStdString();
    state_->app.last_map_folder = dir_.path().toStdString() + "/";
    state_->handheld_users = std::move(users);
    state_->app.diagnostics = &diagnostics_;
    prompts_ = std::make_unique<ScriptedPrompts>();
    return std::make_unique<MainWindow>(*state_, *prompts_);
  }

  std::ostringstream diagnostics_;

 private slots:
  void init() { QFile::remove(dir_.filePath("config/test.prefs")); }

  void routesOnlyItsSixCommandsToItself() {
    QCOMPARE(WindowCommandFor(30001), WindowCommand::kCloseDocument);
    QCOMPARE(WindowCommandFor(40001), WindowCommand::kOpen);
    QCOMPARE(WindowCommandFor(40005), WindowCommand::kAbout);
    QCOMPARE(WindowCommandFor(40042), WindowCommand::kHelp);
    QCOMPARE(WindowCommandFor(40051), WindowCommand::kNew);
    QCOMPARE(WindowCommandFor(40054), WindowCommand::kOpenWithSameCalibration);
    for (int command : RequiredMenuCommands()) {
      if (command == 30001 || command == 40001 || command == 40005 || command == 40042 ||
          command == 40051 || command == 40054) {
        continue;
      }
      QCOMPARE(WindowCommandFor(command), WindowCommand::kNone);
    }
    QCOMPARE(WindowCommandFor(kCmdFirstInstallUser), WindowCommand::kNone);
  }

  void menuAndShortcutsComeFromTheLanguageFile() {
    auto window = MakeWindow();
    for (int command : RequiredMenuCommands()) {
      QVERIFY2(window->action(command) != nullptr, qPrintable(QString::number(command)));
    }
    QCOMPARE(window->action(kCmdSave)->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(window->action(kCmdHelp)->shortcut(), QKeySequence("F1"));
    QVERIFY(window->action(kCmdDepth8)->isCheckable());
    QVERIFY(!window->action(kCmdSave)->isCheckable());
  }

  void withoutHandheldUsersThePlaceholderStays() {
    auto window = MakeWindow();
    QVERIFY(window->handheld_menu() != nullptr);
    const QList<QAction*> items = window->handheld_menu()->actions();
    QCOMPARE(items.size(), 1);
    QVERIFY(!items.front()->isEnabled());
    QVERIFY(window->action(kCmdFirstInstallUser) == nullptr);
    QCOMPARE(window->RunCommand(kCmdFirstInstallUser), 0);
    QVERIFY(prompts_->questions.empty());
    QVERIFY(prompts_->choosers.empty());
    QVERIFY(prompts_->errors.empty());
  }

  void handheldUsersShowTheirAmpersands() {
    QCOMPARE(LiteralMenuText("Ann & Bob"), std::string("Ann && Bob"));
    QCOMPARE(LiteralMenuText("&&"), std::string("&&&&"));
    auto window = MakeWindow({"Ann & Bob", "Cy"});
    const QList<QAction*> items = window->handheld_menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QString("Ann && Bob"));
    QCOMPARE(items[1]->text(), QString("Cy"));
    QCOMPARE(window->action(kCmdFirstInstallUser), items[0]);
    QCOMPARE(window->action(kCmdFirstInstallUser + 1), items[1]);
  }

  void importRunsTheDocumentsImportAndTitlesTheWindow() {
    auto window = MakeWindow();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    QCOMPARE(prompts_->conversion_options_shown, 1);
    QCOMPARE(prompts_->choosers.front().kind, ChooserKind::kOpenImage);
    QVERIFY(window->document()->container().image_count() > 1);
    QVERIFY(window->document()->container().IsModified());
    QCOMPARE(window->windowTitle(), QString("Korvale Map Manager - Map[*]"));
    QVERIFY(prompts_->errors.empty());
  }

  void cancelAtCloseKeepsTheWindowAndWritesNothing() {
    auto window = MakeWindow();
    window->show();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    prompts_->answers.push_back(Answer::kCancel);
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QVERIFY(window->document() != nullptr);
    QCOMPARE(prompts_->questions.size(), std::size_t{1});
    QCOMPARE(prompts_->questions.front().answers, AnswerSet::kYesNoCancel);
    QVERIFY(!QFile::exists(QString::fromStdString(state_->prefs_path)));
  }

  void closingWritesThePreferencesOnce() {
    auto window = MakeWindow();
    window->show();
    state_->app.settings.colourDepth = 4;
    state_->app.settings.compressBitmaps = false;
    QVERIFY(window->close());
    QVERIFY(window->document() == nullptr);
    PrefsRecord written;
    QCOMPARE(ReadPrefsFile(state_->prefs_path, &written), PrefsVersion::kCurrent);
    QCOMPARE(written.colour_depth, 4);
    QCOMPARE(written.compression, 0);
    QCOMPARE(written.placement.length, 44);
    QCOMPARE(written.placement.right - written.placement.left, window->normalGeometry().width());
    QCOMPARE(written.last_map_folder, state_->app.last_map_folder);
  }

  void saveAsAppendsTheMapExtension() {
    auto window = MakeWindow();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QVERIFY(!window->isWindowModified());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    QVERIFY(window->isWindowModified());
    prompts_->files.push_back(dir_.filePath("harbour").toStdString());
    QCOMPARE(window->RunCommand(kCmdSaveAs), 0);
    QVERIFY(QFileInfo(dir_.filePath("harbour.prc")).size() > 0);
    QCOMPARE(window->windowTitle(), QString("Korvale Map Manager - harbour.prc[*]"));
    QVERIFY(!window->document()->container().IsModified());
    QVERIFY(!window->isWindowModified());
    QCOMPARE(window->RunCommand(kCmdDepth4), 0);
    QVERIFY(window->isWindowModified());
    prompts_->answers.push_back(Answer::kCancel);
    QCOMPARE(window->RunCommand(kCmdCloseDocument), -1);
    QVERIFY(window->isWindowModified());
  }

  // The window chooses the files and hands them to the document: which
  // chooser, where it starts, what it proposes, and what a cancel or a No
  // before it gives.
  void fileCommandsChooseInTheDocumentsFoldersWithItsNames() {
    auto window = MakeWindow();
    const std::string map_folder = state_->app.last_map_folder;
    QCOMPARE(window->RunCommand(kCmdSave), -1);  // an empty map: told, not asked
    QVERIFY(prompts_->choosers.empty());
    QCOMPARE(prompts_->informed.size(), std::size_t{1});
    state_->app.last_image_folder = "/nowhere/";
    QCOMPARE(window->RunCommand(kCmdImportImage), -1);
    QCOMPARE(prompts_->conversion_options_shown, 0);
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    const std::string image_folder = state_->app.last_image_folder;

    const struct {
      int command;
      std::deque<Answer> answers;
      int result;
      std::optional<ChooserKind> chooser;  // none: no chooser shown
      std::string folder;
      std::string proposed;
    } kRows[] = {
        {kCmdExportCalibration, {Answer::kNo}, -1, std::nullopt, "", ""},
        {kCmdExportCalibration,
         {Answer::kYes},
         0,
         ChooserKind::kSaveCalibration,
         map_folder,
         "coast"},
        {kCmdImportCalibrationFile, {Answer::kNo}, 0, std::nullopt, "", ""},
        {kCmdImportCalibrationFile,
         {Answer::kYes},
         0,
         ChooserKind::kOpenCalibrationFile,
         image_folder,
         ""},
        {kCmdImportWorldFile, {Answer::kYes}, 0, ChooserKind::kOpenWorldFile, image_folder, ""},
        {kCmdSave, {}, -1, ChooserKind::kSaveMap, map_folder, "coast"},
        {kCmdSaveAs, {}, -1, ChooserKind::kSaveMap, map_folder, "coast"},
    };
    for (const auto& row : kRows) {
      prompts_->choosers.clear();
      prompts_->chooser_folders.clear();
      prompts_->proposed_names.clear();
      prompts_->answers = row.answers;
      QCOMPARE(window->RunCommand(row.command), row.result);
      QCOMPARE(prompts_->choosers.size(), std::size_t{row.chooser ? 1u : 0u});
      if (row.chooser) {
        QCOMPARE(prompts_->choosers[0].kind, *row.chooser);
        QCOMPARE(prompts_->chooser_folders[0], row.folder);
        QCOMPARE(prompts_->proposed_names[0], row.proposed);
      }
      QVERIFY(prompts_->answers.empty());
    }
    QCOMPARE(prompts_->world_systems_asked, 0);  // its file chooser was cancelled
    QVERIFY(prompts_->errors.empty());
    QVERIFY(window->document()->container().IsModified());
    QCOMPARE(state_->app.last_map_folder, map_folder);
  }

  void aWorldFileAsksForItsSystemAndACancelKeepsTheCalibration() {
    auto window = MakeWindow();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    const CalibrationRecord before = state_->app.calibration;
    QFile world(dir_.filePath("coast.pgw"));
    QVERIFY(world.open(QIODevice::WriteOnly));
    world.write("0.005\n0\n0\n-0.002\n8\n47.5\n");
    world.close();
    prompts_->answers = {Answer::kYes};
    prompts_->files.push_back(world.fileName().toStdString());
    prompts_->cancel_world_system = true;
    QCOMPARE(window->RunCommand(kCmdImportWorldFile), 0);
    QCOMPARE(prompts_->world_systems_asked, 1);
    QCOMPARE(state_->app.calibration, before);
    // The chooser's folder is remembered even so.
    QCOMPARE(state_->app.last_image_folder, dir_.path().toStdString() + "/");

    prompts_->answers = {Answer::kYes};
    prompts_->files.push_back(world.fileName().toStdString());
    prompts_->cancel_world_system = false;
    QCOMPARE(window->RunCommand(kCmdImportWorldFile), 0);
    QCOMPARE(prompts_->world_systems_asked, 2);
    QCOMPARE(state_->app.calibration.north, 47.5);
    QVERIFY(prompts_->errors.empty());
  }

  // Yes to saving a map that has no file yet is Save As: a cancelled
  // chooser keeps the map open, a chosen name saves it and lets it go.
  void closingANewMapChoosesItsNameFirst() {
    auto window = MakeWindow();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    prompts_->choosers.clear();
    prompts_->answers = {Answer::kYes};
    QCOMPARE(window->RunCommand(kCmdCloseDocument), -1);
    QVERIFY(window->document() != nullptr);
    QCOMPARE(prompts_->choosers.size(), std::size_t{1});
    QCOMPARE(prompts_->choosers[0].kind, ChooserKind::kSaveMap);
    QCOMPARE(prompts_->proposed_names.back(), std::string("coast"));

    prompts_->answers = {Answer::kYes};
    prompts_->files.push_back(dir_.filePath("closing").toStdString());
    QCOMPARE(window->RunCommand(kCmdCloseDocument), 0);
    QVERIFY(window->document() == nullptr);
    QVERIFY(QFileInfo(dir_.filePath("closing.prc")).size() > 0);
    QCOMPARE(prompts_->questions.size(), std::size_t{2});
  }

  void openingAMissingMapShowsOneErrorNamingIt() {
    auto window = MakeWindow();
    const std::string path = dir_.filePath("gone.prc").toStdString();
    prompts_->files.push_back(path);
    QCOMPARE(window->RunCommand(kCmdOpen), 0);
    QCOMPARE(prompts_->choosers.front().kind, ChooserKind::kOpenMap);
    QCOMPARE(prompts_->errors.size(), std::size_t{1});
    const ErrorBox& box = prompts_->errors.front();
    QCOMPARE(box.context, state_->language.strings.Get(kContextOpen));
    QVERIFY(box.text.find(path) != std::string::npos);
    QVERIFY(window->document() != nullptr);
  }

  void closedDocumentIgnoresItsCommandsUntilNew() {
    auto window = MakeWindow();
    QCOMPARE(window->RunCommand(kCmdCloseDocument), 0);
    QVERIFY(window->document() == nullptr);
    QCOMPARE(window->RunCommand(kCmdSave), 0);
    QVERIFY(prompts_->choosers.empty());
    QCOMPARE(window->RunCommand(kCmdNew), -1);  // the chooser is cancelled
    QVERIFY(window->document() != nullptr);
    QCOMPARE(prompts_->choosers.size(), std::size_t{1});
  }

  void helpOpensTheGuideOrSaysItCannot() {
    auto window = MakeWindow();
    state_->guide_path.clear();
    QCOMPARE(window->RunCommand(kCmdHelp), -1);
    QCOMPARE(prompts_->informed.size(), std::size_t{1});
    QVERIFY(prompts_->informed.front().rfind("Korvale Help|", 0) == 0);
    const QString guide = dir_.filePath("index.html");
    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    state_->guide_path = guide.toStdString();
    QCOMPARE(window->RunCommand(kCmdHelp), 0);
    QCOMPARE(prompts_->guides_opened.size(), std::size_t{1});
    prompts_->guide_opens = false;
    QCOMPARE(window->RunCommand(kCmdHelp), -1);
    QCOMPARE(prompts_->informed.size(), std::size_t{2});
  }

  void aboutShowsDialog110() {
    auto window = MakeWindow();
    QCOMPARE(window->RunCommand(kCmdAbout), 0);
    QCOMPARE(prompts_->about_shown, 1);
  }

  // A failed Open once left an empty document in place of the open map.
  void aFailedOpenOrDropLeavesTheOpenMapAsItWas() {
    auto window = MakeWindow();
    prompts_->files.push_back(MakeImage(dir_, "coast.png").toStdString());
    QCOMPARE(window->RunCommand(kCmdImportImage), 0);
    state_->app.calibration.north = 47.5;
    const CDocument* open = window->document();
    const std::size_t images = open->container().image_count();
    const QString title = window->windowTitle();
    QFile garbage(dir_.filePath("garbage.jpg"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture at all, only words");
    garbage.close();
    const struct {
      QString file;
      bool drop;
    } kTries[] = {
        {"garbage.jpg", false}, {"gone.prc", false}, {"garbage.jpg", true}, {"gone.png", true}};
    std::size_t errors = 0;
    for (const auto& attempt : kTries) {
      const QString path = dir_.filePath(attempt.file);
      if (attempt.drop) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        QVERIFY(drop.isAccepted());
        QCoreApplication::processEvents();
      } else {
        prompts_->files.push_back(path.toStdString());
        QCOMPARE(window->RunCommand(kCmdOpen), 0);
      }
      QCOMPARE(prompts_->errors.size(), ++errors);
      QCOMPARE(window->document(), open);
      QCOMPARE(window->document()->container().image_count(), images);
      QVERIFY(window->document()->container().IsModified());
      QCOMPARE(window->document()->image_list().current(), open->container().ImageAt(0));
      QCOMPARE(state_->app.calibration.north, 47.5);
      QCOMPARE(window->windowTitle(), title);
    }
    // Nothing opened, so nothing asked whether to save the open map.
    QVERIFY(prompts_->questions.empty());
  }

  void droppedImageReplacesTheDocument() {
    auto window = MakeWindow();
    const QString path = MakeImage(dir_, "dropped.png");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QVERIFY(drop.isAccepted());
    // The import, which may show a dialog, waits until the drag-and-drop
    // loop has ended.
    QVERIFY(window->document()->source_path() != path.toStdString());
    QCoreApplication::processEvents();
    QVERIFY2(prompts_->errors.empty(),
             prompts_->errors.empty() ? "" : prompts_->errors[0].text.c_str());
    QVERIFY(window->document()->container().image_count() > 1);
    QVERIFY(prompts_->choosers.empty());
    QCOMPARE(window->document()->source_path(), path.toStdString());
    // The overview is selected, as after an import, in the list and the
    // previewer alike.
    const ImageListModel& list = window->document()->image_list();
    QCOMPARE(list.selected_index(), std::ptrdiff_t{0});
    auto* table = window->findChild<QTreeView*>("imageListTable");
    QVERIFY(table != nullptr);
    const auto* shown = qobject_cast<const QSortFilterProxyModel*>(table->model());
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->mapToSource(table->currentIndex()).row(), 0);
    auto* name = window->findChild<QLineEdit*>("imageNameEdit");
    QCOMPARE(name->text().toStdString(), list.current()->name());
  }
};

}  // namespace kv

QTEST_MAIN(kv::MainWindowTest)
#include "main_window_test.moc"
