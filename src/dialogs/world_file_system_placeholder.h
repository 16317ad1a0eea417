#ifndef KORVALE_DIALOGS_WORLD_FILE_SYSTEM_PLACEHOLDER_H_
#define KORVALE_DIALOGS_WORLD_FILE_SYSTEM_PLACEHOLDER_H_

// Stand-in for the world file's coordinate system question (dialog 122)
// until the real list arrives: OK keeps the stored system, Cancel stops the
// import.

#include <QDialog>

#include "base/language_file.h"

namespace kv {

class WorldFileSystemPlaceholder : public QDialog {
 public:
  explicit WorldFileSystemPlaceholder(const DialogTexts& texts, QWidget* parent = nullptr);
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_WORLD_FILE_SYSTEM_PLACEHOLDER_H_
