#ifndef KORVALE_DIALOGS_ABOUT_DIALOG_H_
#define KORVALE_DIALOGS_ABOUT_DIALOG_H_

// About (kAboutDialogId): the program's name and version, what it does and who
// made it, in the language file's words; OK or Cancel ends it.

#include <QDialog>

#include "base/language_file.h"

namespace kv {

class AboutDialog : public QDialog {
 public:
  AboutDialog(const DialogTexts& texts, const QString& version, QWidget* parent = nullptr);
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_ABOUT_DIALOG_H_
