#ifndef KORVALE_INSTALL_TEMPORARY_INSTALL_FILE_H_
#define KORVALE_INSTALL_TEMPORARY_INSTALL_FILE_H_

// The map written for one install, in a folder of its own under the
// system's temporary folder, so that its name is the name the handheld
// gets without touching any other file. It goes, with its folder, when the
// object does: on success, on cancel and on every failure.

#include <filesystem>
#include <string>

namespace kv {

class TemporaryInstallFile {
 public:
  // Creates the folder and an empty file named `file_name` in it for
  // binary writing; throws ErrFileCreate with the path on failure.
  explicit TemporaryInstallFile(const std::string& file_name);
  ~TemporaryInstallFile();
  TemporaryInstallFile(const TemporaryInstallFile&) = delete;
  TemporaryInstallFile& operator=(const TemporaryInstallFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_TEMPORARY_INSTALL_FILE_H_
