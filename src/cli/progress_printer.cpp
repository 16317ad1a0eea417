#include "cli/progress_printer.h"

#include <unistd.h>

#include <cinttypes>

namespace kv::cli {

ProgressPrinter ProgressPrinter::ForStandardOutput() {
  return ProgressPrinter(stdout, isatty(STDOUT_FILENO) != 0);
}

bool ProgressPrinter::Changed(double fraction) {
  if (!enabled_) return false;
  const int percent = static_cast<int>(fraction * 100);
  if (percent == shown_percent_) return false;
  shown_percent_ = percent;
  return true;
}

void ProgressPrinter::Show(const ConversionProgress& progress) {
  if (!Changed(progress.Fraction())) return;
  std::fprintf(out_, "\r\033[Kconverting: %3d%%, %" PRIu64 " of %" PRIu64 " tiles", shown_percent_,
               progress.tiles_done, progress.tiles_total);
  std::fflush(out_);
}

void ProgressPrinter::ShowMaps(double fraction, std::size_t done, std::size_t total) {
  if (!Changed(fraction)) return;
  std::fprintf(out_, "\r\033[Kconverting: %3d%%, %zu of %zu maps", shown_percent_, done, total);
  std::fflush(out_);
}

void ProgressPrinter::End() {
  if (!enabled_ || shown_percent_ < 0) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  shown_percent_ = -1;
}

}  // namespace kv::cli
