#include "document/input_overwrite.h"

namespace kv {

void RefuseToOverwriteInput(const std::string& output, std::span<const InputFile> inputs) {
  if (const std::optional<InputFile> input = InputOverwrittenBy(output, inputs)) {
    throw InputOverwriteError(OverwritesInputMessage(output, *input));
  }
}

}  // namespace kv
