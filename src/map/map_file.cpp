#include "map/map_file.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/exceptions.h"
#include "map/map_writer.h"
#include "pdb/file_stream.h"

namespace kv {

namespace {

// A new file beside `path`, opened exclusively so that no other file is
// ever overwritten; null when none could be created.
std::unique_ptr<FileStream> CreateTemporaryBeside(const std::string& path, std::string* temp_path) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    *temp_path = path + ".kvtmp" + std::to_string(random() % 1000000);
    if (auto file = FileStream::Open(*temp_path, "w+bx")) return file;
  }
  return nullptr;
}

// Removes the temporary file unless it was moved into place.
struct TemporaryFile {
  std::string path;
  bool committed = false;
  ~TemporaryFile() {
    if (!committed) std::remove(path.c_str());
  }
};

}  // namespace

std::int64_t MapWriteTime() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    std::int64_t seconds = 0;
    const char* end = epoch + std::char_traits<char>::length(epoch);
    auto [stop, error] = std::from_chars(epoch, end, seconds);
    if (error == std::errc() && stop == end && seconds > 0) return seconds;
  }
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string DatabaseNameFor(const std::string& path) {
  constexpr std::size_t kMaxDocumentDatabaseName = 19;
  return std::filesystem::path(path).stem().string().substr(0, kMaxDocumentDatabaseName);
}

void SaveMapFile(CImageContainer& container, const std::string& path,
                 std::string_view database_name, std::int64_t now) {
  TemporaryFile temp;
  std::unique_ptr<FileStream> file = CreateTemporaryBeside(path, &temp.path);
  if (!file) throw ErrFileCreate(path.c_str());
  try {
    WriteMapDatabase(container, *file, database_name, now);
  } catch (LException& error) {
    error.set_file_name(path.c_str());
    throw;
  }
  if (!file->Sync() || !file->Close()) throw ErrFileWrite(path.c_str());
  std::error_code rename_error;
  std::filesystem::rename(temp.path, path, rename_error);
  if (rename_error) throw ErrFileWrite(path.c_str());
  temp.committed = true;
}

void LoadMapFile(const std::string& path, CImageContainer& container, ConversionSettings& settings,
                 const CornerTextFormatter& format_corner) {
  std::unique_ptr<FileStream> file = FileStream::Open(path, "rb");
  if (!file) throw ErrFileOpen(path.c_str());
  try {
    ReadMapDatabase(*file, container, settings, format_corner);
  } catch (FileException& error) {
    error.set_file_name(path.c_str());
    throw;
  }
}

}  // namespace kv
