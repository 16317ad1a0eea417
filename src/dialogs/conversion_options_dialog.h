#ifndef KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_
#define KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_

// The conversion options asked before an import (kConversionOptionsDialogId): the map's
// name, the scale, the colour depth and compression. It shows the fields it
// is given and hands back what the user set; the caller stores them.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "base/language_file.h"
#include "document/conversion_options_model.h"

namespace kv {

class ConversionOptionsDialog : public QDialog {
 public:
  // `strings` holds the depth list's texts.
  ConversionOptionsDialog(const DialogTexts& texts, const StringTable& strings,
                          const ConversionOptionsFields& fields, QWidget* parent = nullptr);

  ConversionOptionsFields fields() const;

 private:
  QLineEdit* name_;
  QComboBox* scale_;
  QComboBox* depth_;
  QCheckBox* compress_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CONVERSION_OPTIONS_DIALOG_H_
