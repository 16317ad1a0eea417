#ifndef KORVALE_SHELL_FILE_COMMANDS_H_
#define KORVALE_SHELL_FILE_COMMANDS_H_

// The menu commands that ask for a file: the window asks the user, in the
// document's folders and with its proposed names, and hands the chosen
// path to the document, which itself never opens a chooser.

#include <optional>
#include <string>

#include "shell/file_choosers.h"

class QWidget;

namespace kv {

class CDocument;
struct ShellState;
class UserPrompts;

class FileCommands {
 public:
  FileCommands(QWidget* owner, ShellState& state, UserPrompts& prompts);

  // The result of `command` when it asks for a file; none for the others.
  std::optional<int> Run(CDocument& document, int command);

  // Save asks for a name only while the map has none. Both give -1 when
  // cancelled or failed.
  int Save(CDocument& document);
  int SaveAs(CDocument& document);
  // A source image, imported with the options dialog; -1 when cancelled.
  int ImportImage(CDocument& document, bool reset_calibration);
  // Cancelling the chooser gives 0, refusing the question -1.
  int ExportCalibration(CDocument& document);
  // A world file (with its coordinate system) or a calibration file for
  // the open image; cancelling anything gives 0.
  int ImportCalibrationFile(CDocument& document, bool world_file);
  // May the document be dropped? Its unsaved changes are saved first when
  // the user wants them, under a name chosen here if the map has none.
  bool QueryClose(CDocument& document);

  // The chooser of maps to open, in the folder of the last map.
  std::optional<std::string> ChooseMapToOpen();
  // The chooser of `kind`, starting in `folder`; the chosen path completed
  // with the chooser's extension, or none when cancelled. World and
  // calibration files move the image folder along.
  std::optional<std::string> Choose(ChooserKind kind, const std::string& folder,
                                    const std::string& proposed_name);

 private:
  QWidget* owner_;
  ShellState& state_;
  UserPrompts& prompts_;
};

}  // namespace kv

#endif  // KORVALE_SHELL_FILE_COMMANDS_H_
