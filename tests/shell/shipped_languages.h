#ifndef KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_
#define KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_

// The language files in the source tree (KV_LANG_DIR), as the program
// ships them.

#include <QDir>
#include <QStringList>
#include <cstdlib>
#include <string>

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

}  // namespace kv

#endif  // KORVALE_TESTS_SHELL_SHIPPED_LANGUAGES_H_
