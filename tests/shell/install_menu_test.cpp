// Installing from the main window: the handheld users come from the back
// end at start-up, their menu items queue the map, Copy to Pocket PC copies
// it, and the last device folder outlives the run in the preferences.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/copy_progress_dialog.h"
#include "dialogs/install_dialogs.h"
#include "document/command_ids.h"
#include "scripted_prompts.h"
#include "shell/command_routing.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shipped_languages.h"

namespace kv {

namespace {

// Answers each modal dialog as it comes up, from the event loop, until
// stopped; the copy's progress dialog is left to end by itself.
class ModalAnswerer : public QObject {
 public:
  explicit ModalAnswerer(std::function<void(QDialog*)> answer) : answer_(std::move(answer)) {
    Next();
  }
  ~ModalAnswerer() override { stopped_ = true; }
  std::vector<QString> seen;

 private:
  void Next() {
    QTimer::singleShot(0, this, [this]() {
      if (stopped_) return;
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog != nullptr && dialog != last_ &&
          dynamic_cast<CopyProgressDialog*>(dialog) == nullptr) {
        last_ = dialog;
        seen.push_back(dialog->objectName());
        answer_(dialog);
      }
      Next();
    });
  }

  std::function<void(QDialog*)> answer_;
  // Null once that dialog is gone: the next one may reuse its address.
  QPointer<QDialog> last_;
  bool stopped_ = false;
};

void PressOk(QDialog* dialog) {
  dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

QString MakeImage(const QTemporaryDir& dir) {
  QImage image(320, 262, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.end();
  const QString path = dir.filePath("lake.png");
  image.save(path);
  return path;
}

}  // namespace

class InstallMenuTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::ostringstream diagnostics_;

  std::unique_ptr<ShellState> MakeState() {
    auto state = EnglishShellState();
    state->prefs_path = dir_.filePath("config/test.prefs").toStdString();
    state->app.diagnostics = &diagnostics_;
    state->install.handheld_data_folder = dir_.filePath("handhelds").toStdString();
    state->install.device_root = dir_.filePath("device").toStdString();
    state->handheld_users = {"Anna"};
    return state;
  }

 private slots:
  void initTestCase() {
    QDir(dir_.path()).mkpath("handhelds/Anna");
    QDir(dir_.path()).mkpath("device");
    QDir(dir_.path()).mkpath("config");
    qputenv("TMPDIR", dir_.filePath("tmp").toUtf8());
    QDir(dir_.path()).mkpath("tmp");
  }

  void startupListsTheBackEndsUsers() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("share/lang");
    QDir(dir.path()).mkpath("data/Zoe");
    QDir(dir.path()).mkpath("data/Anna");
    QVERIFY(QFile::copy(QDir(ShippedLanguageFolder()).filePath("DARudIdiEN.lang"),
                        dir.filePath("share/lang/DARudIdiEN.lang")));
    StartupEnvironment environment;
    environment.data_folder = dir.filePath("share").toStdString();
    environment.config_folder = dir.filePath("config").toStdString();
    environment.desktop = QSize(1024, 768);
    environment.install.handheld_data_folder = dir.filePath("data").toStdString();
    ScriptedPrompts prompts;
    ShellState state;
    QVERIFY(PrepareShell(environment, prompts, &state));
    QCOMPARE(state.handheld_users, (std::vector<std::string>{"Anna", "Zoe"}));
    QCOMPARE(state.install.handheld_data_folder, environment.install.handheld_data_folder);
  }

  void theUserItemQueuesTheMapAndCopyToPocketPcCopiesIt() {
    auto state = MakeState();
    ScriptedPrompts prompts;
    {
      MainWindow window(*state, prompts);
      QCOMPARE(window.document()->ImportSourceImage(MakeImage(dir_).toStdString(), true, true), 0);
      ModalAnswerer answerer([](QDialog* dialog) {
        if (auto* name = dialog->findChild<QLineEdit*>("nameEdit")) name->setText("Lake");
        if (auto* folder = dialog->findChild<QComboBox*>("folderCombo")) {
          folder->setEditText("\\Storage Card\\Maps");
        }
        PressOk(dialog);
      });
      QAction* user = window.action(kCmdFirstInstallUser);
      QVERIFY(user != nullptr);
      user->trigger();
      QVERIFY(QFile::exists(dir_.filePath("handhelds/Anna/main/Lake.prc")));
      QCOMPARE(window.windowTitle(), QString("Korvale Map Manager - Lake.prc[*]"));

      window.action(kCmdCopyToPocketPc)->trigger();
      QVERIFY(QFile::exists(dir_.filePath("device/Storage Card/Maps/Lake.prc")));
      QCOMPARE(answerer.seen, (std::vector<QString>{"databaseNameDialog", "targetChooserDialog",
                                                    "installMessageDialog", "deviceFolderDialog",
                                                    "installMessageDialog"}));
      QVERIFY(prompts.errors.empty());
      QVERIFY(QDir(dir_.filePath("tmp")).isEmpty());
      prompts.answers = {Answer::kNo};  // do not save the changes
      window.close();
    }
    PrefsRecord stored;
    QVERIFY(ReadPrefsFile(state->prefs_path, &stored) != PrefsVersion::kNotLoaded);
    QCOMPARE(stored.pocket_pc_folder, std::string("\\Storage Card\\Maps"));

    // The next run offers that folder first.
    auto next = MakeState();
    next->prefs = stored;
    MainWindow window(*next, prompts);
    // Only a map with images is offered for copying.
    QCOMPARE(window.document()->ImportSourceImage(MakeImage(dir_).toStdString(), true, true), 0);
    QString first_folder;
    ModalAnswerer answerer([&](QDialog* dialog) {
      if (auto* combo = dialog->findChild<QComboBox*>("folderCombo")) {
        first_folder = combo->itemText(0);
        dialog->reject();
      } else {
        PressOk(dialog);
      }
    });
    window.action(kCmdCopyToPocketPc)->trigger();
    QCOMPARE(first_folder, QString("\\Storage Card\\Maps"));
    prompts.answers = {Answer::kNo};
  }
};

}  // namespace kv

QTEST_MAIN(kv::InstallMenuTest)
#include "install_menu_test.moc"
