#include "shell/file_choosers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/string_ids.h"
#include "calibration/calibration_export.h"

namespace kv {

namespace {

FileFilter Filter(const StringTable& strings, std::uint32_t description, std::uint32_t patterns) {
  return {strings.Get(description), strings.Get(patterns)};
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

FileChooser MakeFileChooser(ChooserKind kind, const StringTable& strings) {
  FileChooser chooser;
  chooser.kind = kind;
  const FileFilter all = Filter(strings, kAllDescription, kAllPatterns);
  switch (kind) {
    case ChooserKind::kOpenImage:
      chooser.title = strings.Get(kOpenImageTitle);
      chooser.filters = {Filter(strings, kEverythingDescription, kEverythingPatterns),
                         Filter(strings, kImagesDescription, kImagesPatterns),
                         Filter(strings, kCalibrationDescription, kCalibrationPatterns), all};
      break;
    case ChooserKind::kOpenMap:
      chooser.title = strings.Get(kOpenMapTitle);
      chooser.filters = {Filter(strings, kMapsDescription, kMapsPatterns), all};
      break;
    case ChooserKind::kOpenWorldFile:
    case ChooserKind::kOpenCalibrationFile:
      chooser.title =
          kind == ChooserKind::kOpenWorldFile ? "Select World File" : "Select Calibration File";
      chooser.filters = {all};
      break;
    case ChooserKind::kSaveMap:
      chooser.save = true;
      chooser.title = strings.Get(kSaveTitle);
      chooser.filters = {Filter(strings, kMapsDescription, kMapsPatterns), all};
      chooser.required_extension = ".prc";
      chooser.name_limit = kSaveNameLimit;
      break;
    case ChooserKind::kSaveCalibration:
      chooser.save = true;
      chooser.title = strings.Get(kSaveTitle);
      chooser.filters = {Filter(strings, kKvmFilesDescription, kKvmFilesPatterns),
                         Filter(strings, kOziMapFilesDescription, kOziMapFilesPatterns),
                         Filter(strings, kWorldFilesDescription, kWorldFilesPatterns), all};
      chooser.required_extension = ".kvm";
      chooser.name_limit = kSaveNameLimit;
      break;
  }
  return chooser;
}

std::string ProposedChooserName(const FileChooser& chooser, const std::string& proposed) {
  if (chooser.kind != ChooserKind::kSaveCalibration || proposed.empty()) return proposed;
  return std::filesystem::path(proposed).replace_extension(".kvm").string();
}

std::string CompleteChosenPath(const FileChooser& chooser, const std::string& path) {
  if (chooser.required_extension.empty() ||
      EndsWithIgnoringCase(path, chooser.required_extension)) {
    return path;
  }
  // A calibration goes out in the format its name asks for; only a name
  // that asks for none becomes a ".kvm".
  if (chooser.kind == ChooserKind::kSaveCalibration &&
      ExportFormatOf(path) != CalibrationExportFormat::kKvm) {
    return path;
  }
  return path + chooser.required_extension;
}

std::string QtFilterText(const std::vector<FileFilter>& filters) {
  std::string text;
  for (const FileFilter& filter : filters) {
    if (!text.empty()) text += ";;";
    std::string patterns = filter.patterns;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    // "*.*" would skip files without an extension.
    if (patterns == "*.*") patterns = "*";
    // Qt reads the patterns from the last parentheses; a description that
    // shows its own keeps them.
    if (!filter.description.empty() && filter.description.back() == ')') {
      text += filter.description;
    } else {
      text += filter.description + " (" + patterns + ")";
    }
  }
  return text;
}

}  // namespace kv
