#include "map/map_file.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "base/exceptions.h"
#include "base/replace_file_writer.h"
#include "map/map_text.h"
#include "map/map_writer.h"
#include "pdb/file_stream.h"

namespace kv {

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
  return CutToStoredLength(std::filesystem::path(path).stem().string(), kMaxDocumentDatabaseName);
}

void SaveMapFile(CImageContainer& container, const std::string& path,
                 std::string_view database_name, std::int64_t now, TemporaryFileKind temporary,
                 const FileCommitter& commit) {
  auto writer = std::make_unique<ReplaceFileWriter>(temporary);
  if (const int error = writer->Begin(path); error != 0)
    ThrowSystemFailure<ErrFileCreate>(path.c_str(), error);
  std::unique_ptr<FileStream> file = FileStream::Borrow(writer->file());
  if (!file) throw ErrBadAlloc();
  try {
    WriteMapDatabase(container, *file, database_name, now);
  } catch (LException& error) {
    error.set_file_name(path.c_str());
    throw;
  }
  // The stream only borrows the writer's file; it goes before the writer
  // is handed on, which may be to another thread.
  file.reset();
  if (const int error = CommitFile(commit, std::move(writer)); error != 0)
    ThrowSystemFailure<ErrFileWrite>(path.c_str(), error);
}

void LoadMapFile(const std::string& path, CImageContainer& container, ConversionSettings& settings,
                 const CornerTextFormatter& format_corner) {
  errno = 0;
  std::unique_ptr<FileStream> file = FileStream::Open(path, "rb");
  if (!file) ThrowSystemFailure<ErrFileOpen>(path.c_str(), errno);
  try {
    ReadMapDatabase(*file, container, settings, format_corner);
  } catch (FileException& error) {
    error.set_file_name(path.c_str());
    throw;
  } catch (LException& error) {
    // A full container or a bitmap that cannot be read is still this map's
    // fault; say which map.
    const char* name = error.file_name();
    if (name == nullptr || *name == '\0') error.set_file_name(path.c_str());
    throw;
  }
}

}  // namespace kv
