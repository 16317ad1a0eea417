#ifndef KORVALE_CLI_PROGRESS_PRINTER_H_
#define KORVALE_CLI_PROGRESS_PRINTER_H_

// How far a conversion is, on one line of a terminal that is redrawn in
// place and cleared at the end. Silent when the output is not a terminal,
// so that scripts see only the summary.

#include <cstddef>
#include <cstdio>

#include "bitmap/conversion_progress.h"

namespace kv::cli {

class ProgressPrinter {
 public:
  // Prints to `out` when `terminal`.
  ProgressPrinter(std::FILE* out, bool terminal) : out_(out), enabled_(terminal) {}
  // Standard output, when it is a terminal.
  static ProgressPrinter ForStandardOutput();

  // Redraws the line when the whole percent has changed.
  void Show(const ConversionProgress& progress);
  // The same line for a batch: maps instead of tiles.
  void ShowMaps(double fraction, std::size_t done, std::size_t total);
  // Clears the line if one was drawn.
  void End();

 private:
  // False when the line already shows `fraction`'s whole percent.
  bool Changed(double fraction);

  std::FILE* out_;
  bool enabled_;
  int shown_percent_ = -1;
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_PROGRESS_PRINTER_H_
