#ifndef KORVALE_BASE_FILE_EXTENSION_H_
#define KORVALE_BASE_FILE_EXTENSION_H_

// The extension of a file name: what follows the last dot of the path's
// last component. A dot in a folder's name is no extension; a name that
// begins with its only dot (".kvm") has the rest of the name as one.

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// Where the extension's dot stands in `path`; npos when the file name has
// no dot.
std::size_t FileExtensionDot(std::string_view path);

// The extension without its dot, as written; empty without one.
std::string_view FileExtension(std::string_view path);

// The extension without its dot, lower-cased (ASCII letters only); empty
// without one.
std::string LowerFileExtension(std::string_view path);

// The path without the extension and its dot; the path itself without one.
std::string_view PathWithoutExtension(std::string_view path);

// Whether the extension is `extension` (without its dot), in any case.
bool HasFileExtension(std::string_view path, std::string_view extension);

}  // namespace kv

#endif  // KORVALE_BASE_FILE_EXTENSION_H_
