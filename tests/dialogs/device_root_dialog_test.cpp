// The folder of the handheld's storage: chosen through its dialog, told
// whether a copy would find the handheld there, kept in the settings and
// offered again.

#include "dialogs/device_root_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_test_support.h"
#include "modal_driver.h"
#include "shell/device_root_setting.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"

namespace kv {

namespace {

void TypeFolder(QWidget* dialog, const QString& folder) {
  QLineEdit* edit = dialog->findChild<QComboBox*>("deviceFolder")->lineEdit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, folder);
}

QString Status(QWidget* dialog) { return dialog->findChild<QLabel*>("status")->text(); }

}  // namespace

class DeviceRootDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  std::unique_ptr<ShellState> MakeState(const QString& language) {
    auto state = std::make_unique<ShellState>();
    state->language = LoadShippedLanguage(language);
    LoadLanguageTexts(state.get());
    state->settings_file = dir_.filePath("Korvale GPS 5.conf").toStdString();
    state->install.media_folders = {dir_.filePath("media/anna").toStdString()};
    return state;
  }

 private slots:
  void init() { DropPendingModalSteps(); }

  void theChosenFolderIsCheckedKeptAndOfferedAgain() {
    QVERIFY(QDir().mkpath(dir_.filePath("media/anna/USBSTICK")));  // left after unmounting
    QVERIFY(QDir().mkpath(dir_.filePath("media/anna/POCKET/My Documents")));
    QVERIFY(QDir().mkpath(dir_.filePath("pocket")));
    auto state = MakeState("EN");
    ScriptedPrompts prompts;
    MainWindow window(*state, prompts);
    window.resize(800, 550);
    window.show();
    QVERIFY(window.action(kCmdDeviceRoot) != nullptr);
    const QString chosen = dir_.filePath("pocket");
    QStringList statuses;
    QStringList offered;
    OnModal<DeviceRootDialog>([&](DeviceRootDialog* dialog) {
      auto* folders = dialog->findChild<QComboBox*>("deviceFolder");
      for (int i = 0; i < folders->count(); ++i) offered << folders->itemText(i);
      statuses << Status(dialog);
      TypeFolder(dialog, chosen);
      statuses << Status(dialog);
      QVERIFY(QDir().mkpath(chosen + "/Storage Card"));
      TypeFolder(dialog, chosen);
      statuses << Status(dialog);
      SaveScreenshotOver(&window, dialog, "device-root-en.png");
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    QCOMPARE(window.RunCommand(kCmdDeviceRoot), 0);
    // The medium with the handheld's folders is offered, the left-over not.
    QCOMPARE(offered, QStringList({"", dir_.filePath("media/anna/POCKET")}));
    QCOMPARE(statuses.size(), 3);
    QVERIFY2(statuses[0].contains(dir_.filePath("media/anna/POCKET")), qPrintable(statuses[0]));
    QVERIFY2(statuses[1].contains("is not the handheld"), qPrintable(statuses[1]));
    QVERIFY2(statuses[2].contains("connected"), qPrintable(statuses[2]));
    QSettings settings(QString::fromStdString(state->settings_file), QSettings::IniFormat);
    QCOMPARE(ReadDeviceRootSetting(settings), std::optional<std::string>(chosen.toStdString()));

    // Offered again; emptied, the setting goes and the media count again.
    QString shown;
    OnModal<DeviceRootDialog>([&](DeviceRootDialog* dialog) {
      shown = dialog->findChild<QComboBox*>("deviceFolder")->currentText();
      TypeFolder(dialog, QString());
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    QCOMPARE(window.RunCommand(kCmdDeviceRoot), 0);
    QCOMPARE(shown, chosen);
    settings.sync();
    QCOMPARE(ReadDeviceRootSetting(settings), std::nullopt);
  }

  void germanTextsAndNothingFound() {
    auto state = MakeState("DE");
    state->settings_file.clear();
    state->install.media_folders = {dir_.filePath("no-media").toStdString()};
    ScriptedPrompts prompts;
    MainWindow window(*state, prompts);
    window.resize(800, 550);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString status;
    QString title;
    OnModal<DeviceRootDialog>([&](DeviceRootDialog* dialog) {
      status = Status(dialog);
      title = dialog->windowTitle();
      SaveScreenshotOver(&window, dialog, "device-root-de.png");
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    QCOMPARE(window.RunCommand(kCmdDeviceRoot), -1);
    QCOMPARE(title, QString("Speicher des Handhelds"));
    QVERIFY2(status.startsWith("Kein Handheld verbunden"), qPrintable(status));
  }
};

}  // namespace kv

QTEST_MAIN(kv::DeviceRootDialogTest)
#include "device_root_dialog_test.moc"
