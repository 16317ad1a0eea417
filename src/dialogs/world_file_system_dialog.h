#ifndef KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_
#define KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_

// The question before a world file import (dialog 122): the coordinate
// system the file's numbers are in and, for the zoned grids, their zone.
// It opens on the stored system; the caller decides what OK stores.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "base/language_file.h"
#include "calibration/calibration_import.h"

namespace kv {

class WorldFileSystemDialog : public QDialog {
 public:
  WorldFileSystemDialog(const DialogTexts& texts, const WorldFileSystem& stored,
                        QWidget* parent = nullptr);

  // The chosen list entry (kNoWorldFileEntry for none) and zone text.
  int entry() const;
  std::string zone() const;

 private:
  void EnableZoneForEntry(int entry);

  QComboBox* systems_;
  QLabel* zone_label_;
  QLineEdit* zone_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_
