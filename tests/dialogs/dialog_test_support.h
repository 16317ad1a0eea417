#ifndef KORVALE_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_
#define KORVALE_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_

// What the dialog tests share: the shipped English texts, and pictures of
// the dialogs for the eye when KV_SCREENSHOT_DIR names a folder.

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "base/language_file.h"
#include "shell/shipped_languages.h"
#include "views/image_view_pane.h"

namespace kv {

// The window once its image views have drawn all in sight: they decode on a
// worker, so a grab straight after a change may catch them half drawn.
inline QPixmap GrabWhenDrawn(QWidget* window) {
  constexpr int kPatienceMs = 10000;
  // The pane has no meta-object of its own, so findChildren<ImageViewPane*>
  // would hand back every widget.
  for (const QWidget* child : window->findChildren<QWidget*>()) {
    const auto* pane = dynamic_cast<const ImageViewPane*>(child);
    if (pane == nullptr) continue;
    // A pane still decoding after that is grabbed as it is.
    static_cast<void>(QTest::qWaitFor([pane]() { return pane->picture_complete(); }, kPatienceMs));
  }
  return window->grab();
}

inline void SaveScreenshot(QWidget* widget, const QString& name) {
  const char* folder = std::getenv("KV_SCREENSHOT_DIR");
  if (folder == nullptr) return;
  GrabWhenDrawn(widget).save(QDir(QString::fromUtf8(folder)).filePath(name));
}

// The dialog drawn over its window, centred, as the user sees them.
inline void SaveScreenshotOver(QWidget* window, QWidget* dialog, const QString& name) {
  const char* folder = std::getenv("KV_SCREENSHOT_DIR");
  if (folder == nullptr) return;
  QPixmap shot = GrabWhenDrawn(window);
  const QPixmap over = dialog->grab();
  QPainter painter(&shot);
  painter.drawPixmap((shot.width() - over.width()) / 2, (shot.height() - over.height()) / 2, over);
  painter.end();
  shot.save(QDir(QString::fromUtf8(folder)).filePath(name));
}

}  // namespace kv

#endif  // KORVALE_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_
