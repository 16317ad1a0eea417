#include "shell/language_search.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/language_file.h"
#include "base/string_ids.h"
#include "document/document_texts.h"
#include "shell/language_choice.h"

namespace kv {

std::vector<std::string> LanguageSearchFolders(const std::string& program_folder,
                                               const std::string& install_folder,
                                               const std::string& data_folder) {
  std::vector<std::string> folders;
  for (const std::string* folder : {&program_folder, &install_folder, &data_folder}) {
    if (!folder->empty()) folders.push_back(*folder);
  }
  return folders;
}

LanguageFileSearch FindLanguageFile(const std::string& file_name,
                                    const std::vector<std::string>& folders) {
  LanguageFileSearch search;
  search.error_number = ENOENT;
  for (const std::string& folder : folders) {
    const std::string path = folder.back() == '/' ? folder + file_name : folder + "/" + file_name;
    errno = 0;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
      std::fclose(file);
      search.path = path;
      search.error_number = 0;
      return search;
    }
    search.error_number = errno != 0 ? errno : ENOENT;
  }
  return search;
}

namespace {

// "DARudIdiDE.lang" gives "DE"; other names give nothing.
std::string CodeOfFileName(const std::string& file_name) {
  const std::string prefix = "DARudIdi";
  const std::string suffix = ".lang";
  if (file_name.size() != prefix.size() + 2 + suffix.size()) return {};
  if (file_name.compare(0, prefix.size(), prefix) != 0) return {};
  if (file_name.compare(prefix.size() + 2, suffix.size(), suffix) != 0) return {};
  std::string code = file_name.substr(prefix.size(), 2);
  return LanguageSettingForCode(code) ? code : std::string();
}

bool Offered(const std::vector<ShippedLanguage>& languages, const std::string& code) {
  return std::any_of(languages.begin(), languages.end(),
                     [&code](const ShippedLanguage& language) { return language.code == code; });
}

}  // namespace

std::vector<ShippedLanguage> FindShippedLanguages(const std::vector<std::string>& folders) {
  std::vector<ShippedLanguage> languages;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string code = CodeOfFileName(entry.path().filename().string());
      if (code.empty() || Offered(languages, code)) continue;
      LanguageFile file;
      std::string ignored;
      if (!LoadLanguageFile(entry.path().string(), &file, &ignored)) continue;
      const std::string& name = file.strings.Get(kLanguageNameId);
      languages.push_back({code, entry.path().string(), name.empty() ? code : name,
                           DocumentText(file.strings, kNextStartNoteId)});
    }
  }
  std::sort(languages.begin(), languages.end(),
            [](const ShippedLanguage& a, const ShippedLanguage& b) { return a.code < b.code; });
  return languages;
}

std::string MissingLanguageFileMessage(const std::string& file_name, long error_number) {
  return file_name + " not found. Please re-install the software and try again.\nError code: " +
         std::to_string(error_number);
}

}  // namespace kv
