#ifndef KORVALE_VIEWS_SHOWN_DATE_H_
#define KORVALE_VIEWS_SHOWN_DATE_H_

// An entry's creation date as the image list and the previewer show it.

#include <QString>
#include <cstdint>

#include "base/string_table.h"

namespace kv {

// The day of `seconds` (since 1970, shown in local time) in the language's
// date format, with the month names of the default locale, which start-up
// sets to the language's.
QString ShownDateText(const StringTable& strings, std::int64_t seconds);

}  // namespace kv

#endif  // KORVALE_VIEWS_SHOWN_DATE_H_
