#ifndef KORVALE_DIALOGS_CONVERSION_OPTIONS_PLACEHOLDER_H_
#define KORVALE_DIALOGS_CONVERSION_OPTIONS_PLACEHOLDER_H_

// Stand-in for the conversion options (dialog 114) until the real dialog
// arrives: the map name only; depth, compression and scale stay as they are.

#include <QDialog>
#include <QLineEdit>
#include <string>

#include "base/language_file.h"

namespace kv {

class ConversionOptionsPlaceholder : public QDialog {
 public:
  ConversionOptionsPlaceholder(const DialogTexts& texts, const std::string& map_name,
                               QWidget* parent = nullptr);
  std::string map_name() const;

 private:
  QLineEdit* name_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CONVERSION_OPTIONS_PLACEHOLDER_H_
