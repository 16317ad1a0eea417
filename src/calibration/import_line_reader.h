#ifndef KORVALE_CALIBRATION_IMPORT_LINE_READER_H_
#define KORVALE_CALIBRATION_IMPORT_LINE_READER_H_

// The line and field splitting shared by the readers of other programs'
// calibration files.

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Lines end at LF, CR or CR LF; BEL and BS characters are dropped (some
// writers leave them in); a NUL ends the text. A last line without
// terminator counts when it is not empty.
std::vector<std::string> SplitImportLines(std::string_view data);

// Fields of a comma-separated line: "," or "*" separate, text inside double
// quotes is one field without its quotes.
std::vector<std::string> SplitImportFields(std::string_view line);

// Without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view text);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORT_LINE_READER_H_
