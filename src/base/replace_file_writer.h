#ifndef KORVALE_BASE_REPLACE_FILE_WRITER_H_
#define KORVALE_BASE_REPLACE_FILE_WRITER_H_

// Writing a file that replaces its target only once it is complete, the way
// a save must: a failure at any point (a full disk, the file size limit, a
// killed process) leaves the old target as it was and no stray file beside
// it.
//
// The new file is written without a name (O_TMPFILE) where the file system
// allows it and linked into place at Commit; a process that dies before
// then leaves nothing. Elsewhere it is a named temporary file beside the
// target, renamed over it at Commit. A target that is a symbolic link is
// followed, so the link stays and the file it points to is replaced. A
// replaced file's permission bits carry over to the new one. Devices and
// pipes (/dev/null, a FIFO) cannot be replaced and are written directly.
//
// Statuses are errno values, 0 for success; nothing here throws.

#include <cstdio>
#include <string>
#include <string_view>

namespace kv {

enum class TemporaryFileKind {
  kUnnamedWhenPossible,
  kNamed,  // always the named fallback; lets tests reach it
};

class ReplaceFileWriter {
 public:
  explicit ReplaceFileWriter(TemporaryFileKind kind = TemporaryFileKind::kUnnamedWhenPossible)
      : kind_(kind) {}
  // Discards a file that was not committed.
  ~ReplaceFileWriter();
  ReplaceFileWriter(const ReplaceFileWriter&) = delete;
  ReplaceFileWriter& operator=(const ReplaceFileWriter&) = delete;

  // Starts the new file for `target`; its folder must exist. On failure
  // nothing was created.
  int Begin(const std::string& target);

  // The new file, open for writing (and for reading, unless it is a device
  // or pipe); null before Begin and after Commit or Discard. The writer
  // closes it.
  std::FILE* file() const { return file_; }

  // Flushes, puts the file on the disk and gives it the target's name. On
  // failure the new file is gone and the target is as it was.
  // REQUIRES: Begin succeeded.
  int Commit();

  // Drops the new file; the target stays as it was.
  void Discard();

  // True while the new file has no name (tests ask which road was taken).
  bool unnamed() const { return file_ != nullptr && !direct_ && temp_path_.empty(); }

 private:
  int OpenDirect(const std::string& target);
  int OpenTemporary(int* fd);
  int GiveName();

  TemporaryFileKind kind_;
  std::string target_;     // with symbolic links followed
  std::string temp_path_;  // the named temporary file, if any
  bool target_existed_ = false;
  bool direct_ = false;
  std::FILE* file_ = nullptr;
};

// Replaces `target` with exactly `bytes` through a ReplaceFileWriter.
int ReplaceFileContents(const std::string& target, std::string_view bytes,
                        TemporaryFileKind kind = TemporaryFileKind::kUnnamedWhenPossible);

}  // namespace kv

#endif  // KORVALE_BASE_REPLACE_FILE_WRITER_H_
