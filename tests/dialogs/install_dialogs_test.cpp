// The install dialogs driven through their controls: the name, the
// target, the device folder, the messages naming the file, and the copy's
// progress with Cancel asking first.

#include "dialogs/install_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "base/language_file.h"
#include "dialogs/copy_progress_dialog.h"
#include "dialogs/dialog_ids.h"
#include "install/install_results.h"
#include "shell/shipped_languages.h"

namespace kv {

namespace {

QPushButton* Button(QDialog& dialog, QDialogButtonBox::StandardButton which) {
  auto* box = dialog.findChild<QDialogButtonBox*>();
  return box != nullptr ? box->button(which) : nullptr;
}

// A picture for the eye when KV_SCREENSHOT_DIR names a folder.
void Picture(QWidget& widget, const QString& name) {
  const char* folder = std::getenv("KV_SCREENSHOT_DIR");
  if (folder != nullptr) widget.grab().save(QDir(QString::fromUtf8(folder)).filePath(name));
}

}  // namespace

class InstallDialogsTest : public QObject {
  Q_OBJECT

 private:
  LanguageFile language_ = ShippedEnglish();
  const DialogTexts& Texts(int id) { return language_.dialogs.at(id); }

 private slots:
  void nameDialogProposesSelectedAndLimitsTo31() {
    DatabaseNameDialog dialog(Texts(kPalmNameDialogId), "Untitled");
    dialog.show();
    Picture(dialog, "install-name.png");
    auto* edit = dialog.findChild<QLineEdit*>("nameEdit");
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->text(), QString("Untitled"));
    QCOMPARE(edit->selectedText(), QString("Untitled"));
    QCOMPARE(edit->maxLength(), 31);
    QTest::keyClicks(edit, "Alps of the north and the south, all");
    QCOMPARE(edit->text(), QString("Alps of the north and the south"));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.name(), QString("Alps of the north and the south"));
  }

  void anEmptyNameKeepsTheDialogOpenWithTheProposal() {
    DatabaseNameDialog dialog(Texts(kPocketPcNameDialogId), "Untitled");
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>("nameEdit");
    edit->clear();
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(edit->text(), QString("Untitled"));
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void targetChooserShowsThePreselectedEntry() {
    TargetChooserDialog dialog(Texts(kTargetChooserDialogId), {"HandHeld", "SD Card"}, 1);
    dialog.show();
    Picture(dialog, "install-target.png");
    auto* list = dialog.findChild<QListWidget*>("targetList");
    QCOMPARE(list->count(), 2);
    QCOMPARE(dialog.chosen(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosen(), 0);
  }

  void deviceFolderOffersTheEntriesAndRefusesAnEmptyFolder() {
    DeviceFolderDialog dialog(Texts(kDeviceFolderDialogId),
                              {"\\My Documents\\Korvale", "\\Storage Card\\Korvale"}, 1);
    dialog.show();
    Picture(dialog, "install-folder.png");
    auto* combo = dialog.findChild<QComboBox*>("folderCombo");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(dialog.folder(), QString("\\Storage Card\\Korvale"));
    QCOMPARE(combo->lineEdit()->maxLength(), 255);
    combo->lineEdit()->clear();
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.folder(), QString("\\My Documents\\Korvale"));
    combo->lineEdit()->setText("\\Maps");
    QTest::mouseClick(Button(dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.folder(), QString("\\Maps"));
  }

  void messagesNameTheFile() {
    struct Message {
      int dialog;
      int text;
      bool question;
    };
    for (const Message& message : {Message{kFileQueuedDialogId, kFileQueuedText, false},
                                   Message{kReplaceQueuedDialogId, kReplaceQueuedText, true},
                                   Message{kReplaceOnDeviceDialogId, kReplaceOnDeviceText, true},
                                   Message{kFileCopiedDialogId, kFileCopiedText, false}}) {
      InstallMessageDialog dialog(Texts(message.dialog), message.text, "Alps.prc",
                                  message.question);
      dialog.show();
      Picture(dialog, QString("install-message-%1.png").arg(message.dialog));
      const QString text = dialog.findChild<QLabel*>("messageText")->text();
      QVERIFY2(text.startsWith("Alps.prc "), qPrintable(text));
      QVERIFY(!text.contains('^'));
      QCOMPARE(Button(dialog, QDialogButtonBox::Cancel) != nullptr, message.question);
    }
  }

  // Cancel during the copy asks; No lets the copy go on to its end, Yes
  // stops it at its next piece.
  void cancelThenNoLetsTheCopyFinish() {
    int asked = 0;
    QStringList shown;
    CopyProgressDialog* dialog = nullptr;
    const CopyRun copy = [&](const CopyProgress& progress) {
      for (int piece = 1; piece <= 3; ++piece) {
        if (piece == 2) {
          QTest::mouseClick(Button(*dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
        }
        if (progress(piece, 3) < 0) return kDeviceCopyCancelled;
        if (piece == 1) Picture(*dialog, "install-copy.png");
        shown << dialog->findChild<QLabel*>("progressText")->text();
      }
      return kInstallOk;
    };
    CopyProgressDialog no(Texts(kCopyProgressDialogId), "/tmp/x/Alps.prc", copy, [&]() {
      ++asked;
      return false;
    });
    dialog = &no;
    QCOMPARE(no.Run(), kInstallOk);
    QCOMPARE(asked, 1);
    QCOMPARE(shown,
             QStringList({"     1 of 3        ", "     2 of 3        ", "     3 of 3        "}));
    QCOMPARE(no.findChild<QLabel*>("localPath")->text(), QString("/tmp/x/Alps.prc"));

    asked = 0;
    shown.clear();
    CopyProgressDialog yes(Texts(kCopyProgressDialogId), "/tmp/x/Alps.prc", copy, [&]() {
      ++asked;
      return true;
    });
    dialog = &yes;
    QCOMPARE(yes.Run(), kDeviceCopyCancelled);
    QCOMPARE(asked, 1);
    QCOMPARE(shown.size(), 1);
  }
};

}  // namespace kv

QTEST_MAIN(kv::InstallDialogsTest)
#include "install_dialogs_test.moc"
