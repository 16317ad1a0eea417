// kvmap install: the desktop program's installs without dialogs. The map
// is re-opened as a document and installed through the document's own
// commands; the command line answers every question the dialogs would ask.

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/document_session.h"
#include "document/command_ids.h"
#include "document/document.h"
#include "install/device_install.h"
#include "install/handheld_user_list.h"
#include "install/install_back_ends.h"
#include "install/install_locations.h"
#include "install/mounted_device.h"
#include "install/palm_install.h"

namespace kv::cli {

namespace {

struct InstallOptions {
  std::string map;
  std::string user;
  std::string card = kMainMemoryTargetName;
  std::string folder = kDefaultDeviceFolders[0];
  bool replace = false;
  std::string root;
};

// Answers from the command line. What it cannot answer (a card the user
// does not have, a file it may not replace) becomes `refusal`.
class CliInstallUi final : public InstallUi {
 public:
  CliInstallUi(CliContext& context, const InstallOptions& options)
      : context_(context), options_(options) {}

  std::optional<std::string> refusal;

  std::optional<std::string> AskDatabaseName(InstallPath, const std::string& proposal) override {
    return proposal;
  }
  std::optional<std::size_t> ChooseTarget(const std::vector<std::string>& names,
                                          std::size_t) override {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == options_.card) {
        target_ = names[i];
        return i;
      }
    }
    std::string known;
    for (const std::string& name : names) known += (known.empty() ? "" : ", ") + name;
    refusal = "handheld user " + options_.user + " has no card named \"" + options_.card +
              "\" (it has: " + known + ")";
    return std::nullopt;
  }
  std::optional<std::string> ChooseDeviceFolder(const std::vector<std::string>&,
                                                std::size_t) override {
    return options_.folder;
  }
  int RunCopy(const std::string&, const CopyRun& copy) override {
    return copy([](std::int64_t, std::int64_t) { return 0; });
  }
  bool ConfirmReplace(InstallPath path, const std::string& file_name) override {
    if (options_.replace) return true;
    refusal = path == InstallPath::kPalm ? file_name + " is already queued for " + Destination() +
                                               "; --replace replaces it"
                                         : file_name + " already exists in " + options_.folder +
                                               " on the device; --replace replaces it";
    return false;
  }
  void ShowInstalled(InstallPath path, const std::string&) override {
    std::cout << options_.map << ": "
              << (path == InstallPath::kPalm ? "queued for " + Destination()
                                             : "copied to " + options_.folder)
              << "\n";
  }
  void ShowInstallError(std::uint32_t context_id, const std::string& message) override {
    context_.reporter.ShowErrorBox(context_.strings.Get(context_id), message);
  }
  void ReportInstallFailure(std::uint32_t context_id, ErrorCode code,
                            const std::string& file_name) override {
    // A folder listing failure (no file name) is of no interest here: the
    // folder comes from the command line, and the copy reports the same
    // failure when it matters.
    if (file_name.empty()) return;
    context_.reporter.ReportError(context_.strings.Get(context_id), code, file_name.c_str());
    std::cerr << "kvmap: " << options_.map << " was not copied"
              << (code == kErrHandheldLink
                      ? ": no device root (give --root or set KORVALE_DEVICE_ROOT) or it is not "
                        "mounted"
                      : "")
              << "\n";
  }

 private:
  std::string Destination() const { return options_.user + ", " + target_; }

  CliContext& context_;
  const InstallOptions& options_;
  std::string target_;
};

InstallLocations Locations(const InstallOptions& options, bool device) {
  InstallLocations locations = FindInstallLocations(std::nullopt, ProcessEnvironment());
  if (!options.root.empty()) {
    if (device) {
      locations.device_root = options.root;
    } else {
      locations.handheld_data_folder = options.root;
    }
  }
  return locations;
}

int ListUsers(const InstallOptions& options) {
  const InstallLocations locations = Locations(options, false);
  HandheldUserList users(locations.handheld_data_folder, locations.home);
  const int count = users.UserCount();
  for (int i = 0; i < count; ++i) {
    std::cout << users.UserName(i).value_or(std::string()) << "\n";
    for (const InstallTarget& target : BuildInstallTargets(users, i, {})) {
      std::cout << "  " << target.name << "\n";
    }
  }
  if (count == 0) {
    std::cout << "no handheld users in "
              << (locations.handheld_data_folder.empty() ? std::string("(no handheld data folder)")
                                                         : locations.handheld_data_folder)
              << "\n";
  }
  return 0;
}

int Install(CliContext& context, const InstallOptions& options, bool device) {
  const InstallLocations locations = Locations(options, device);
  HandheldUserList users(locations.handheld_data_folder, locations.home);
  MountedDevice link(locations.device_root);
  if (!device) {
    if (HandheldUserIndex(users, options.user) < 0) {
      std::cerr << "kvmap: no handheld user named \"" << options.user << "\" in "
                << locations.handheld_data_folder << " ('kvmap install users' lists them)\n";
      return 1;
    }
  }
  DocumentSession session(context);
  CDocument* document = session.OpenMap(options.map);
  if (document == nullptr) return 1;
  CliInstallUi ui(context, options);
  InstallMemory memory;
  InstallContext installer{users, link, ui, context.strings, memory};
  document->SetInstaller(&installer, {options.user});
  const int result = device ? document->CopyToPocketPc() : document->InstallToHandheldUser(0);
  if (ui.refusal) {
    std::cerr << "kvmap: " << *ui.refusal << "\n";
    return 1;
  }
  return result == 0 ? 0 : 1;
}

}  // namespace

void AddInstallCommand(CLI::App& app, CliContext& context, int* exit_code) {
  CLI::App* command = app.add_subcommand(
      "install", "Queue a map for a handheld user's next synchronisation, or copy it to a device");
  command->require_subcommand(1);
  auto options = std::make_shared<InstallOptions>();

  CLI::App* users = command->add_subcommand("users", "List the handheld users and their cards");
  users->add_option("--root", options->root, "Handheld data folder to use");
  users->callback([exit_code, options]() { *exit_code = ListUsers(*options); });

  CLI::App* palm = command->add_subcommand("palm", "Queue a map for a handheld user");
  palm->add_option("MAP", options->map, "Map database (.prc)")->required();
  palm->add_option("--user", options->user, "Handheld user")->required();
  palm->add_option("--card", options->card, "Expansion card (default: the handheld itself)");
  palm->add_flag("--replace", options->replace, "Replace a queued map of the same name");
  palm->add_option("--root", options->root, "Handheld data folder to use");
  palm->callback(
      [&context, exit_code, options]() { *exit_code = Install(context, *options, false); });

  CLI::App* device = command->add_subcommand("device", "Copy a map into a folder of a device");
  device->add_option("MAP", options->map, "Map database (.prc)")->required();
  device->add_option("--folder", options->folder,
                     "Folder in the device's form (default: \\My Documents\\Korvale)");
  device->add_flag("--replace", options->replace, "Replace a map of the same name");
  device->add_option("--root", options->root, "Device root (default: $KORVALE_DEVICE_ROOT)");
  device->callback(
      [&context, exit_code, options]() { *exit_code = Install(context, *options, true); });
}

}  // namespace kv::cli
