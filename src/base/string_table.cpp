#include "base/string_table.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace kv {

namespace {

constexpr std::uint32_t kMaxStringId = 65535;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string UnescapeLanguageText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 's':
        out += ' ';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += text[i];
    }
  }
  return out;
}

void StringTable::AddLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line.front() == '#') return;
  std::uint32_t id = 0;
  auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), id);
  if (error != std::errc() || id > kMaxStringId) return;
  std::size_t pos = static_cast<std::size_t>(end - line.data());
  if (pos < line.size() && !IsBlank(line[pos])) return;
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  Set(id, UnescapeLanguageText(line.substr(pos)));
}

StringTable StringTable::Parse(std::string_view text) {
  StringTable table;
  bool in_strings = true;
  while (!text.empty()) {
    std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    if (!line.empty() && line.front() == '[') {
      in_strings = line.substr(0, 9) == "[strings]";
    } else if (in_strings) {
      table.AddLine(line);
    }
    if (newline == std::string_view::npos) break;
    text.remove_prefix(newline + 1);
  }
  return table;
}

bool StringTable::LoadFile(const std::string& path, StringTable* table) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return false;
  *table = Parse(contents.str());
  return true;
}

const std::string& StringTable::Get(std::uint32_t id) const {
  static const std::string kEmpty;
  auto it = texts_.find(id);
  return it == texts_.end() ? kEmpty : it->second;
}

std::string LanguageFileName(std::string_view code) {
  return "DARudIdi" + std::string(code) + ".lang";
}

StringTable LoadLanguage(std::string_view code, const std::vector<std::string>& folders) {
  StringTable table;
  for (const std::string& folder : folders) {
    if (StringTable::LoadFile(folder + "/" + LanguageFileName(code), &table)) return table;
  }
  return StringTable::Parse(BuiltInEnglishText());
}

}  // namespace kv
