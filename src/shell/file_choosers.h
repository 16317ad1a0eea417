#ifndef KORVALE_SHELL_FILE_CHOOSERS_H_
#define KORVALE_SHELL_FILE_CHOOSERS_H_

// The program's five file choosers: their titles and filters from the
// language strings, and what happens to the chosen name.

#include <string>
#include <utility>
#include <vector>

#include "base/string_table.h"

namespace kv {

enum class ChooserKind {
  kOpenImage,
  kOpenMap,
  kOpenWorldFile,
  kOpenCalibrationFile,
  kSaveMap,
  kSaveCalibration,
};

inline constexpr int kOpenNameLimit = 259;
inline constexpr int kSaveNameLimit = 255;

struct FileFilter {
  std::string description;
  std::string patterns;  // "*.bmp;*.jpg"
};

struct FileChooser {
  ChooserKind kind = ChooserKind::kOpenImage;
  bool save = false;
  std::string title;
  std::vector<FileFilter> filters;  // the first is preselected
  // Appended to a saved name that does not end in it (any case).
  std::string required_extension;
  // The longest name the user can type.
  int name_limit = kOpenNameLimit;
};

FileChooser MakeFileChooser(ChooserKind kind, const StringTable& strings);

// The name the save chooser shows: a calibration file's proposal gets the
// extension ".kvm" in place of its own.
std::string ProposedChooserName(const FileChooser& chooser, const std::string& proposed);
// The chosen path with the chooser's required extension appended when it
// lacks it.
std::string CompleteChosenPath(const FileChooser& chooser, const std::string& path);

// Filters in Qt's form: "Images (*.bmp *.jpg);;All files (*)".
std::string QtFilterText(const std::vector<FileFilter>& filters);

}  // namespace kv

#endif  // KORVALE_SHELL_FILE_CHOOSERS_H_
