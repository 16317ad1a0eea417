#include "calibration/import_line_reader.h"

namespace kv {

std::vector<std::string> SplitImportLines(std::string_view data) {
  data = data.substr(0, data.find('\0'));
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\n' || c == '\r') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else if (c != '\a' && c != '\b') {
      line.push_back(c);
      pending = true;
    }
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> SplitImportFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ',' || c == '*')) {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::string_view();
  const std::size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

}  // namespace kv
