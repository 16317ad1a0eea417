#ifndef KORVALE_TESTS_SHELL_SCRIPTED_PROMPTS_H_
#define KORVALE_TESTS_SHELL_SCRIPTED_PROMPTS_H_

// Prompts that answer from a script and remember what they were asked, so
// that window tests never block on a modal dialog.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/user_prompts.h"

namespace kv {

class ScriptedPrompts final : public UserPrompts {
 public:
  std::deque<Answer> answers;                    // empty: No
  std::deque<std::optional<std::string>> files;  // empty: cancelled

  std::vector<Question> questions;
  std::vector<std::string> informed;  // caption + "|" + text
  std::vector<ErrorBox> errors;
  std::vector<FileChooser> choosers;
  std::vector<std::string> chooser_folders;  // where each chooser started
  std::vector<std::string> proposed_names;
  int world_systems_asked = 0;
  bool cancel_world_system = false;
  int conversion_options_shown = 0;
  int about_shown = 0;
  std::vector<std::string> guides_opened;
  bool guide_opens = true;

  Answer Ask(QWidget*, const Question& question) override {
    questions.push_back(question);
    if (answers.empty()) return Answer::kNo;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Inform(QWidget*, const std::string& text, const std::string& caption, MessageIcon) override {
    informed.push_back(caption + "|" + text);
  }
  void ShowError(const ErrorBox& box) override { errors.push_back(box); }
  std::optional<std::string> ChooseFile(QWidget*, const FileChooser& chooser,
                                        const std::string& folder,
                                        const std::string& proposed_name) override {
    choosers.push_back(chooser);
    chooser_folders.push_back(folder);
    proposed_names.push_back(proposed_name);
    if (files.empty()) return std::nullopt;
    std::optional<std::string> file = files.front();
    files.pop_front();
    return file;
  }
  bool RunConversionOptions(QWidget*, const ImportSource&, std::string*,
                            ConversionSettings*) override {
    ++conversion_options_shown;
    return true;
  }
  std::optional<WorldFileSystem> ChooseWorldFileSystem(QWidget*,
                                                       const WorldFileSystem& stored) override {
    ++world_systems_asked;
    if (cancel_world_system) return std::nullopt;
    return stored;
  }
  void ShowAbout(QWidget*) override { ++about_shown; }
  bool OpenGuide(const std::string& path) override {
    guides_opened.push_back(path);
    return guide_opens;
  }
};

}  // namespace kv

#endif  // KORVALE_TESTS_SHELL_SCRIPTED_PROMPTS_H_
