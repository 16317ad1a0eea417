#ifndef KORVALE_DOCUMENT_INPUT_OVERWRITE_H_
#define KORVALE_DOCUMENT_INPUT_OVERWRITE_H_

// Refusing to write over a file the work was made from: a map saved over
// its source image, a calibration exported over the file it was imported
// from, a picture rendered over its map.

#include <span>
#include <stdexcept>
#include <string>

#include "base/same_file.h"

namespace kv {

// Not one of the program's coded errors: its text names both files, which
// a message table entry with one file name cannot. Command handlers report
// it as a standard exception, with their context, in one error box.
class InputOverwriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws InputOverwriteError when writing `output` would destroy one of
// `inputs`; call it before any work starts.
void RefuseToOverwriteInput(const std::string& output, std::span<const InputFile> inputs);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_INPUT_OVERWRITE_H_
