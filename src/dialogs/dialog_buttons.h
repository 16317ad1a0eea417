#ifndef KORVALE_DIALOGS_DIALOG_BUTTONS_H_
#define KORVALE_DIALOGS_DIALOG_BUTTONS_H_

// The row of OK and Cancel buttons every dialog ends with, labelled from
// the dialog's texts in the language file and wired to accept and reject.

#include <QDialog>
#include <QDialogButtonBox>

#include "base/language_file.h"

namespace kv {

// `buttons` is QDialogButtonBox::Ok, optionally with Cancel.
QDialogButtonBox* MakeDialogButtons(const DialogTexts& texts,
                                    QDialogButtonBox::StandardButtons buttons, QDialog* dialog);

}  // namespace kv

#endif  // KORVALE_DIALOGS_DIALOG_BUTTONS_H_
