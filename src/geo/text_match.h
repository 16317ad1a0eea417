#ifndef KORVALE_GEO_TEXT_MATCH_H_
#define KORVALE_GEO_TEXT_MATCH_H_

// Name comparison for the coordinate tables. Names are matched without
// regard to the case of ASCII letters; other bytes (the UTF-8 "º" of the
// German grid names) must match exactly.

#include <string_view>

namespace kv {

bool EqualsIgnoreCase(std::string_view left, std::string_view right);

}  // namespace kv

#endif  // KORVALE_GEO_TEXT_MATCH_H_
