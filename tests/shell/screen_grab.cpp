// Starts a program under the current X display, waits until its window has
// settled on the screen, saves the windows' part of the screen as a PNG, then asks the program to
// close (SIGTERM, which it treats like closing the window) and returns its
// exit code. Exit 2 when the screen stays blank, 3 when the program will
// not start or end.
//
//   kv_screen_grab OUTPUT.png PROGRAM [ARGUMENTS...]

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <cstdio>

namespace {

constexpr int kPollMilliseconds = 250;
constexpr int kStartAttempts = 480;  // sanitizer builds start slowly
constexpr int kDistinctColoursOfAWindow = 8;

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      colours.insert(image.pixel(x, y));
      if (colours.size() > 64) return static_cast<int>(colours.size());
    }
  }
  return static_cast<int>(colours.size());
}

// The part of the screen that differs from the empty background, which
// the top-left pixel shows while no window covers it.
QImage CropToWindows(const QImage& screen) {
  const QRgb background = screen.pixel(0, 0);
  QRect box;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      if (screen.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    }
  }
  return box.isEmpty() ? screen : screen.copy(box);
}

QImage GrabScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: kv_screen_grab OUTPUT.png PROGRAM [ARGUMENTS...]\n");
    return 3;
  }
  QProcess program;
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(arguments[2], arguments.mid(3));
  if (!program.waitForStarted()) {
    std::fprintf(stderr, "cannot start %s\n", qPrintable(arguments[2]));
    return 3;
  }
  QImage previous;
  QImage settled;
  for (int attempt = 0; attempt < kStartAttempts && settled.isNull(); ++attempt) {
    if (program.waitForFinished(kPollMilliseconds)) {
      std::fprintf(stderr, "the program ended before showing its window\n");
      return 3;
    }
    const QImage current = GrabScreen();
    if (DistinctColours(current) >= kDistinctColoursOfAWindow && current == previous) {
      settled = current;
    }
    previous = current;
  }
  int result = 0;
  if (settled.isNull()) {
    std::fprintf(stderr, "the screen stayed blank\n");
    result = 2;
  } else if (!CropToWindows(settled).save(arguments[1])) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[1]));
    result = 3;
  }
  program.terminate();
  if (!program.waitForFinished(30000)) {
    program.kill();
    program.waitForFinished();
    return 3;
  }
  if (result != 0) return result;
  return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : 3;
}
