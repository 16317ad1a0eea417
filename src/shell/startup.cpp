#include "shell/startup.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/file_size_signal.h"
#include "base/string_table.h"
#include "install/install_back_ends.h"
#include "shell/command_line_answer.h"
#include "shell/device_root_setting.h"
#include "shell/language_choice.h"
#include "shell/language_search.h"
#include "shell/main_window.h"
#include "shell/prefs_binding.h"
#include "shell/qt_language.h"
#include "shell/widget_prompts.h"

namespace kv {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (std::filesystem::path(folder) / name).string();
}

std::string ExistingFile(const std::vector<std::string>& candidates) {
  std::error_code error;
  for (const std::string& path : candidates) {
    if (std::filesystem::is_regular_file(path, error)) return path;
  }
  return {};
}

std::string WithSeparator(const QString& folder) {
  return folder.isEmpty() ? std::string() : folder.toStdString() + "/";
}

std::vector<std::string> LanguageFolders(const StartupEnvironment& environment) {
  return LanguageSearchFolders(environment.program_folder, InstallFolder(environment.registry),
                               Join(environment.data_folder, "lang"));
}

bool LoadLanguage(const StartupEnvironment& environment, UserPrompts& prompts, ShellState* state) {
  const LanguageSetting setting =
      ReadLanguageSetting(environment.registry.language, environment.registry.sub_language);
  const LanguageChoice choice = ChooseLanguage(setting.language, setting.sub_language);
  const std::string name = LanguageFileName(choice.code);
  const LanguageFileSearch found = FindLanguageFile(name, LanguageFolders(environment));
  if (found.path.empty()) {
    prompts.Inform(nullptr, MissingLanguageFileMessage(name, found.error_number),
                   kMissingLanguageCaption, MessageIcon::kWarning);
    return false;
  }
  std::string message;
  if (!LoadLanguageFile(found.path, &state->language, &message)) {
    prompts.Inform(nullptr, message, kMissingLanguageCaption, MessageIcon::kWarning);
    return false;
  }
  state->language_code = choice.code;
  UseQtLanguage(choice.locale);
  return true;
}

// SIGTERM and SIGINT arrive as a readable descriptor instead of
// interrupting the program, and close the window the way the user would.
int BlockTerminationSignals() {
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGINT);
  if (pthread_sigmask(SIG_BLOCK, &blocked, nullptr) != 0) return -1;
  return signalfd(-1, &blocked, SFD_CLOEXEC | SFD_NONBLOCK);
}

void CloseOnSignal(int descriptor, QWidget* window) {
  if (descriptor < 0) return;
  auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [descriptor, window]() {
    signalfd_siginfo info;
    while (read(descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
    window->close();
  });
}

}  // namespace

StartupEnvironment SystemStartupEnvironment(const std::vector<std::string>& arguments) {
  StartupEnvironment environment;
  const std::filesystem::path program =
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
  environment.program_folder = program.string();
  environment.data_folder =
      (program.parent_path() / "share" / "korvale-map-manager").lexically_normal().string();
  environment.registry = ReadInstalledRegistrySettings();
  environment.config_folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  environment.documents_folder =
      WithSeparator(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  if (const QScreen* screen = QApplication::primaryScreen()) {
    environment.desktop = screen->availableGeometry().size();
  }
  const RegistrySettings& registry = environment.registry;
  environment.install = FindInstallLocations(
      registry.install_dir ? registry.install_dir : registry.instl_dir, ProcessEnvironment());
  QSettings user(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                 kSettingsApplication);
  environment.install.chosen_device_root = ReadDeviceRootSetting(user);
  environment.settings_file = user.fileName().toStdString();
  environment.files = arguments;
  return environment;
}

bool PrepareShell(const StartupEnvironment& environment, UserPrompts& prompts, ShellState* state) {
  if (!LoadLanguage(environment, prompts, state)) return false;
  LoadLanguageTexts(state);
  state->prefs_path = Join(environment.config_folder, state->app.caption + ".prefs");
  state->prefs = DefaultPrefsRecord(environment.desktop.width(), environment.desktop.height(),
                                    environment.documents_folder);
  state->prefs_loaded = ReadPrefsFile(state->prefs_path, &state->prefs) != PrefsVersion::kNotLoaded;
  LoadSettingsFromPrefs(state->prefs, &state->app);
  state->guide_path = ExistingFile({Join(environment.program_folder, "guide/index.html"),
                                    Join(environment.data_folder, "guide/index.html")});
  state->install = environment.install;
  state->languages = FindShippedLanguages(LanguageFolders(environment));
  state->settings_file = environment.settings_file;
  InstallBackEnds back_ends(state->install);
  state->handheld_users = HandheldUserNames(back_ends.users);
  return true;
}

int RunDesktopProgram(const StartupEnvironment& environment, UserPrompts& prompts,
                      ShellState* state, int close_signal) {
  if (!PrepareShell(environment, prompts, state)) return kNoLanguageExitCode;
  MainWindow window(*state, prompts);
  CloseOnSignal(close_signal, &window);
  window.ShowAtStartPlacement();
  if (!environment.files.empty()) window.OpenFile(environment.files.front());
  return QApplication::exec();
}

int DesktopMain(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + std::min(argc, 1), argv + argc);
  if (const std::optional<std::string> answer = CommandLineAnswer(arguments, KV_VERSION)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  // A save that reaches the file size limit must fail like a full disk and
  // clean up, not end the program.
  IgnoreFileSizeSignal();
  const int termination = BlockTerminationSignals();
  QApplication application(argc, argv);
  QApplication::setApplicationName("korvale-map-manager");
  QApplication::setApplicationVersion(KV_VERSION);
  QApplication::setWindowIcon(QIcon(":/korvale/icon-90.png"));
  std::vector<std::string> files;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    files.push_back(argument.toStdString());
  }
  const StartupEnvironment environment = SystemStartupEnvironment(files);
  ShellState state;
  WidgetPrompts prompts(state.language);
  const int result = RunDesktopProgram(environment, prompts, &state, termination);
  if (termination >= 0) close(termination);
  return result;
}

}  // namespace kv
