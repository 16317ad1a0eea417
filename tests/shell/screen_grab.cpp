// Starts a program under the current X display, waits until its window has
// settled on the screen, saves the windows' part of the screen as a PNG, then asks the program to
// close (SIGTERM, which it treats like closing the window) and returns its
// exit code. Exit 2 when the screen stays blank, 3 when the program will
// not start or end.
//
//   kv_screen_grab OUTPUT.png PROGRAM [ARGUMENTS...]
//
// With --settled instead of a program it waits until the screen has
// settled and saves its windows' part, so that a script driving a program
// already on the screen can keep what it saw.
//
//   kv_screen_grab OUTPUT.png --settled

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

// The screen once two grabs a poll apart agree and show a window; null if
// that does not happen within the attempts (or `program` ends first).
QImage SettledScreen(QProcess* program) {
  QImage previous;
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (program == nullptr) {
      QThread::msleep(kPollMilliseconds);
    } else if (program->waitForFinished(kPollMilliseconds)) {
      std::fprintf(stderr, "the program ended before showing its window\n");
      return {};
    }
    const QImage current = GrabScreen();
    if (DistinctColours(current) >= kDistinctColoursOfAWindow && current == previous) {
      return current;
    }
    previous = current;
  }
  std::fprintf(stderr, "the screen did not settle\n");
  return {};
}

int GrabSettledScreen(const QString& output) {
  const QImage screen = SettledScreen(nullptr);
  if (screen.isNull()) return 2;
  return CropToWindows(screen).save(output) ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: kv_screen_grab OUTPUT.png PROGRAM [ARGUMENTS...] | --settled\n");
    return 3;
  }
  if (arguments[2] == "--settled") return GrabSettledScreen(arguments[1]);
  QProcess program;
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(arguments[2], arguments.mid(3));
  if (!program.waitForStarted()) {
    std::fprintf(stderr, "cannot start %s\n", qPrintable(arguments[2]));
    return 3;
  }
  const QImage settled = SettledScreen(&program);
  if (settled.isNull() && program.state() == QProcess::NotRunning) return 3;
  int result = 0;
  if (settled.isNull()) {
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
