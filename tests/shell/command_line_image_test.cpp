// The desktop program given a plain image on its command line shows it
// before converting it, and converts it when the map is saved.

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "document/command_ids.h"
#include "scripted_prompts.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shipped_languages.h"

namespace kv {

namespace {

StartupEnvironment EnvironmentIn(const QTemporaryDir& dir) {
  StartupEnvironment environment;
  environment.program_folder = dir.filePath("bin").toStdString();
  environment.data_folder = dir.filePath("share").toStdString();
  environment.registry.install_dir = dir.filePath("install").toStdString();
  environment.config_folder = dir.filePath("config").toStdString();
  environment.desktop = QSize(1024, 768);
  QDir(dir.path()).mkpath("bin");
  QDir(dir.path()).mkpath("install");
  QDir(dir.path()).mkpath("share/lang");
  QFile::copy(QDir(ShippedLanguageFolder()).filePath("DARudIdiEN.lang"),
              dir.filePath("share/lang/DARudIdiEN.lang"));
  return environment;
}

QString MakeImage(const QTemporaryDir& dir, const QString& name, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.setBrush(QColor(90, 160, 70));
  painter.drawEllipse(20, 20, width - 40, height - 40);
  painter.end();
  const QString path = dir.filePath(name);
  image.save(path);
  return path;
}

MainWindow* TheMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<MainWindow*>(widget)) return window;
  }
  return nullptr;
}

}  // namespace

class CommandLineImageTest : public QObject {
  Q_OBJECT

 private slots:
  void aPlainImageIsShownUnconvertedAndConvertedOnSave() {
    QTemporaryDir dir;
    StartupEnvironment environment = EnvironmentIn(dir);
    const QString image = MakeImage(dir, "coast.png", 330, 140);
    environment.files = {image.toStdString()};
    const std::string map = dir.filePath("coast.prc").toStdString();
    ScriptedPrompts prompts;
    ShellState state;

    bool shown_unconverted = false;
    int listed = -1;
    int save_result = -1;
    std::size_t saved_images = 0;
    bool still_unconverted = true;
    QTimer::singleShot(0, [&]() {
      MainWindow* window = TheMainWindow();
      if (window == nullptr || window->document() == nullptr) return;
      CDocument& document = *window->document();
      const CImage* current = document.image_list().current();
      shown_unconverted = document.container().image_count() == 1 && current != nullptr &&
                          current->unconverted_source() &&
                          current->unconverted_source()->path == image.toStdString() &&
                          current->unconverted_source()->width == 330 &&
                          current->unconverted_source()->height == 140 &&
                          current->bitmap().bytes.empty();
      if (auto* list = window->findChild<QAbstractItemView*>("imageListTable")) {
        listed = list->model()->rowCount();
      }
      // Every pane has drawn the image without a bitmap.
      window->repaint();
      prompts.files.push_back(map);
      save_result = window->RunCommand(kCmdSave);
      saved_images = document.container().image_count();
      still_unconverted = document.container().HasUnconvertedImages();
      window->close();
    });
    QCOMPARE(RunDesktopProgram(environment, prompts, &state), 0);
    QVERIFY(prompts.errors.empty());
    QVERIFY(shown_unconverted);
    QCOMPARE(listed, 1);
    QCOMPARE(save_result, 0);
    QCOMPARE(saved_images, std::size_t{7});  // the overview and 3 x 2 tiles
    QVERIFY(!still_unconverted);
    QVERIFY(std::filesystem::exists(map));
    // Saved: closing asked nothing.
    QVERIFY(prompts.questions.empty());
  }
};

}  // namespace kv

QTEST_MAIN(kv::CommandLineImageTest)
#include "command_line_image_test.moc"
