// Every word in the user's language: Qt's own buttons, the program's texts
// and dates follow the language start-up loads; the language is chosen in
// the program for the next start; and no text is cut off by its control in
// any shipped language.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>

#include "dialogs/about_dialog.h"
#include "dialogs/conversion_options_dialog.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/file_chooser_dialog.h"
#include "dialogs/install_dialogs.h"
#include "dialogs/world_file_system_dialog.h"
#include "document/calibration_captions.h"
#include "document/command_ids.h"
#include "document/conversion_options_model.h"
#include "document/list_totals_text.h"
#include "scripted_prompts.h"
#include "shell/command_routing.h"
#include "shell/language_choice.h"
#include "shell/main_window.h"
#include "shell/registry_settings.h"
#include "shell/startup.h"
#include "shell/widget_prompts.h"
#include "shipped_languages.h"
#include "views/pane_fixture.h"

namespace kv {

namespace {

// 1 December 2023, noon UTC: a month whose name differs in English and
// German on any time zone's calendar.
constexpr std::int64_t kFirstOfDecember = 1701432000;

// The shipped languages in a fresh install; "Language" selects one.
StartupEnvironment EnvironmentIn(const QTemporaryDir& dir, const char* language) {
  StartupEnvironment environment;
  environment.program_folder = dir.filePath("bin").toStdString();
  environment.data_folder = dir.filePath("share").toStdString();
  environment.registry.install_dir = dir.filePath("install").toStdString();
  environment.config_folder = dir.filePath("config").toStdString();
  environment.desktop = QSize(1024, 768);
  if (language != nullptr) environment.registry.language = language;
  QDir(dir.path()).mkpath("share/lang");
  for (const QString& path : ShippedLanguageFiles()) {
    QFile::copy(path, dir.filePath("share/lang/" + QFileInfo(path).fileName()));
  }
  return environment;
}

// What start-up leaves for the window in `code` ("EN", "DE").
std::unique_ptr<ShellState> ShellIn(const QTemporaryDir& dir, const QString& code) {
  const std::optional<LanguageSetting> setting = LanguageSettingForCode(code.toStdString());
  const std::string number = std::to_string(setting->language);
  auto state = std::make_unique<ShellState>();
  ScriptedPrompts prompts;
  if (!PrepareShell(EnvironmentIn(dir, number.c_str()), prompts, state.get())) {
    qFatal("no shell in %s", qPrintable(code));
  }
  state->prefs_path.clear();
  return state;
}

QString Plain(QString text) { return text.remove('&'); }

// Runs `look` on the modal window the next call opens, then closes it.
void OnNextModal(const std::function<void(QWidget*)>& look) {
  QTimer::singleShot(0, [look]() {
    QWidget* modal = nullptr;
    if (!QTest::qWaitFor([&modal]() { return (modal = QApplication::activeModalWidget()); }))
      return;
    look(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->done(QMessageBox::No);
    } else {
      modal->close();
    }
  });
}

QString ButtonTexts(QWidget* window) {
  QStringList texts;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->text().isEmpty()) texts << Plain(button->text());
  }
  texts.sort();
  return texts.join('|');
}

// The widest line of a text as `widget` draws it.
int TextWidth(const QWidget& widget, const QString& text) {
  int width = 0;
  for (const QString& line : text.split('\n')) {
    width = std::max(width, widget.fontMetrics().horizontalAdvance(line));
  }
  return width;
}

// Labels and buttons whose text does not fit them, and list columns whose
// title or cells do not; "window/object: text".
QStringList CutOffTexts(QWidget* window) {
  QStringList cut;
  const auto name = [window](const QWidget* widget, const QString& text) {
    return window->objectName() + "/" + widget->metaObject()->className() + ": " + text;
  };
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty() || Qt::mightBeRichText(label->text())) {
      continue;
    }
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                      -label->margin(), -label->margin());
    const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                        : TextWidth(*label, Plain(label->text())) <= room.width();
    if (!fits) cut << name(label, label->text());
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->isVisible() || button->text().isEmpty()) continue;
    int needed = button->sizeHint().width();
    if (qobject_cast<QPushButton*>(button) != nullptr) {
      // A push button's hint has a least width; its text needs less.
      needed = TextWidth(*button, Plain(button->text())) +
               2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    }
    if (needed > button->width()) cut << name(button, button->text());
  }
  // Qt's file dialog sizes its own columns; the file's details can be
  // widened there.
  if (qobject_cast<QFileDialog*>(window) != nullptr) return cut;
  for (QTreeView* tree : window->findChildren<QTreeView*>()) {
    if (!tree->isVisible() || tree->model() == nullptr) continue;
    QHeaderView* header = tree->header();
    for (int column = 0; column < tree->model()->columnCount(); ++column) {
      const QString title = tree->model()->headerData(column, Qt::Horizontal).toString();
      if (header->sectionSizeHint(column) > header->sectionSize(column)) cut << name(tree, title);
      for (int row = 0; row < std::min(tree->model()->rowCount(), 50); ++row) {
        const QModelIndex index = tree->model()->index(row, column);
        if (tree->sizeHintForIndex(index).width() > tree->columnWidth(column)) {
          cut << name(tree, index.data().toString());
        }
      }
    }
  }
  return cut;
}

QStringList CutOffTextsShown(QWidget* window) {
  window->show();
  if (!QTest::qWaitForWindowExposed(window)) return {"not shown: " + window->objectName()};
  return CutOffTexts(window);
}

QString MakeImage(const QTemporaryDir& dir) {
  QImage image(320, 262, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.setBrush(QColor(90, 160, 70));
  painter.drawEllipse(40, 30, 200, 150);
  painter.end();
  const QString path = dir.filePath("coast.png");
  image.save(path);
  return path;
}

const DialogTexts& Dialog(const ShellState& state, int id) { return state.language.dialogs.at(id); }

}  // namespace

class UiLanguageTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

 private slots:
  void cleanup() { UseEnglish(); }

  void qtButtonsAndTheErrorCaptionSpeakTheLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("error_caption");
    QTest::newRow("English") << "EN"
                             << "Cancel|No|Yes"
                             << "Error";
    QTest::newRow("German") << "DE"
                            << "Abbrechen|Ja|Nein"
                            << "Fehler";
  }
  void qtButtonsAndTheErrorCaptionSpeakTheLanguage() {
    QFETCH(QString, code);
    QFETCH(QString, buttons);
    QFETCH(QString, error_caption);
    const auto state = ShellIn(dir_, code);
    WidgetPrompts prompts(state->language);
    QString asked;
    OnNextModal([&asked](QWidget* box) { asked = ButtonTexts(box); });
    Question question;
    question.text = "?";
    question.answers = AnswerSet::kYesNoCancel;
    prompts.Ask(nullptr, question);
    QCOMPARE(asked, buttons);
    QString caption;
    OnNextModal([&caption](QWidget* box) { caption = box->windowTitle(); });
    ErrorBox error;
    error.text = "!";
    prompts.ShowError(error);
    QCOMPARE(caption, error_caption);
  }

  void ownTextsSpeakTheLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("tiles");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QString>("date");
    QTest::newRow("English") << "EN"
                             << "Size: 714KB (105 tiles)"
                             << QStringList{"Lat/Long (Rectangular)", "Projection",
                                            "Known Points (Skewed)", "3x3 (TTQV)"}
                             << "1 Dec 2023";
    QTest::newRow("German") << "DE"
                            << "Größe: 714KB (105 Kacheln)"
                            << QStringList{"Breite/Länge (rechtwinklig)", "Projektion",
                                           "Bekannte Punkte (verzerrt)", "3x3 (TTQV)"}
                            << "1. Dez. 2023";
  }
  void ownTextsSpeakTheLanguage() {
    QFETCH(QString, code);
    QFETCH(QString, tiles);
    QFETCH(QStringList, kinds);
    QFETCH(QString, date);
    const auto state = ShellIn(dir_, code);
    const StringTable& strings = state->language.strings;
    QCOMPARE(QString::fromStdString(PreviewerSizeText(strings, 105, 731'000)), tiles);
    for (int i = 0; i < kinds.size(); ++i) {
      QCOMPARE(QString::fromStdString(KindNameText(strings, static_cast<CalibrationKind>(i))),
               kinds[i]);
    }
    // The list's date column and the previewer's date line.
    PaneFixture f;
    f.strings_ = strings;
    CImage& image = f.AddSized("Harbour", 100);
    image.set_date(PalmDateFromUnix(kFirstOfDecember));
    f.list_.Refresh(image);
    QCOMPARE(f.list_pane_->model().index(0, ImageListTableModel::kDate).data().toString(), date);
    QVERIFY2(f.previewer_->date_label()->text().endsWith(" " + date),
             qPrintable(f.previewer_->date_label()->text()));
  }

  void progressCancelSpeaksTheLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("English") << "EN"
                             << "Cancel";
    QTest::newRow("German") << "DE"
                            << "Abbrechen";
  }
  void progressCancelSpeaksTheLanguage() {
    QFETCH(QString, code);
    QFETCH(QString, cancel);
    auto state = ShellIn(dir_, code);
    ScriptedPrompts prompts;
    MainWindow window(*state, prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtDocumentUi& ui = window.ui();
    ui.set_progress_delay(std::chrono::milliseconds(0));
    std::mutex mutex;
    std::condition_variable seen_changed;
    bool seen = false;
    QString shown;
    QTimer::singleShot(0, &window, [&]() {
      auto* dialog = window.findChild<QProgressDialog*>();
      if (dialog != nullptr && QTest::qWaitFor([dialog]() { return dialog->isVisible(); })) {
        if (auto* button = dialog->findChild<QPushButton*>()) shown = button->text();
      }
      const std::lock_guard<std::mutex> lock(mutex);
      seen = true;
      seen_changed.notify_all();
    });
    ui.RunConversion([&]() {
      std::unique_lock<std::mutex> lock(mutex);
      seen_changed.wait_for(lock, std::chrono::minutes(2), [&seen]() { return seen; });
    });
    QCOMPARE(Plain(shown), cancel);
  }

  void languageChosenInTheMenuIsTheOneTheNextStartLoads() {
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    auto state = ShellIn(dir_, "EN");
    ScriptedPrompts prompts;
    MainWindow window(*state, prompts);
    QAction* german = window.action(kCmdFirstLanguage);
    QAction* english = window.action(kCmdFirstLanguage + 1);
    QVERIFY(german != nullptr && english != nullptr);
    QVERIFY(window.action(kCmdLanguageMenu) == nullptr);
    QCOMPARE(german->text(), QString("Deutsch"));
    QCOMPARE(english->text(), QString("English"));
    QVERIFY(english->isChecked() && !german->isChecked());

    german->trigger();
    QVERIFY(german->isChecked() && !english->isChecked());
    QCOMPARE(prompts.informed.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(prompts.informed.front()),
             QString("Korvale Map Manager|Korvale Map Manager will use Deutsch from its next "
                     "start.\n\nKorvale Map Manager verwendet ab dem nächsten Start Deutsch."));

    StartupEnvironment next = EnvironmentIn(dir_, nullptr);
    next.registry = ReadInstalledRegistrySettings();
    const LanguageSetting setting =
        ReadLanguageSetting(next.registry.language, next.registry.sub_language);
    QCOMPARE(ChooseLanguage(setting.language, setting.sub_language).code, std::string("DE"));
    ShellState restarted;
    QVERIFY(PrepareShell(next, prompts, &restarted));
    QCOMPARE(restarted.language_code, std::string("DE"));
    QCOMPARE(restarted.app.caption, restarted.language.strings.Get(1030));
    QCOMPARE(QLocale().language(), QLocale::German);
  }

  void noTextIsCutOff_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("English") << "EN";
    QTest::newRow("German") << "DE";
  }
  void noTextIsCutOff() {
    QFETCH(QString, code);
    auto state = ShellIn(dir_, code);
    state->app.settings.compressBitmaps = false;  // "Not compressed", the longer word
    ScriptedPrompts prompts;
    QStringList cut;
    {
      MainWindow window(*state, prompts);
      window.resize(800, 550);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      cut << CutOffTexts(&window);
      prompts.files.push_back(MakeImage(dir_).toStdString());
      QCOMPARE(window.RunCommand(kCmdImportImage), 0);
      QCoreApplication::processEvents();
      cut << CutOffTexts(&window);
    }
    const StringTable& strings = state->language.strings;
    ConversionOptionsDialog options(Dialog(*state, kConversionOptionsDialogId), strings,
                                    OpenConversionOptions("Harbour", state->app.settings));
    cut << CutOffTextsShown(&options);
    AboutDialog about(Dialog(*state, kAboutDialogId), "1.0.0");
    cut << CutOffTextsShown(&about);
    WorldFileSystemDialog world(Dialog(*state, kWorldFileSystemDialogId), WorldFileSystem{});
    cut << CutOffTextsShown(&world);
    for (int id : {kPalmNameDialogId, kPocketPcNameDialogId}) {
      DatabaseNameDialog named(Dialog(*state, id), "Harbour");
      cut << CutOffTextsShown(&named);
    }
    TargetChooserDialog target(Dialog(*state, kTargetChooserDialogId), {"HandHeld", "Card"}, 0);
    cut << CutOffTextsShown(&target);
    DeviceFolderDialog folder(Dialog(*state, kDeviceFolderDialogId), {"/Maps"}, 0);
    cut << CutOffTextsShown(&folder);
    const std::pair<int, int> messages[] = {{kFileQueuedDialogId, 2102},
                                            {kReplaceQueuedDialogId, 1002},
                                            {kReplaceOnDeviceDialogId, 2092},
                                            {kFileCopiedDialogId, 2093}};
    for (const auto& [id, text] : messages) {
      InstallMessageDialog message(Dialog(*state, id), text, "Harbour.prc",
                                   id == kReplaceQueuedDialogId || id == kReplaceOnDeviceDialogId);
      cut << CutOffTextsShown(&message);
    }
    FileDialogSetup setup;
    setup.title = "?";
    setup.filters = "Maps (*.prc)";
    setup.folder = dir_.path();
    FileChooserDialog chooser(setup);
    cut << CutOffTextsShown(&chooser);
    WidgetPrompts widgets(state->language);
    OnNextModal([&cut](QWidget* box) { cut << CutOffTexts(box); });
    Question question;
    question.text = strings.Get(1029);
    question.answers = AnswerSet::kYesNoCancel;
    widgets.Ask(nullptr, question);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
  }

 private:
  void UseEnglish() { ShellIn(dir_, "EN"); }
};

}  // namespace kv

QTEST_MAIN(kv::UiLanguageTest)
#include "ui_language_test.moc"
