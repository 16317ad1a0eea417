#include "base/language_file.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kv {

namespace {

constexpr int kMaxResourceId = 65535;

enum class Section { kStrings, kMenu, kAccelerators, kDialog };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Splits "word rest": the first word, and the rest after its white space.
std::string_view TakeWord(std::string_view* text) {
  std::size_t end = 0;
  while (end < text->size() && !IsBlank((*text)[end])) ++end;
  std::string_view word = text->substr(0, end);
  *text = TrimLeft(text->substr(end));
  return word;
}

bool ParseId(std::string_view word, int* id) {
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *id);
  return error == std::errc() && end == word.data() + word.size() && *id >= 0 &&
         *id <= kMaxResourceId;
}

class Parser {
 public:
  explicit Parser(LanguageFile* file) : file_(file) {}

  LanguageFileStatus Line(std::string_view line) {
    if (!line.empty() && line.front() == '[') {
      LanguageFileStatus status = CloseSection();
      return status == LanguageFileStatus::kOk ? OpenSection(TrimRight(line)) : status;
    }
    if (section_ == Section::kStrings) {
      file_->strings.AddLine(line);
      return LanguageFileStatus::kOk;
    }
    line = TrimRight(TrimLeft(line));
    if (line.empty() || line.front() == '#') return LanguageFileStatus::kOk;
    switch (section_) {
      case Section::kMenu:
        return MenuLine(line);
      case Section::kAccelerators:
        return AcceleratorLine(line);
      case Section::kDialog:
        return DialogLine(line);
      case Section::kStrings:
        break;
    }
    return LanguageFileStatus::kOk;
  }

  LanguageFileStatus CloseSection() {
    const bool open_popup = !popups_.empty();
    popups_.clear();
    return open_popup ? LanguageFileStatus::kUnclosedPopup : LanguageFileStatus::kOk;
  }

 private:
  LanguageFileStatus OpenSection(std::string_view header) {
    if (header.size() < 2 || header.back() != ']') return LanguageFileStatus::kUnknownSection;
    std::string_view inside = header.substr(1, header.size() - 2);
    std::string_view kind = TakeWord(&inside);
    if (kind == "strings" && inside.empty()) {
      section_ = Section::kStrings;
      return LanguageFileStatus::kOk;
    }
    if (kind != "menu" && kind != "accelerators" && kind != "dialog") {
      return LanguageFileStatus::kUnknownSection;
    }
    int id = 0;
    if (!ParseId(inside, &id)) return LanguageFileStatus::kBadResourceId;
    bool added = false;
    if (kind == "menu") {
      section_ = Section::kMenu;
      auto [it, inserted] = file_->menus.try_emplace(id);
      menu_ = &it->second;
      added = inserted;
    } else if (kind == "accelerators") {
      section_ = Section::kAccelerators;
      auto [it, inserted] = file_->accelerators.try_emplace(id);
      table_ = &it->second;
      added = inserted;
    } else {
      section_ = Section::kDialog;
      auto [it, inserted] = file_->dialogs.try_emplace(id);
      dialog_ = &it->second;
      added = inserted;
    }
    return added ? LanguageFileStatus::kOk : LanguageFileStatus::kDuplicateSection;
  }

  // Appending only ever happens to the innermost open popup, so the
  // pointers to the outer ones stay valid.
  std::vector<MenuEntry>& OpenEntries() {
    return popups_.empty() ? menu_->entries : popups_.back()->children;
  }

  LanguageFileStatus MenuLine(std::string_view line) {
    std::string_view keyword = TakeWord(&line);
    MenuEntry entry;
    if (keyword == "end" && line.empty()) {
      if (popups_.empty()) return LanguageFileStatus::kStrayEnd;
      popups_.pop_back();
      return LanguageFileStatus::kOk;
    }
    if (keyword == "separator" && line.empty()) {
      entry.kind = MenuEntry::Kind::kSeparator;
      OpenEntries().push_back(std::move(entry));
      return LanguageFileStatus::kOk;
    }
    if (keyword == "popup" && !line.empty()) {
      if (popups_.size() >= static_cast<std::size_t>(kMaxMenuDepth)) {
        return LanguageFileStatus::kTooDeep;
      }
      entry.kind = MenuEntry::Kind::kPopup;
      entry.text = UnescapeLanguageText(line);
      std::vector<MenuEntry>& entries = OpenEntries();
      entries.push_back(std::move(entry));
      popups_.push_back(&entries.back());
      return LanguageFileStatus::kOk;
    }
    if (keyword == "item") {
      if (!ParseId(TakeWord(&line), &entry.command)) return LanguageFileStatus::kBadResourceId;
      if (line.empty()) return LanguageFileStatus::kBadLine;
      entry.text = UnescapeLanguageText(line);
      OpenEntries().push_back(std::move(entry));
      return LanguageFileStatus::kOk;
    }
    return LanguageFileStatus::kBadLine;
  }

  LanguageFileStatus AcceleratorLine(std::string_view line) {
    Accelerator accelerator;
    if (!ParseId(TakeWord(&line), &accelerator.command)) {
      return LanguageFileStatus::kBadResourceId;
    }
    if (line.empty()) return LanguageFileStatus::kBadLine;
    accelerator.keys = std::string(line);
    table_->push_back(std::move(accelerator));
    return LanguageFileStatus::kOk;
  }

  LanguageFileStatus DialogLine(std::string_view line) {
    std::string_view word = TakeWord(&line);
    if (word == "caption") {
      dialog_->caption = UnescapeLanguageText(line);
      return LanguageFileStatus::kOk;
    }
    int control = 0;
    if (!ParseId(word, &control)) return LanguageFileStatus::kBadResourceId;
    dialog_->controls[control] = UnescapeLanguageText(line);
    return LanguageFileStatus::kOk;
  }

  LanguageFile* file_;
  Section section_ = Section::kStrings;
  MenuResource* menu_ = nullptr;
  std::vector<Accelerator>* table_ = nullptr;
  DialogTexts* dialog_ = nullptr;
  std::vector<MenuEntry*> popups_;
};

}  // namespace

const std::string& DialogTexts::Text(int control) const {
  static const std::string kEmpty;
  auto it = controls.find(control);
  return it == controls.end() ? kEmpty : it->second;
}

std::string_view LanguageFileStatusText(LanguageFileStatus status) {
  switch (status) {
    case LanguageFileStatus::kOk:
      return "no error";
    case LanguageFileStatus::kUnknownSection:
      return "unknown section";
    case LanguageFileStatus::kBadResourceId:
      return "identifier is not a number from 0 to 65535";
    case LanguageFileStatus::kDuplicateSection:
      return "section appears twice";
    case LanguageFileStatus::kBadLine:
      return "line not understood";
    case LanguageFileStatus::kUnclosedPopup:
      return "popup without \"end\"";
    case LanguageFileStatus::kStrayEnd:
      return "\"end\" without a popup";
    case LanguageFileStatus::kTooDeep:
      return "popups nested too deeply";
  }
  return "unknown error";
}

LanguageFileStatus LanguageFile::Parse(std::string_view text, LanguageFile* file, int* error_line) {
  Parser parser(file);
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t newline = text.find('\n');
    const LanguageFileStatus status = parser.Line(text.substr(0, newline));
    if (status != LanguageFileStatus::kOk) {
      *error_line = number;
      return status;
    }
    if (newline == std::string_view::npos) break;
    text.remove_prefix(newline + 1);
  }
  const LanguageFileStatus status = parser.CloseSection();
  if (status != LanguageFileStatus::kOk) *error_line = number;
  return status;
}

bool LoadLanguageFile(const std::string& path, LanguageFile* file, std::string* message) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  if (in) contents << in.rdbuf();
  if (!in || in.bad()) {
    const int error = errno;
    *message = path + ": cannot be read";
    if (error != 0) *message += std::string(" (") + std::strerror(error) + ")";
    return false;
  }
  int line = 0;
  const LanguageFileStatus status = LanguageFile::Parse(contents.str(), file, &line);
  if (status == LanguageFileStatus::kOk) return true;
  *message =
      path + ", line " + std::to_string(line) + ": " + std::string(LanguageFileStatusText(status));
  return false;
}

}  // namespace kv
