#include "cli/progress_printer.h"

#include <unistd.h>

#include <cstdio>

namespace kv::cli {

ProgressPrinter::ProgressPrinter() : enabled_(isatty(STDERR_FILENO) != 0) {}

ProgressPrinter::~ProgressPrinter() {
  if (enabled_ && added_ != 0) std::fputs("\r\033[K", stderr);
}

void ProgressPrinter::ImageAdded(CImage&) {
  ++added_;
  // Every few images is enough to show that work goes on.
  if (enabled_ && (added_ % 16 == 1)) std::fprintf(stderr, "\rconverting: %zu images", added_);
}

}  // namespace kv::cli
