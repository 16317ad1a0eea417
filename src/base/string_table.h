#ifndef KORVALE_BASE_STRING_TABLE_H_
#define KORVALE_BASE_STRING_TABLE_H_

// The texts of the user interface, by numeric ID, from a language file.
//
// A language file ("DARudIdi" + two-letter code + ".lang") is UTF-8 text, one
// string a line: the decimal ID, white space, then the text to the end of
// the line. Escapes: \n newline, \t tab, \s space (for leading or trailing
// spaces), \\ backslash. Lines starting with "#" and blank lines are skipped,
// as are lines without a valid ID (0 to 65535). A later line for the same ID
// replaces an earlier one. A line starting with "[" opens a section of
// language_file.h; only "[strings]" holds strings, the others are skipped
// here.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

class StringTable {
 public:
  static StringTable Parse(std::string_view text);
  // One line of the strings syntax; lines it does not understand are
  // skipped.
  void AddLine(std::string_view line);
  // False when the file cannot be read; `table` is then unchanged.
  static bool LoadFile(const std::string& path, StringTable* table);

  // The text of `id`, or an empty text when the table has none.
  const std::string& Get(std::uint32_t id) const;
  bool Contains(std::uint32_t id) const { return texts_.count(id) != 0; }
  std::size_t size() const { return texts_.size(); }

  void Set(std::uint32_t id, std::string text) { texts_[id] = std::move(text); }

 private:
  std::unordered_map<std::uint32_t, std::string> texts_;
};

// The text with its escapes (\n, \t, \s, \\) resolved; an unknown escape
// stays as written.
std::string UnescapeLanguageText(std::string_view text);

// "DARudIdi" + code + ".lang", e.g. "DARudIdiEN.lang".
std::string LanguageFileName(std::string_view code);

// The English texts built into the program, used when no language file is
// found.
std::string_view BuiltInEnglishText();

// Loads the language file of `code` from the first folder that has it; falls
// back to the built-in English texts.
StringTable LoadLanguage(std::string_view code, const std::vector<std::string>& folders);

}  // namespace kv

#endif  // KORVALE_BASE_STRING_TABLE_H_
