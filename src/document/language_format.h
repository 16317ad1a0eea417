#ifndef KORVALE_DOCUMENT_LANGUAGE_FORMAT_H_
#define KORVALE_DOCUMENT_LANGUAGE_FORMAT_H_

// Formats texts from the language file that hold printf conversions
// ("%d %s, %s %s"). The file is outside input, so its text is never handed
// to printf: each conversion takes the next argument, already written as
// text, in order.

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Each "%" conversion ("%s", "%d", "%u", "%i", also with flags and a width
// such as "%-5d") is replaced by the next of `arguments`, or by nothing once
// they run out; "%%" gives "%". A "%" that starts no conversion stays as it
// is.
std::string FormatLanguageText(std::string_view format, const std::vector<std::string>& arguments);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_LANGUAGE_FORMAT_H_
