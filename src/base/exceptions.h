#ifndef KORVALE_BASE_EXCEPTIONS_H_
#define KORVALE_BASE_EXCEPTIONS_H_

// The exceptions that file, image and conversion code throws. Each carries an
// error code and, where it concerns a file, the file's name.
//
// Building one never allocates: the name is copied into a fixed buffer inside
// the exception (at most kMaxExceptionFileName bytes), so ErrBadAlloc can be
// thrown when memory is gone. Every exception keeps its own name, and in the
// same way an optional reason.

#include <cstddef>
#include <cstdint>
#include <exception>

#include "base/error_codes.h"

namespace kv {

inline constexpr std::size_t kMaxExceptionFileName = 255;
inline constexpr std::size_t kMaxExceptionReason = 127;

class LException : public std::exception {
 public:
  explicit LException(ErrorCode code, const char* file_name = nullptr);

  ErrorCode code() const noexcept { return code_; }
  // Null when no name was given.
  const char* file_name() const noexcept { return has_file_name_ ? file_name_ : nullptr; }
  // A null name clears it; longer names are cut to kMaxExceptionFileName bytes.
  void set_file_name(const char* file_name) noexcept;

  // Why it failed, in words from the layer that found out (for example
  // which rule of a file format was broken); "" when nobody said.
  const char* reason() const noexcept { return reason_; }
  // A null reason clears it; longer ones are cut to kMaxExceptionReason bytes.
  void set_reason(const char* reason) noexcept;
  // A reason in the user's language: language string `text_id`, whose "%s"
  // is `argument` (kept where reason() keeps its text). 0 for a reason given
  // as text.
  std::uint32_t reason_id() const noexcept { return reason_id_; }
  void set_reason(std::uint32_t text_id, const char* argument) noexcept;

  // The operating system's error number (errno) behind the failure, 0 when
  // there is none. The reporter words it in the user's language; the
  // system's own text would be English whatever the user chose.
  int system_error() const noexcept { return system_error_; }
  void set_system_error(int error) noexcept { system_error_ = error; }

  // The file name, or "" when there is none.
  const char* what() const noexcept override { return file_name_; }

 private:
  ErrorCode code_;
  bool has_file_name_ = false;
  char file_name_[kMaxExceptionFileName + 1] = {};
  char reason_[kMaxExceptionReason + 1] = {};
  std::uint32_t reason_id_ = 0;
  int system_error_ = 0;
};

// Common base of the file-related errors, so that code can catch file
// failures separately and attach a name.
class FileException : public LException {
 public:
  using LException::LException;
};

#define KV_DEFINE_EXCEPTION(Name, Base, Code)                                 \
  class Name : public Base {                                                  \
   public:                                                                    \
    explicit Name(const char* file_name = nullptr) : Base(Code, file_name) {} \
  };

KV_DEFINE_EXCEPTION(ErrImageListFull, LException, kErrImageListFull)
KV_DEFINE_EXCEPTION(ErrFileRead, FileException, kErrFileRead)
KV_DEFINE_EXCEPTION(ErrFileWrite, FileException, kErrFileWrite)
KV_DEFINE_EXCEPTION(ErrFileCreate, FileException, kErrFileCreate)
KV_DEFINE_EXCEPTION(ErrFileOpen, FileException, kErrFileOpen)
KV_DEFINE_EXCEPTION(ErrNotOurFile, FileException, kErrNotOurFile)
KV_DEFINE_EXCEPTION(ErrUnknownImageKind, FileException, kErrUnknownImageKind)
KV_DEFINE_EXCEPTION(ErrImageFileCorrupt, FileException, kErrImageFileCorrupt)
KV_DEFINE_EXCEPTION(ErrAlreadyReported, LException, kErrAlreadyReported)
KV_DEFINE_EXCEPTION(ErrImageTooBig, LException, kErrImageTooBig)
KV_DEFINE_EXCEPTION(ErrUnknown, LException, kErrUnknown)
KV_DEFINE_EXCEPTION(ErrBadAlloc, LException, kErrBadAlloc)
KV_DEFINE_EXCEPTION(ErrJPEGDecompressFailed, LException, kErrJPEGDecompressFailed)
KV_DEFINE_EXCEPTION(ErrImageTooSmall, LException, kErrImageTooSmall)
KV_DEFINE_EXCEPTION(ErrCompressionFmtNotSupported, LException, kErrCompressionFmtNotSupported)
KV_DEFINE_EXCEPTION(ErrOffTheEarth, FileException, kErrOffTheEarth)
KV_DEFINE_EXCEPTION(ErrCalibrationMalformed, FileException, kErrCalibrationMalformed)

KV_DEFINE_EXCEPTION(ErrNotAnImage, FileException, kErrNotAnImage)
KV_DEFINE_EXCEPTION(ErrNotACalibrationFile, FileException, kErrNotACalibrationFile)
KV_DEFINE_EXCEPTION(ErrWorldFileRefused, FileException, kErrWorldFileRefused)
KV_DEFINE_EXCEPTION(ErrExportFormat, FileException, kErrExportFormat)

#undef KV_DEFINE_EXCEPTION

// Throws `Error` for `file_name` with the system's error number `error`
// (errno) as its reason.
template <typename Error>
[[noreturn]] void ThrowSystemFailure(const char* file_name, int error) {
  Error failure(file_name);
  failure.set_system_error(error);
  throw failure;
}

}  // namespace kv

#endif  // KORVALE_BASE_EXCEPTIONS_H_
