#ifndef KORVALE_TESTS_DIALOGS_PANEL_TEST_WINDOW_H_
#define KORVALE_TESTS_DIALOGS_PANEL_TEST_WINDOW_H_

// The main window as the calibration panel's tests start it: settings of
// its own, scripted answers, diagnostics kept for the test to read, and an
// image with a calibration beside it.

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QTest>
#include <memory>
#include <sstream>

#include "geo/coordinate_systems.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"

namespace kv {

struct PanelTestWindow {
  std::unique_ptr<ShellState> state;
  std::unique_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<MainWindow> window;
  std::ostringstream diagnostics;

  // The window on `settings` at `size`, world files read in
  // `world_system`. It is made the active window, because focus moves only
  // within the active window.
  MainWindow& Show(std::unique_ptr<ShellState> settings, QSize size,
                   int world_system = kSystemDegreesMinutes) {
    window.reset();
    state = std::move(settings);
    state->app.diagnostics = &diagnostics;
    state->app.import_state.world_file_system.system = world_system;
    prompts = std::make_unique<ScriptedPrompts>();
    window = std::make_unique<MainWindow>(*state, *prompts);
    window->resize(size);
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get())) qFatal("the window is not active");
    return *window;
  }

  // Opens a one-colour `size` image, map.png in `folder`, with `kvm` beside
  // it as map.kvm (none for an empty text).
  void OpenCalibratedImage(const QDir& folder, QSize size, const char* kvm) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    const QString path = folder.filePath("map.png");
    if (!image.save(path)) qFatal("cannot write map.png");
    QFile::remove(folder.filePath("map.kvm"));
    if (*kvm != '\0') {
      QFile file(folder.filePath("map.kvm"));
      if (!file.open(QIODevice::WriteOnly) || file.write(kvm) < 0) qFatal("cannot write map.kvm");
    }
    window->OpenFile(path.toStdString());
  }
};

}  // namespace kv

#endif  // KORVALE_TESTS_DIALOGS_PANEL_TEST_WINDOW_H_
