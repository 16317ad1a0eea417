#ifndef KORVALE_PDB_FILE_STREAM_H_
#define KORVALE_PDB_FILE_STREAM_H_

#include <cstdio>
#include <memory>
#include <string>

#include "pdb/stream.h"

namespace kv {

// A buffered C file as a Stream.
class FileStream final : public Stream {
 public:
  // Opens `path` with an fopen mode ("rb", "w+b", "r+b"); null, with errno
  // set, when the file cannot be opened. A folder cannot (EISDIR).
  static std::unique_ptr<FileStream> Open(const std::string& path, const char* mode);
  // A stream over a file that its opener keeps and closes; Close() only
  // flushes it.
  static std::unique_ptr<FileStream> Borrow(std::FILE* file);

  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  bool Seek(std::uint64_t offset) override;
  bool Tell(std::uint64_t* offset) override;
  bool Length(std::uint64_t* length) override;
  std::size_t Read(void* dst, std::size_t count) override;
  std::size_t Write(const void* src, std::size_t count) override;
  bool Flush() override;

  // Flushes and asks the system to put the file on the disk, so that a file
  // renamed into place afterwards is complete even after a crash.
  bool Sync();

  // Closes the file; false when the final write-out failed. Further calls on
  // a closed stream fail.
  bool Close();

 private:
  FileStream(std::FILE* file, bool owned) : file_(file), owned_(owned) {}

  std::FILE* file_;
  bool owned_;
};

}  // namespace kv

#endif  // KORVALE_PDB_FILE_STREAM_H_
