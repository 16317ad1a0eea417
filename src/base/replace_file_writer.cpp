#include "base/replace_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

namespace kv {

namespace {

namespace fs = std::filesystem;

// As many hops as the kernel follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;
constexpr int kTemporaryNameAttempts = 16;
constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;
// New files get what the umask leaves of this, like any other program's.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

int LastError() { return errno != 0 ? errno : EIO; }

// The file a chain of symbolic links ends at, which need not exist yet.
int FollowLinks(const std::string& path, std::string* resolved) {
  fs::path current(path);
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      *resolved = current.string();
      return 0;
    }
    std::error_code error;
    const fs::path next = fs::read_symlink(current, error);
    if (error) return error.value();
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return ELOOP;
}

std::string FolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

std::string TemporaryNameFor(const std::string& target) {
  std::random_device random;
  return target + ".kvtmp" + std::to_string(random() % 1000000);
}

// O_TMPFILE needs the file system's support, and naming the file later
// needs /proc to reach it by descriptor.
int OpenUnnamed(const std::string& folder) {
  if (::access("/proc/self/fd", X_OK) != 0) return -1;
  return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kNewFileMode);
}

std::string DescriptorPath(std::FILE* file) {
  return "/proc/self/fd/" + std::to_string(::fileno(file));
}

// Makes a rename survive a crash; a folder that cannot be synced costs only
// that guarantee.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReplaceFileWriter::~ReplaceFileWriter() { Discard(); }

int ReplaceFileWriter::Begin(const std::string& target) {
  Discard();
  struct stat existing {};
  target_existed_ = ::stat(target.c_str(), &existing) == 0;
  if (target_existed_ && S_ISDIR(existing.st_mode)) return EISDIR;
  // Opened by the name given: the kernel's own links (/dev/stdout to a
  // pipe) lead nowhere a path can follow.
  if (target_existed_ && !S_ISREG(existing.st_mode)) return OpenDirect(target);
  if (const int error = FollowLinks(target, &target_); error != 0) return error;

  int fd = -1;
  if (const int error = OpenTemporary(&fd); error != 0) return error;
  if (target_existed_ && ::fchmod(fd, existing.st_mode & kPermissionBits) != 0) {
    const int error = LastError();
    ::close(fd);
    Discard();
    return error;
  }
  file_ = ::fdopen(fd, "w+b");
  if (file_ == nullptr) {
    const int error = LastError();
    ::close(fd);
    Discard();
    return error;
  }
  return 0;
}

int ReplaceFileWriter::OpenDirect(const std::string& target) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return LastError();
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    const int error = LastError();
    ::close(fd);
    return error;
  }
  direct_ = true;
  return 0;
}

int ReplaceFileWriter::OpenTemporary(int* fd) {
  if (kind_ == TemporaryFileKind::kUnnamedWhenPossible) {
    *fd = OpenUnnamed(FolderOf(target_));
    if (*fd >= 0) return 0;
  }
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temp_path_ = TemporaryNameFor(target_);
    // Exclusive, so that no other file is ever overwritten.
    *fd = ::open(temp_path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (*fd >= 0) return 0;
    if (errno != EEXIST) break;
  }
  const int error = LastError();
  temp_path_.clear();
  return error;
}

int ReplaceFileWriter::Commit() {
  if (file_ == nullptr) return EBADF;
  errno = 0;
  if (std::fflush(file_) != 0 || (!direct_ && ::fsync(::fileno(file_)) != 0)) {
    const int error = LastError();
    Discard();
    return error;
  }
  if (direct_) {
    const int error = std::fclose(file_) == 0 ? 0 : LastError();
    file_ = nullptr;
    direct_ = false;
    return error;
  }
  if (const int error = GiveName(); error != 0) {
    Discard();
    return error;
  }
  // Everything is on the disk and in place; closing cannot lose it.
  std::fclose(file_);
  file_ = nullptr;
  temp_path_.clear();
  SyncFolder(FolderOf(target_));
  return 0;
}

// Moves the complete file to the target's name.
int ReplaceFileWriter::GiveName() {
  if (!temp_path_.empty()) {
    return ::rename(temp_path_.c_str(), target_.c_str()) == 0 ? 0 : LastError();
  }
  const std::string descriptor = DescriptorPath(file_);
  if (!target_existed_) {
    // Fails rather than overwrite a file that appeared in the meantime.
    if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return 0;
    }
    if (errno != EEXIST) return LastError();
  }
  // A name of its own first, since link() cannot replace a file.
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string name = TemporaryNameFor(target_);
    if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp_path_ = name;
      return ::rename(temp_path_.c_str(), target_.c_str()) == 0 ? 0 : LastError();
    }
    if (errno != EEXIST) break;
  }
  return LastError();
}

void ReplaceFileWriter::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  temp_path_.clear();
  direct_ = false;
}

int ReplaceFileContents(const std::string& target, std::string_view bytes, TemporaryFileKind kind) {
  ReplaceFileWriter writer(kind);
  if (const int error = writer.Begin(target); error != 0) return error;
  errno = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), writer.file()) != bytes.size()) {
    return LastError();
  }
  return writer.Commit();
}

}  // namespace kv
