#ifndef KORVALE_MAP_CORNER_TEXT_H_
#define KORVALE_MAP_CORNER_TEXT_H_

#include <string>
#include <string_view>

namespace kv {

// A corner text of a map in the program's own form: the hemisphere letter
// ("N"/"S" for latitudes, "E"/"W" for longitudes), the degrees with two
// (latitude) or three (longitude) digits, then minutes with all six
// decimals, e.g. "N47 30.500000" and "E008 15.000000". Any position text
// the program reads is accepted.
std::string NormaliseCornerText(std::string_view text, bool latitude);

}  // namespace kv

#endif  // KORVALE_MAP_CORNER_TEXT_H_
