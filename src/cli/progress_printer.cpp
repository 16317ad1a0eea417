#include "cli/progress_printer.h"

#include <unistd.h>

#include <cinttypes>

namespace kv::cli {

ProgressPrinter ProgressPrinter::ForStandardOutput() {
  return ProgressPrinter(stdout, isatty(STDOUT_FILENO) != 0);
}

void ProgressPrinter::Show(const ConversionProgress& progress) {
  if (!enabled_) return;
  const int percent = static_cast<int>(progress.Fraction() * 100);
  if (percent == shown_percent_) return;
  shown_percent_ = percent;
  std::fprintf(out_, "\r\033[Kconverting: %3d%%, %" PRIu64 " of %" PRIu64 " tiles", percent,
               progress.tiles_done, progress.tiles_total);
  std::fflush(out_);
}

void ProgressPrinter::End() {
  if (!enabled_ || shown_percent_ < 0) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  shown_percent_ = -1;
}

}  // namespace kv::cli
