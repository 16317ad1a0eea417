#ifndef KORVALE_MAP_MAP_FILE_H_
#define KORVALE_MAP_MAP_FILE_H_

// Map databases as files.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_commit_queue.h"
#include "base/replace_file_writer.h"
#include "map/c_image_container.h"
#include "map/map_reader.h"

namespace kv {

// The time a map written now carries: SOURCE_DATE_EPOCH when it is set to a
// number (so the same input gives byte-identical files), else the clock.
std::int64_t MapWriteTime();

// The database name a document gives the map file at `path`: the file name
// without extension, at most 19 bytes.
std::string DatabaseNameFor(const std::string& path);

// Writes the container to `path` without ever destroying a good file: the
// map goes into a new file that replaces the target only once it is
// complete (ReplaceFileWriter). On failure nothing is left behind, the
// target is untouched and the exception names the path. A `commit` given
// takes the complete file and puts it in place itself, perhaps later; what
// becomes of it then is for `commit` to report.
void SaveMapFile(CImageContainer& container, const std::string& path,
                 std::string_view database_name, std::int64_t now,
                 TemporaryFileKind temporary = TemporaryFileKind::kUnnamedWhenPossible,
                 const FileCommitter& commit = {});

// Reads the map at `path` into an empty container; failures name the path.
void LoadMapFile(const std::string& path, CImageContainer& container, ConversionSettings& settings,
                 const CornerTextFormatter& format_corner);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_FILE_H_
