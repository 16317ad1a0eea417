#include "shell/language_search.h"

#include <cerrno>
#include <cstdio>

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

std::string MissingLanguageFileMessage(const std::string& file_name, long error_number) {
  return file_name + " not found. Please re-install the software and try again.\nError code: " +
         std::to_string(error_number);
}

}  // namespace kv
