#ifndef KORVALE_BASE_LANGUAGE_FILE_H_
#define KORVALE_BASE_LANGUAGE_FILE_H_

// A whole language file: its strings, its menus, its accelerator tables and
// the texts of its dialogs, each by numeric resource ID.
//
// Strings come first, in the string syntax of string_table.h. A line
// "[menu 101]", "[accelerators 103]", "[dialog 110]" or "[strings]" starts a
// section that lasts until the next one. Inside menus, accelerators and
// dialogs, leading white space is ignored, lines starting with "#" are
// comments, and texts take the same escapes as strings:
//
//   [menu 101]                    [accelerators 103]    [dialog 110]
//   popup &File                   40001 Ctrl+O          caption About
//     item 40001 &Open...         40042 F1              1 OK
//     separator                                         3001 Version %s
//     popup &Install on handheld
//       item 0 (no users)         (item 0 is a placeholder that does nothing)
//     end
//   end
//
// Keys are written as portable key sequences ("Ctrl+Shift+S", "F1", "Del").

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/string_table.h"

namespace kv {

struct MenuEntry {
  enum class Kind { kItem, kSeparator, kPopup };
  Kind kind = Kind::kItem;
  // An item's command; 0 for a placeholder item.
  int command = 0;
  std::string text;
  std::vector<MenuEntry> children;  // a popup's entries
};

struct MenuResource {
  std::vector<MenuEntry> entries;  // the menu bar's entries, usually popups
};

struct Accelerator {
  int command = 0;
  std::string keys;
};

struct DialogTexts {
  std::string caption;
  std::map<int, std::string> controls;

  // The control's text, or an empty text.
  const std::string& Text(int control) const;
  bool Contains(int control) const { return controls.count(control) != 0; }
};

enum class LanguageFileStatus {
  kOk,
  kUnknownSection,    // "[...]" that names no known section
  kBadResourceId,     // a section or line ID that is not a number from 0 to 65535
  kDuplicateSection,  // the same menu, table or dialog twice
  kBadLine,           // a line the section does not understand
  kUnclosedPopup,     // a menu ends inside a popup
  kStrayEnd,          // "end" without an open popup
  kTooDeep,           // popups nested deeper than kMaxMenuDepth
};

inline constexpr int kMaxMenuDepth = 8;

// What went wrong, in English, for the message that names the file.
std::string_view LanguageFileStatusText(LanguageFileStatus status);

struct LanguageFile {
  StringTable strings;
  std::map<int, MenuResource> menus;
  std::map<int, std::vector<Accelerator>> accelerators;
  std::map<int, DialogTexts> dialogs;

  // kOk, or the first problem and its 1-based line in `*error_line`;
  // `*file` is then incomplete.
  static LanguageFileStatus Parse(std::string_view text, LanguageFile* file, int* error_line);
};

// Reads and parses the file at `path`. On failure `*message` says why, with
// the path (and the line when the text is at fault), and false comes back.
bool LoadLanguageFile(const std::string& path, LanguageFile* file, std::string* message);

}  // namespace kv

#endif  // KORVALE_BASE_LANGUAGE_FILE_H_
