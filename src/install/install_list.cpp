#include "install/install_list.h"

#include <functional>

namespace kv {

namespace {

// Calls `visit` with each line (without its end) and the line with its end.
void ForEachLine(std::string_view text,
                 const std::function<void(std::string_view line, std::string_view whole)>& visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line, text.substr(start, next - start));
    start = next;
  }
}

}  // namespace

bool InstallListContains(std::string_view text, std::string_view path) {
  bool found = false;
  ForEachLine(text, [&](std::string_view line, std::string_view) { found |= line == path; });
  return found;
}

std::string InstallListWith(std::string_view text, std::string_view path) {
  std::string list(text);
  if (!list.empty() && list.back() != '\n') list += '\n';
  list += path;
  list += '\n';
  return list;
}

std::string InstallListWithout(std::string_view text, std::string_view path) {
  std::string list;
  ForEachLine(text, [&](std::string_view line, std::string_view whole) {
    if (line != path) list += whole;
  });
  return list;
}

}  // namespace kv
