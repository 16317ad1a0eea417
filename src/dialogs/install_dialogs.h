#ifndef KORVALE_DIALOGS_INSTALL_DIALOGS_H_
#define KORVALE_DIALOGS_INSTALL_DIALOGS_H_

// The questions and messages of installing a map on a handheld: its name,
// the target, the device folder, and the messages that name the map's file
// (their dialogs are in dialog_ids.h). Each takes its texts from the
// language file and hands back what was chosen.

#include <QDialog>
#include <QString>
#include <QStringList>

#include "base/language_file.h"
#include "dialogs/dialog_ids.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace kv {

// Controls of the install dialogs, each after the dialog it belongs to.
inline constexpr int kPalmNameEdit = 1003;         // kPalmNameDialogId
inline constexpr int kPocketPcNameEdit = 2108;     // kPocketPcNameDialogId
inline constexpr int kTargetList = 2086;           // kTargetChooserDialogId
inline constexpr int kReplaceQueuedText = 1002;    // kReplaceQueuedDialogId
inline constexpr int kFileQueuedText = 2102;       // kFileQueuedDialogId
inline constexpr int kReplaceOnDeviceText = 2092;  // kReplaceOnDeviceDialogId
inline constexpr int kFileCopiedText = 2093;       // kFileCopiedDialogId
inline constexpr int kDeviceFolderCombo = 2085;    // kDeviceFolderDialogId
inline constexpr int kInstallPromptLabel = 3001;

// The map's name on the handheld: the proposal selected, at most 31
// characters. OK with an empty name beeps and puts the proposal back.
class DatabaseNameDialog : public QDialog {
 public:
  DatabaseNameDialog(const DialogTexts& texts, const QString& proposal, QWidget* parent = nullptr);
  QString name() const;
  void accept() override;

 private:
  QString proposal_;
  QLineEdit* edit_ = nullptr;
};

// "HandHeld" and the cards; the preselected entry has the focus.
class TargetChooserDialog : public QDialog {
 public:
  TargetChooserDialog(const DialogTexts& texts, const QStringList& names, int preselected,
                      QWidget* parent = nullptr);
  int chosen() const;

 private:
  QListWidget* list_ = nullptr;
};

// A folder of the device, chosen or typed (at most 255 characters). OK
// with an empty folder selects the first entry, beeps and stays open.
class DeviceFolderDialog : public QDialog {
 public:
  DeviceFolderDialog(const DialogTexts& texts, const QStringList& folders, int selected,
                     QWidget* parent = nullptr);
  QString folder() const;
  void accept() override;

 private:
  QComboBox* combo_ = nullptr;
};

// A message naming the map's file through its "^s"; with Cancel it is a
// question that OK answers yes.
class InstallMessageDialog : public QDialog {
 public:
  InstallMessageDialog(const DialogTexts& texts, int text_control, const QString& file_name,
                       bool with_cancel, QWidget* parent = nullptr);
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_INSTALL_DIALOGS_H_
