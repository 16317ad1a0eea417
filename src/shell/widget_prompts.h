#ifndef KORVALE_SHELL_WIDGET_PROMPTS_H_
#define KORVALE_SHELL_WIDGET_PROMPTS_H_

// The prompts as windows: message boxes, the platform's file dialogs, the
// program's dialogs, and the desktop's viewer for the guide.

#include "base/language_file.h"
#include "shell/user_prompts.h"

namespace kv {

class WidgetPrompts final : public UserPrompts {
 public:
  explicit WidgetPrompts(const LanguageFile& language) : language_(language) {}

  Answer Ask(QWidget* owner, const Question& question) override;
  void Warn(QWidget* owner, const std::string& text, const std::string& caption) override;
  void Inform(QWidget* owner, const std::string& text, const std::string& caption,
              MessageIcon icon) override;
  void ShowError(const ErrorBox& box) override;
  std::optional<std::string> ChooseFile(QWidget* owner, const FileChooser& chooser,
                                        const std::string& folder,
                                        const std::string& proposed_name) override;
  bool RunConversionOptions(QWidget* owner, const ImportSource& source, std::string* map_name,
                            ConversionSettings* settings) override;
  std::optional<WorldFileSystem> ChooseWorldFileSystem(QWidget* owner,
                                                       const WorldFileSystem& stored) override;
  void ShowAbout(QWidget* owner) override;
  bool OpenGuide(const std::string& path) override;

 private:
  const DialogTexts& Dialog(int id) const;

  const LanguageFile& language_;
};

}  // namespace kv

#endif  // KORVALE_SHELL_WIDGET_PROMPTS_H_
