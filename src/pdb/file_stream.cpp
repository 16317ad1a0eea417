#include "pdb/file_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace kv {

std::unique_ptr<FileStream> FileStream::Open(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return nullptr;
  // A folder opens for reading here, and then every read fails: that is a
  // file that cannot be opened, not one that cannot be read.
  struct stat status;
  if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  std::unique_ptr<FileStream> stream(new (std::nothrow) FileStream(file, true));
  if (!stream) std::fclose(file);
  return stream;
}

std::unique_ptr<FileStream> FileStream::Borrow(std::FILE* file) {
  if (file == nullptr) return nullptr;
  return std::unique_ptr<FileStream>(new (std::nothrow) FileStream(file, false));
}

FileStream::~FileStream() {
  if (file_ != nullptr && owned_) std::fclose(file_);
}

bool FileStream::Seek(std::uint64_t offset) {
  if (file_ == nullptr || offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
    return false;
  }
  return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

bool FileStream::Tell(std::uint64_t* offset) {
  if (file_ == nullptr) return false;
  long position = std::ftell(file_);
  if (position < 0) return false;
  *offset = static_cast<std::uint64_t>(position);
  return true;
}

bool FileStream::Length(std::uint64_t* length) {
  std::uint64_t here = 0;
  if (!Tell(&here) || std::fseek(file_, 0, SEEK_END) != 0) return false;
  long end = std::ftell(file_);
  if (end < 0 || !Seek(here)) return false;
  *length = static_cast<std::uint64_t>(end);
  return true;
}

std::size_t FileStream::Read(void* dst, std::size_t count) {
  if (file_ == nullptr) return 0;
  return std::fread(dst, 1, count, file_);
}

std::size_t FileStream::Write(const void* src, std::size_t count) {
  if (file_ == nullptr) return 0;
  return std::fwrite(src, 1, count, file_);
}

bool FileStream::Flush() { return file_ != nullptr && std::fflush(file_) == 0; }

bool FileStream::Sync() { return Flush() && fsync(fileno(file_)) == 0; }

bool FileStream::Close() {
  if (file_ == nullptr) return false;
  bool ok = owned_ ? std::fclose(file_) == 0 : std::fflush(file_) == 0;
  file_ = nullptr;
  return ok;
}

}  // namespace kv
