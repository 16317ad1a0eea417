#ifndef KORVALE_CLI_LANGUAGE_FOLDERS_H_
#define KORVALE_CLI_LANGUAGE_FOLDERS_H_

#include <string>
#include <vector>

namespace kv::cli {

// Where kvmap looks for language files: $KVMAP_LANG_DIR, then "lang" beside
// the program, then <prefix>/share/korvale-map-manager/lang, the folder the
// desktop program reads too. The built-in English texts
// serve when none has one.
std::vector<std::string> LanguageFolders(const char* program_path);

}  // namespace kv::cli

#endif  // KORVALE_CLI_LANGUAGE_FOLDERS_H_
