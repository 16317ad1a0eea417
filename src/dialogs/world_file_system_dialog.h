#ifndef KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_
#define KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_

// The question before a world file import (dialog 122): the coordinate
// system the file's numbers are in, for the zoned grids their zone, and for
// degrees, UTM and MGA the datum (a scanned sheet may be on NAD27 or ED50).
// It opens on the stored system; the caller decides what OK stores. OK
// with a zone that cannot be read says why and keeps the dialog open.

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

  // The chosen list entry (kNoWorldFileEntry for none), zone text and
  // datum list entry.
  int entry() const;
  std::string zone() const;
  int datum() const;

  void accept() override;

 private:
  void EnableZoneForEntry(int entry);

  DialogTexts texts_;
  QComboBox* systems_;
  QLabel* zone_label_;
  QLineEdit* zone_;
  QLabel* datum_label_;
  QComboBox* datums_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_WORLD_FILE_SYSTEM_DIALOG_H_
