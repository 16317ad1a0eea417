#ifndef KORVALE_INSTALL_FILE_NAME_TEXT_H_
#define KORVALE_INSTALL_FILE_NAME_TEXT_H_

// The install messages name the map's file where their text has "^" and
// the character after it ("^s"): that pair becomes the file name. Only the
// first pair is replaced; a text without "^" stays as it is.

#include <string>
#include <string_view>

namespace kv {

std::string WithFileName(std::string_view text, std::string_view file_name);

}  // namespace kv

#endif  // KORVALE_INSTALL_FILE_NAME_TEXT_H_
