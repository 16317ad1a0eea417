#ifndef KORVALE_BASE_SAME_FILE_H_
#define KORVALE_BASE_SAME_FILE_H_

// Whether a file about to be written is one the program reads. Paths are
// not compared as text: "a.bmp", "./a.bmp", a hard link and a symbolic link
// all name the same file, which only its device and inode tell.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

// What an input is to its user, as the refusal names it: "source image".
struct InputFile {
  std::string path;
  std::string_view role;
};

inline constexpr std::string_view kSourceImageRole = "source image";
inline constexpr std::string_view kCalibrationFileRole = "calibration file";
inline constexpr std::string_view kMapRole = "map";

// True when both paths reach one existing file once symbolic links are
// followed. A path that does not exist is the same as nothing.
bool IsSameFile(const std::string& a, const std::string& b);

// The first of `inputs` that `output` would overwrite; none when writing
// `output` destroys none of them.
std::optional<InputFile> InputOverwrittenBy(const std::string& output,
                                            std::span<const InputFile> inputs);

// "out.prc is the same file as the source image a.bmp; ...", naming both.
std::string OverwritesInputMessage(std::string_view output, const InputFile& input);

}  // namespace kv

#endif  // KORVALE_BASE_SAME_FILE_H_
