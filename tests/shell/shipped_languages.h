#ifndef KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_
#define KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_

// The language files in the source tree (KV_LANG_DIR), as the program
// ships them.

#include <QDir>
#include <QStringList>
#include <QtGlobal>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/language_file.h"
#include "shell/shell_state.h"

namespace kv {

inline QString ShippedLanguageFolder() {
  const char* folder = std::getenv("KV_LANG_DIR");
  return folder != nullptr ? QString::fromUtf8(folder) : QString();
}

inline QStringList ShippedLanguageFiles() {
  QStringList paths;
  const QDir folder(ShippedLanguageFolder());
  for (const QString& name : folder.entryList({"DARudIdi*.lang"}, QDir::Files, QDir::Name)) {
    paths << folder.filePath(name);
  }
  return paths;
}

// A shipped language by its code ("EN", "DE"); a test cannot go on without it.
inline LanguageFile LoadShippedLanguage(const QString& code) {
  LanguageFile language;
  std::string message;
  const QString path = QDir(ShippedLanguageFolder()).filePath("DARudIdi" + code + ".lang");
  if (!LoadLanguageFile(path.toStdString(), &language, &message)) qFatal("%s", message.c_str());
  return language;
}

inline LanguageFile ShippedEnglish() { return LoadShippedLanguage("EN"); }

// What start-up leaves for the window when the user's language is English.
inline std::unique_ptr<ShellState> EnglishShellState() {
  auto state = std::make_unique<ShellState>();
  state->language = ShippedEnglish();
  LoadLanguageTexts(state.get());
  return state;
}

}  // namespace kv

#endif  // KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_
