#ifndef KORVALE_DIALOGS_IMAGE_PROPERTIES_DIALOG_H_
#define KORVALE_DIALOGS_IMAGE_PROPERTIES_DIALOG_H_

// Image Properties (kImagePropertiesDialogId): one row per property, the values
// selectable so that they can be copied, and OK.

#include <QDialog>
#include <vector>

#include "base/language_file.h"
#include "dialogs/image_properties.h"

namespace kv {

class ImagePropertiesDialog : public QDialog {
 public:
  ImagePropertiesDialog(const DialogTexts& texts, const std::vector<PropertyRow>& rows,
                        QWidget* parent = nullptr);
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_IMAGE_PROPERTIES_DIALOG_H_
