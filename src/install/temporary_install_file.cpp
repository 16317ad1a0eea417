#include "install/temporary_install_file.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "base/exceptions.h"

namespace kv {

namespace {

// $TMPDIR, else /tmp. A TMPDIR that is no folder is an error to report,
// not a reason to write elsewhere.
std::filesystem::path TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return (folder != nullptr && *folder != '\0') ? folder : "/tmp";
}

}  // namespace

TemporaryInstallFile::TemporaryInstallFile(const std::string& file_name) {
  std::string pattern = (TemporaryFolder() / "korvale-install-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    const int error = errno;
    path_ = (std::filesystem::path(pattern).parent_path() / file_name).string();
    ThrowSystemFailure<ErrFileCreate>(path_.c_str(), error);
  }
  folder_ = pattern;
  path_ = (folder_ / file_name).string();
  std::FILE* file = std::fopen(path_.c_str(), "wb+");
  if (file == nullptr) {
    const int system_error = errno;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    ThrowSystemFailure<ErrFileCreate>(path_.c_str(), system_error);
  }
  std::fclose(file);
}

TemporaryInstallFile::~TemporaryInstallFile() {
  std::error_code error;
  std::filesystem::remove_all(folder_, error);
}

}  // namespace kv
