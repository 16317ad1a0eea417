// Image Properties: what it says of the map's first image and of a tile,
// in both shipped languages, opened from the menu command.

#include "dialogs/image_properties_dialog.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_test_support.h"
#include "document/command_ids.h"
#include "modal_driver.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"

namespace kv {

namespace {

// A 480 x 262 image with a calibration file beside it: four tiles of the
// map, with its bounds and three points in the Alps.
QString MakeCalibratedImage(const QTemporaryDir& dir) {
  QImage image(480, 262, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(40, 90, 160));
  painter.setBrush(QColor(90, 160, 70));
  painter.drawEllipse(40, 30, 300, 150);
  painter.end();
  const QString path = dir.filePath("alps.png");
  image.save(path);
  QFile cal(dir.filePath("alps.cal"));
  cal.open(QIODevice::WriteOnly);
  cal.write(
      "latitudeTL = 47.5\nlongitudeTL = 8.0\nlatitudeBR = 46.5\nlongitudeBR = 10.0\n"
      "rp1 = 47.5, 8.0, 0, 0\nrp2 = 47.5, 10.0, 479, 0\nrp3 = 46.5, 8.0, 0, 261\n");
  return path;
}

// Label text -> value text of the dialog's rows.
QMap<QString, QString> Rows(QWidget* dialog) {
  QMap<QString, QString> rows;
  for (QLabel* value : dialog->findChildren<QLabel*>(QRegularExpression("^value"))) {
    const int id = value->objectName().mid(5).toInt();
    rows[QString::number(id)] = value->text();
  }
  return rows;
}

}  // namespace

class ImagePropertiesDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  // Opens the dialog for list row `row` and gives back its rows.
  QMap<QString, QString> PropertiesOf(MainWindow& window, int row, const QString& screenshot) {
    window.document()->image_list().Select(row);
    QMap<QString, QString> rows;
    OnModal<ImagePropertiesDialog>([&](ImagePropertiesDialog* dialog) {
      rows = Rows(dialog);
      rows["caption"] = dialog->windowTitle();
      if (!screenshot.isEmpty()) SaveScreenshotOver(&window, dialog, screenshot);
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    window.RunCommand(kCmdSelectedEntry);
    return rows;
  }

 private slots:
  void init() { DropPendingModalSteps(); }

  void theFirstImageShowsItsCalibrationAndATileSaysItHasNone_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("tile_calibration");
    QTest::newRow("English") << "EN"
                             << "Image Properties"
                             << "160 x 87 pixels"
                             << "Calibration points"
                             << "None of its own";
    QTest::newRow("German") << "DE"
                            << "Bildeigenschaften"
                            << "160 x 87 Pixel"
                            << "Kalibrierungspunkte"
                            << "Keine eigene";
  }
  void theFirstImageShowsItsCalibrationAndATileSaysItHasNone() {
    QFETCH(QString, language);
    auto state = std::make_unique<ShellState>();
    state->language = LoadShippedLanguage(language);
    LoadLanguageTexts(state.get());
    ScriptedPrompts prompts;
    MainWindow window(*state, prompts);
    window.resize(800, 550);
    window.show();
    prompts.files.push_back(MakeCalibratedImage(dir_).toStdString());
    QCOMPARE(window.RunCommand(kCmdImportImage), 0);
    QVERIFY(window.action(kCmdSelectedEntry)->isEnabled());

    const QMap<QString, QString> map =
        PropertiesOf(window, 0, "image-properties-" + language.toLower() + ".png");
    QTEST(map["caption"], "caption");
    QCOMPARE(map["3001"], QString("alps"));
    QTEST(map["3002"], "pixels");
    QVERIFY2(map["3003"].startsWith("480 x 262"), qPrintable(map["3003"]));
    QVERIFY2(!map["3005"].isEmpty() && !map["3006"].isEmpty(), qPrintable(map["3006"]));
    QTEST(map["3007"], "kind");
    QCOMPARE(map["3008"], QString("3"));
    QCOMPARE(map["3009"], QString("WGS84"));
    QVERIFY2(map["3010"].contains("47") && map["3010"].contains("8"), qPrintable(map["3010"]));
    QVERIFY2(map["3011"].contains("46") && map["3011"].contains("10"), qPrintable(map["3011"]));

    const QMap<QString, QString> tile = PropertiesOf(window, 2, QString());
    QCOMPARE(tile["3002"].left(3), QString("160"));
    QFETCH(QString, tile_calibration);
    QVERIFY2(tile["3007"].startsWith(tile_calibration), qPrintable(tile["3007"]));
    QVERIFY(!tile.contains("3009"));
    QVERIFY(prompts.errors.empty());
  }
};

}  // namespace kv

QTEST_MAIN(kv::ImagePropertiesDialogTest)
#include "image_properties_dialog_test.moc"
