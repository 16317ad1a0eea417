#ifndef KORVALE_SHELL_USER_PROMPTS_H_
#define KORVALE_SHELL_USER_PROMPTS_H_

// Everything that waits for the user or leaves the program: message boxes,
// file choosers, the modal dialogs and the guide's viewer. The program shows
// windows; tests answer from a script.

#include <optional>
#include <string>

#include "base/error_display.h"
#include "bitmap/conversion_context.h"
#include "calibration/calibration_import.h"
#include "document/document_ui.h"
#include "shell/file_choosers.h"

class QWidget;

namespace kv {

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  virtual Answer Ask(QWidget* owner, const Question& question) = 0;
  virtual void Inform(QWidget* owner, const std::string& text, const std::string& caption,
                      MessageIcon icon) = 0;
  // A warning that needs no answer and must not hold up the work that
  // raised it (no calibration found, an unknown datum): shown beside the
  // window, not in a nested event loop.
  virtual void Warn(QWidget* owner, const std::string& text, const std::string& caption) {
    Inform(owner, text, caption, MessageIcon::kWarning);
  }
  // The error box: no owner, the language's caption for errors.
  virtual void ShowError(const ErrorBox& box) = 0;
  // A whole path, or none when cancelled.
  virtual std::optional<std::string> ChooseFile(QWidget* owner, const FileChooser& chooser,
                                                const std::string& folder,
                                                const std::string& proposed_name) = 0;
  // The options dialog, with the map they would make of `source`.
  virtual bool RunConversionOptions(QWidget* owner, const ImportSource& source,
                                    std::string* map_name, ConversionSettings* settings) = 0;
  virtual std::optional<WorldFileSystem> ChooseWorldFileSystem(QWidget* owner,
                                                               const WorldFileSystem& stored) = 0;
  virtual void ShowAbout(QWidget* owner) = 0;
  // Opens the user guide with the desktop's viewer; false when it cannot.
  virtual bool OpenGuide(const std::string& path) = 0;
};

}  // namespace kv

#endif  // KORVALE_SHELL_USER_PROMPTS_H_
