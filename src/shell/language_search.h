#ifndef KORVALE_SHELL_LANGUAGE_SEARCH_H_
#define KORVALE_SHELL_LANGUAGE_SEARCH_H_

// Where the desktop program finds its language file, and what it says when
// there is none.

#include <string>
#include <vector>

namespace kv {

// The folders in search order: beside the program, the handheld product's
// install folder, then the installed data folder. Empty folders are left
// out.
std::vector<std::string> LanguageSearchFolders(const std::string& program_folder,
                                               const std::string& install_folder,
                                               const std::string& data_folder);

struct LanguageFileSearch {
  std::string path;  // empty when no folder has the file
  // The error number of the last failed attempt (ENOENT when the file is
  // simply missing).
  int error_number = 0;
};

// The first readable `file_name` in `folders`.
LanguageFileSearch FindLanguageFile(const std::string& file_name,
                                    const std::vector<std::string>& folders);

// "<file> not found. Please re-install the software and try again.
//  Error code: <n>"
std::string MissingLanguageFileMessage(const std::string& file_name, long error_number);

// A language the program can switch to: its file, found where start-up
// looks, and the texts that offer it, each in that language itself.
struct ShippedLanguage {
  std::string code;  // "DE"
  std::string path;
  std::string name;  // "Deutsch"; the code when the file has no name
  // "%s" takes the name: the switch waits for the next start.
  std::string next_start_note;
};

// Every language file in `folders` whose code a language has, once each
// (the first folder that has it, as start-up would take it), by code.
// Files that do not load are left out: start-up would refuse them.
std::vector<ShippedLanguage> FindShippedLanguages(const std::vector<std::string>& folders);

// The caption of that message, the program's own name because no language
// is loaded yet.
inline constexpr const char* kMissingLanguageCaption = "Korvale Map Manager";

}  // namespace kv

#endif  // KORVALE_SHELL_LANGUAGE_SEARCH_H_
