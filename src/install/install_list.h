#ifndef KORVALE_INSTALL_INSTALL_LIST_H_
#define KORVALE_INSTALL_INSTALL_LIST_H_

// J-Pilot's list of files to install at the next synchronisation
// (~/.jpilot/jpilot_to_install): one path a line. Lines may end in "\r\n";
// a last line may lack its newline.

#include <string>
#include <string_view>

namespace kv {

bool InstallListContains(std::string_view text, std::string_view path);
// The list with `path` as its last line.
std::string InstallListWith(std::string_view text, std::string_view path);
// The list without any line that is `path`; other lines stay as they were.
std::string InstallListWithout(std::string_view text, std::string_view path);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_LIST_H_
