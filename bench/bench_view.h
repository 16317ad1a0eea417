#ifndef KORVALE_BENCH_BENCH_VIEW_H_
#define KORVALE_BENCH_BENCH_VIEW_H_

// What the image view's benchmarks share: the view sized exactly, and the
// source files written by a child process (so that what writing them
// leaves in the heap does not count as the view's memory) with GDAL.

#include <cpl_string.h>
#include <gdal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QSize>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "views/image_view_pane.h"

namespace kv::bench {

// The pane sized so that its view is exactly `width` x `height`.
inline void SizeView(ImageViewPane& pane, int width, int height) {
  pane.resize(width + 40, height + 60);
  pane.show();
  QApplication::processEvents();
  for (int i = 0; i < 3; ++i) {
    const QSize view = pane.scroll_area()->viewport()->size();
    pane.resize(pane.width() + width - view.width(), pane.height() + height - view.height());
    QApplication::processEvents();
  }
  if (pane.scroll_area()->viewport()->size() != QSize(width, height)) {
    throw std::runtime_error("cannot size the view");
  }
}

// Runs `write` in a child process; false when it failed (its error is
// printed after `program`).
inline bool WriteInChild(const char* program, const std::function<void()>& write) {
  const pid_t writer = fork();
  if (writer == 0) {
    try {
      write();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s: %s\n", program, error.what());
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  return writer > 0 && waitpid(writer, &status, 0) == writer && status == 0;
}

// `source` written as a JPEG of quality 85.
inline void WriteJpegCopy(GDALDatasetH source, const std::string& path) {
  char** options = CSLSetNameValue(nullptr, "QUALITY", "85");
  GDALDatasetH copy = GDALCreateCopy(GDALGetDriverByName("JPEG"), path.c_str(), source, FALSE,
                                     options, nullptr, nullptr);
  CSLDestroy(options);
  if (copy == nullptr) throw std::runtime_error("cannot write " + path);
  GDALClose(copy);
}

}  // namespace kv::bench

#endif  // KORVALE_BENCH_BENCH_VIEW_H_
