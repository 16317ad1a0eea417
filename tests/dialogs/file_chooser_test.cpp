// The program's file choosers as Qt's own dialogs, worked through their
// name field and buttons: the names they hand back, the question before a
// save replaces a file, and the folders they leave behind.

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "dialog_test_support.h"
#include "dialogs/chooser_item_delegate.h"
#include "dialogs/conversion_options_dialog.h"
#include "dialogs/file_chooser_dialog.h"
#include "document/command_ids.h"
#include "modal_driver.h"
#include "shell/file_commands.h"
#include "shell/main_window.h"
#include "shell/qt_language.h"
#include "shell/widget_prompts.h"

namespace kv {

namespace {

QLineEdit* NameField(QFileDialog* chooser) {
  return chooser->findChild<QLineEdit*>("fileNameEdit");
}

void TypeName(QFileDialog* chooser, const QString& name) {
  QLineEdit* field = NameField(chooser);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, name);
  // The name completion's list would take the click, as it takes a
  // person's first click.
  if (field->completer() != nullptr && field->completer()->popup()->isVisible()) {
    field->completer()->popup()->hide();
  }
}

void PressAccept(QFileDialog* chooser) {
  ClickButton(chooser, chooser->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
}

// Types `name` and presses Save or Open. A whole path is pasted in one go,
// as typing it letter by letter makes the dialog wander through every
// folder on the way.
void ChooseName(QFileDialog* chooser, const QString& name) {
  if (QFileInfo(name).isAbsolute()) {
    NameField(chooser)->setText(name);
  } else {
    TypeName(chooser, name);
  }
  PressAccept(chooser);
}

void Cancel(QFileDialog* chooser) { ClickButton(chooser, QDialogButtonBox::Cancel); }

void Touch(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("x");
}

QString MakeImage(const QString& path) {
  QImage image(200, 160, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.setBrush(QColor(90, 160, 70));
  painter.drawEllipse(30, 20, 120, 100);
  painter.end();
  image.save(path);
  return path;
}

std::string FolderText(const QString& folder) { return folder.toStdString() + "/"; }

}  // namespace

class FileChooserTest : public QObject {
  Q_OBJECT

 private:
  LanguageFile language_ = ShippedEnglish();
  WidgetPrompts prompts_{language_};
  std::unique_ptr<QTemporaryDir> dir_;

  FileChooser Chooser(ChooserKind kind) { return MakeFileChooser(kind, language_.strings); }
  QString Folder() const { return dir_->path(); }
  QString InFolder(const QString& name) const { return dir_->filePath(name); }

  std::optional<std::string> Save(ChooserKind kind, const QString& typed,
                                  const std::string& proposed = "Map.prc") {
    OnModal<QFileDialog>([typed](QFileDialog* chooser) { ChooseName(chooser, typed); });
    return prompts_.ChooseFile(nullptr, Chooser(kind), Folder().toStdString(), proposed);
  }

 private slots:
  void init() {
    DropPendingModalSteps();
    dir_ = std::make_unique<QTemporaryDir>();
  }

  void saveChooserShowsItsTitleFiltersFolderAndProposal() {
    QString title, filter, folder, shown_name;
    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      title = chooser->windowTitle();
      filter = chooser->selectedNameFilter();
      folder = chooser->directory().absolutePath();
      shown_name = NameField(chooser)->text();
      Cancel(chooser);
    });
    prompts_.ChooseFile(nullptr, Chooser(ChooserKind::kSaveMap), Folder().toStdString(),
                        "Harbour.prc");
    QCOMPARE(title, QString("Save As"));
    QCOMPARE(filter, QString("Map databases (*.prc)"));
    QCOMPARE(folder, QDir(Folder()).absolutePath());
    QCOMPARE(shown_name, QString("Harbour.prc"));
  }

  void openChoosersShowTheirTitlesAndFirstFilter() {
    const struct {
      ChooserKind kind;
      const char* title;
      const char* filter;
    } kRows[] = {
        {ChooserKind::kOpenImage, "Import Image", "Images and calibration files"},
        {ChooserKind::kOpenMap, "Open Map", "Map databases (*.prc)"},
        {ChooserKind::kOpenWorldFile, "Select World File", "All files (*)"},
        {ChooserKind::kOpenCalibrationFile, "Select Calibration File", "All files (*)"},
    };
    for (const auto& row : kRows) {
      QString title, filter;
      OnModal<QFileDialog>([&](QFileDialog* chooser) {
        title = chooser->windowTitle();
        filter = chooser->selectedNameFilter();
        Cancel(chooser);
      });
      prompts_.ChooseFile(nullptr, Chooser(row.kind), Folder().toStdString(), "");
      QCOMPARE(title, QString(row.title));
      QVERIFY2(filter.startsWith(row.filter), qPrintable(filter));
    }
  }

  void theNameFieldTakesAsManyCharactersAsTheChooserAllows() {
    const struct {
      ChooserKind kind;
      int limit;
    } kRows[] = {{ChooserKind::kOpenImage, 259}, {ChooserKind::kSaveMap, 255}};
    for (const auto& row : kRows) {
      int typed = 0;
      OnModal<QFileDialog>([&typed](QFileDialog* chooser) {
        NameField(chooser)->setFocus();
        QTest::keyClicks(NameField(chooser), QString(300, 'n'));
        typed = static_cast<int>(NameField(chooser)->text().size());
        Cancel(chooser);
      });
      prompts_.ChooseFile(nullptr, Chooser(row.kind), Folder().toStdString(), "");
      QCOMPARE(typed, row.limit);
    }
  }

  void savedMapNamesEndInPrc() {
    const struct {
      const char* typed;
      const char* saved;
    } kRows[] = {{"map", "map.prc"}, {"map.PRC", "map.PRC"}, {"map.v2", "map.v2.prc"}};
    for (const auto& row : kRows) {
      const std::optional<std::string> path = Save(ChooserKind::kSaveMap, row.typed);
      QVERIFY(path.has_value());
      QCOMPARE(QString::fromStdString(*path), InFolder(row.saved));
    }
  }

  void calibrationProposalGetsKvm() {
    QString shown_name;
    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      shown_name = NameField(chooser)->text();
      ClickButton(chooser, QDialogButtonBox::Save);
    });
    const std::optional<std::string> path = prompts_.ChooseFile(
        nullptr, Chooser(ChooserKind::kSaveCalibration), Folder().toStdString(), "scan.jpg");
    QCOMPARE(shown_name, QString("scan.kvm"));
    QVERIFY(path.has_value());
    QCOMPARE(QString::fromStdString(*path), InFolder("scan.kvm"));
    QCOMPARE(QString::fromStdString(*Save(ChooserKind::kSaveCalibration, "notes", "")),
             InFolder("notes.kvm"));
    QCOMPARE(QString::fromStdString(*Save(ChooserKind::kSaveCalibration, "notes.KVM", "")),
             InFolder("notes.KVM"));
  }

  // The export chooser lists every format the writers take, in the
  // program's language, and hands back a name that asks for one unchanged.
  void exportChooserOffersEveryWrittenFormat() {
    const struct {
      const char* code;
      const char* locale;
      const char* world_files;
    } kRows[] = {{"EN", "en", "World files (*.tfw"}, {"DE", "de", "World-Dateien (*.tfw"}};
    for (const auto& row : kRows) {
      UseQtLanguage(row.locale);
      const LanguageFile language = LoadShippedLanguage(row.code);
      WidgetPrompts prompts(language);
      QStringList types;
      OnModal<QFileDialog>([&](QFileDialog* chooser) {
        chooser->resize(800, 550);
        auto* combo = chooser->findChild<QComboBox*>("fileTypeCombo");
        for (int i = 0; combo != nullptr && i < combo->count(); ++i) types << combo->itemText(i);
        if (const char* folder = std::getenv("KV_GRAB_DIR"); folder != nullptr && combo) {
          combo->showPopup();
          QWidget* popup = combo->view()->window();
          QTRY_VERIFY(popup->isVisible());
          // The list opens below the chooser's edge: the picture takes both.
          const QPoint at = chooser->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
          QPixmap shot(chooser->width(), std::max(chooser->height(), at.y() + popup->height()));
          shot.fill(chooser->palette().color(QPalette::Window).darker(150));
          QPainter painter(&shot);
          painter.drawPixmap(0, 0, chooser->grab());
          painter.drawPixmap(at, popup->grab());
          painter.end();
          shot.save(QDir(folder).filePath(QString("export-types-%1.png").arg(row.code)));
          combo->hidePopup();
        }
        ChooseName(chooser, "sheet.pgw");
      });
      const std::optional<std::string> chosen = prompts.ChooseFile(
          nullptr, MakeFileChooser(ChooserKind::kSaveCalibration, language.strings),
          Folder().toStdString(), "sheet.jpg");
      QCOMPARE(types.size(), 4);
      QVERIFY2(types[1].contains("(*.map)"), qPrintable(types.join(" | ")));
      QVERIFY2(types[2].startsWith(row.world_files), qPrintable(types.join(" | ")));
      QVERIFY(chosen.has_value());
      QCOMPARE(QString::fromStdString(*chosen), InFolder("sheet.pgw"));
    }
    UseQtLanguage("en");
    QCOMPARE(QString::fromStdString(*Save(ChooserKind::kSaveCalibration, "sheet.map", "")),
             InFolder("sheet.map"));
  }

  void replacingAFileIsAskedAboutTheNameWritten() {
    Touch(InFolder("map.prc"));
    int questions = 0;
    QString question;
    bool chooser_stayed = false;
    // No: the chooser stays open for another name; then Cancel.
    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      OnModal<QMessageBox>([&](QMessageBox* box) {
        ++questions;
        question = box->text();
        ClickButton(box, QDialogButtonBox::No);
        OnModal<QFileDialog>([&](QFileDialog* still_open) {
          chooser_stayed = true;
          Cancel(still_open);
        });
      });
      ChooseName(chooser, "map");
    });
    QVERIFY(
        !prompts_.ChooseFile(nullptr, Chooser(ChooserKind::kSaveMap), Folder().toStdString(), "")
             .has_value());
    QCOMPARE(questions, 1);
    QVERIFY(chooser_stayed);
    QCOMPARE(question, InFolder("map.prc") + " already exists.\nDo you want to replace it?");

    // Yes: the name is handed back.
    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      OnModal<QMessageBox>([&](QMessageBox* box) {
        ++questions;
        ClickButton(box, QDialogButtonBox::Yes);
      });
      ChooseName(chooser, "map");
    });
    const std::optional<std::string> path =
        prompts_.ChooseFile(nullptr, Chooser(ChooserKind::kSaveMap), Folder().toStdString(), "");
    QCOMPARE(questions, 2);
    QVERIFY(path.has_value());
    QCOMPARE(QString::fromStdString(*path), InFolder("map.prc"));
  }

  void aTypedNameThatExistsWithoutTheExtensionIsNotAsked() {
    // "old" exists, but "old.prc" is what would be written.
    Touch(InFolder("old"));
    bool asked = false;
    OnModal<QMessageBox>(
        [&asked](QMessageBox* box) {
          asked = true;
          ClickButton(box, QDialogButtonBox::Yes);
        },
        false);
    const std::optional<std::string> path = Save(ChooserKind::kSaveMap, "old");
    QVERIFY(!asked);
    QVERIFY(path.has_value());
    QCOMPARE(QString::fromStdString(*path), InFolder("old.prc"));
  }

  void cancelHandsBackNothingInEveryChooser() {
    for (ChooserKind kind : {ChooserKind::kOpenImage, ChooserKind::kOpenMap,
                             ChooserKind::kOpenWorldFile, ChooserKind::kOpenCalibrationFile,
                             ChooserKind::kSaveMap, ChooserKind::kSaveCalibration}) {
      OnModal<QFileDialog>([](QFileDialog* chooser) {
        NameField(chooser)->setText("typed.prc");
        Cancel(chooser);
      });
      QVERIFY(!prompts_.ChooseFile(nullptr, Chooser(kind), Folder().toStdString(), "Map.prc")
                   .has_value());
    }
    QVERIFY(QDir(Folder()).isEmpty());
  }

  void choosersWriteTheirFolderBack() {
    ShellState state;
    state.language = language_;
    LoadLanguageTexts(&state);
    QWidget window;
    FileCommands files(&window, state, prompts_);
    QVERIFY(QDir(Folder()).mkpath("worlds"));
    QVERIFY(QDir(Folder()).mkpath("maps"));
    Touch(InFolder("worlds/scan.jgw"));
    Touch(InFolder("maps/area.prc"));
    state.app.last_image_folder = FolderText(Folder());
    state.app.last_map_folder = FolderText(Folder());

    // Cancel leaves the folders as they were.
    OnModal<QFileDialog>([](QFileDialog* chooser) { Cancel(chooser); });
    QVERIFY(!files.Choose(ChooserKind::kOpenWorldFile, state.app.last_image_folder, ""));
    QCOMPARE(state.app.last_image_folder, FolderText(Folder()));

    const QString working_folder = QDir::currentPath();
    OnModal<QFileDialog>(
        [this](QFileDialog* chooser) { ChooseName(chooser, InFolder("worlds/scan.jgw")); });
    QVERIFY(files.Choose(ChooserKind::kOpenWorldFile, state.app.last_image_folder, ""));
    QCOMPARE(state.app.last_image_folder, FolderText(InFolder("worlds")));
    // Only the given folder follows the choice, never the program's own.
    QCOMPARE(QDir::currentPath(), working_folder);

    OnModal<QFileDialog>(
        [this](QFileDialog* chooser) { ChooseName(chooser, InFolder("maps/area.prc")); });
    QVERIFY(files.ChooseMapToOpen());
    QCOMPARE(state.app.last_map_folder, FolderText(InFolder("maps")));
  }

  void importAndSaveAsWriteTheImageAndMapFoldersBack() {
    ShellState state;
    state.language = language_;
    LoadLanguageTexts(&state);
    std::ostringstream diagnostics;
    state.app.diagnostics = &diagnostics;
    state.app.last_map_folder = FolderText(Folder());
    state.app.last_image_folder = FolderText(Folder());
    QVERIFY(QDir(Folder()).mkpath("scans"));
    QVERIFY(QDir(Folder()).mkpath("out"));
    const QString image = MakeImage(InFolder("scans/coast.png"));
    MainWindow window(state, prompts_);

    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      OnModal<ConversionOptionsDialog>(
          [](ConversionOptionsDialog* options) { ClickButton(options, QDialogButtonBox::Ok); });
      ChooseName(chooser, image);
    });
    QCOMPARE(window.RunCommand(kCmdImportImage), 0);
    QVERIFY(window.document()->container().image_count() > 1);
    QCOMPARE(state.app.last_image_folder, FolderText(InFolder("scans")));

    OnModal<QFileDialog>(
        [this](QFileDialog* chooser) { ChooseName(chooser, InFolder("out/harbour")); });
    QCOMPARE(window.RunCommand(kCmdSaveAs), 0);
    QVERIFY(QFileInfo(InFolder("out/harbour.prc")).size() > 0);
    QCOMPARE(state.app.last_map_folder, FolderText(InFolder("out")));
  }
  // Dates, sizes and column titles follow the program's language; Qt's
  // file model alone would word them in the system's locale ("8 Dec").
  void detailsSpeakTheProgramsLanguageAndTitlesFit() {
    const struct {
      const char* code;
      const char* locale;
      const char* month;  // December, as the language shortens it
    } kRows[] = {{"DE", "de", "Dez"}, {"EN", "en", "Dec"}};
    const QString file = InFolder("harbour.prc");
    Touch(file);
    {
      QFile dated(file);
      QVERIFY(dated.open(QIODevice::ReadWrite));
      QVERIFY(dated.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(9, 30)),
                                QFileDevice::FileModificationTime));
    }
    for (const auto& row : kRows) {
      UseQtLanguage(row.locale);
      LanguageFile language;
      std::string message;
      const QString path =
          QDir(ShippedLanguageFolder()).filePath(QString("DARudIdi%1.lang").arg(row.code));
      QVERIFY2(LoadLanguageFile(path.toStdString(), &language, &message), message.c_str());
      WidgetPrompts prompts(language);
      QString date;
      QStringList cut_titles;
      OnModal<QFileDialog>([&](QFileDialog* chooser) {
        chooser->resize(800, 550);
        auto* view = chooser->findChild<QTreeView*>("treeView");
        auto* model = qobject_cast<QFileSystemModel*>(view->model());
        QTRY_VERIFY(model->index(file).isValid());
        auto* delegate = dynamic_cast<ChooserItemDelegate*>(view->itemDelegate());
        if (delegate != nullptr) date = delegate->ShownText(model->index(file).siblingAtColumn(3));
        QHeaderView* header = view->header();
        const int margins =
            2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int column = 0; column < header->count(); ++column) {
          const QString title = model->headerData(column, Qt::Horizontal).toString();
          if (header->fontMetrics().horizontalAdvance(title) + margins >
              header->sectionSize(column))
            cut_titles << title;
        }
        if (const char* folder = std::getenv("KV_GRAB_DIR")) {
          chooser->grab().save(QDir(folder).filePath(QString("chooser-%1.png").arg(row.code)));
        }
        Cancel(chooser);
      });
      prompts.ChooseFile(nullptr, MakeFileChooser(ChooserKind::kOpenMap, language.strings),
                         Folder().toStdString(), "");
      QVERIFY2(date.contains(row.month), qPrintable(date));
      QVERIFY2(cut_titles.isEmpty(), qPrintable(cut_titles.join(", ")));
    }
    UseQtLanguage("en");
  }
};

}  // namespace kv

QTEST_MAIN(kv::FileChooserTest)
#include "file_chooser_test.moc"
