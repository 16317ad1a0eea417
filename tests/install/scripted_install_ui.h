#ifndef KORVALE_TESTS_INSTALL_SCRIPTED_INSTALL_UI_H_
#define KORVALE_TESTS_INSTALL_SCRIPTED_INSTALL_UI_H_

// An InstallUi that answers from a script and records what it was asked
// and shown.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "install/install_ui.h"

namespace kv::testing {

struct ScriptedInstallUi final : InstallUi {
  // Answers.
  std::optional<std::string> name = std::string("Alps");
  // None: the preselected target.
  std::optional<std::size_t> target;
  bool cancel_target = false;
  std::optional<std::string> folder;  // none: the selected folder
  bool cancel_folder = false;
  std::vector<bool> replace_answers;  // one per question; missing: yes
  // Called with each progress report of a copy; its result is passed on.
  std::function<int(std::int64_t done, std::int64_t total)> on_progress;

  // What happened.
  std::vector<std::string> name_proposals;
  std::vector<std::string> target_names;
  std::size_t preselected = 0;
  std::vector<std::string> offered_folders;
  std::vector<std::string> copied_paths;
  std::vector<std::string> replace_questions;
  std::vector<std::string> installed;
  std::vector<std::string> errors;  // "context: message"
  std::vector<ErrorCode> failure_codes;
  std::vector<std::string> failure_files;

  std::optional<std::string> AskDatabaseName(InstallPath, const std::string& proposal) override {
    name_proposals.push_back(proposal);
    return name;
  }
  std::optional<std::size_t> ChooseTarget(const std::vector<std::string>& names,
                                          std::size_t selected) override {
    target_names = names;
    preselected = selected;
    if (cancel_target) return std::nullopt;
    return target.value_or(selected);
  }
  std::optional<std::string> ChooseDeviceFolder(const std::vector<std::string>& folders,
                                                std::size_t selected) override {
    offered_folders = folders;
    if (cancel_folder) return std::nullopt;
    if (folder) return folder;
    return folders.at(selected);
  }
  int RunCopy(const std::string& local_path, const CopyRun& copy) override {
    copied_paths.push_back(local_path);
    return copy([this](std::int64_t done, std::int64_t total) {
      return on_progress ? on_progress(done, total) : 0;
    });
  }
  bool ConfirmReplace(InstallPath, const std::string& file_name) override {
    const std::size_t asked = replace_questions.size();
    replace_questions.push_back(file_name);
    return asked < replace_answers.size() ? bool(replace_answers[asked]) : true;
  }
  void ShowInstalled(InstallPath, const std::string& file_name) override {
    installed.push_back(file_name);
  }
  void ShowInstallError(std::uint32_t context_id, const std::string& message) override {
    errors.push_back(std::to_string(context_id) + ": " + message);
  }
  void ReportInstallFailure(std::uint32_t context_id, ErrorCode code,
                            const std::string& file_name) override {
    errors.push_back(std::to_string(context_id) + ": code");
    failure_codes.push_back(code);
    failure_files.push_back(file_name);
  }
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_INSTALL_SCRIPTED_INSTALL_UI_H_
