// The coordinate system question before a world file import, worked
// through its controls, and the import it lets happen.

#include "dialogs/world_file_system_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "dialog_test_support.h"
#include "dialogs/conversion_options_dialog.h"
#include "document/command_ids.h"
#include "geo/coordinate_systems.h"
#include "modal_driver.h"
#include "shell/main_window.h"
#include "shell/widget_prompts.h"

namespace kv {

namespace {

QComboBox* SystemList(QWidget* dialog) { return dialog->findChild<QComboBox*>("coordinateSystem"); }
QLineEdit* ZoneEdit(QWidget* dialog) { return dialog->findChild<QLineEdit*>("zone"); }

void PickSystem(QWidget* dialog, const QString& name) {
  QComboBox* list = SystemList(dialog);
  list->setFocus();
  const int entry = list->findText(name);
  QVERIFY(entry >= 0);
  if (list->currentIndex() < 0) QTest::keyClick(list, Qt::Key_Down);
  while (list->currentIndex() < entry) QTest::keyClick(list, Qt::Key_Down);
  while (list->currentIndex() > entry) QTest::keyClick(list, Qt::Key_Up);
}

// Chooses a whole path in the file chooser that is open.
void ChoosePath(QFileDialog* chooser, const QString& path) {
  chooser->findChild<QLineEdit*>("fileNameEdit")->setText(path);
  ClickButton(chooser, QDialogButtonBox::Open);
}

void WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

}  // namespace

class WorldFileSystemDialogTest : public QObject {
  Q_OBJECT

 private:
  LanguageFile language_ = ShippedEnglish();
  WidgetPrompts prompts_{language_};

 private slots:
  void init() { DropPendingModalSteps(); }

  void listsTheSystemsFromDecimalDegreesOn() {
    QStringList shown;
    OnModal<WorldFileSystemDialog>([&](WorldFileSystemDialog* dialog) {
      SaveScreenshot(dialog, "world-file-system.png");
      QCOMPARE(dialog->windowTitle(), QString("World File"));
      QComboBox* list = SystemList(dialog);
      for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
      QVERIFY(dialog->findChild<QLabel*>()->buddy() != nullptr);
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{kSystemUtm, "32U", ""});
    QCOMPARE(shown.size(), kCoordinateSystemCount - 2);
    QCOMPARE(shown.front(), QString("DD.dddd"));
    QVERIFY(!shown.contains("DD MM.mmmm"));
    QVERIFY(!shown.contains("DD MM SS"));
    QCOMPARE(shown.back(), QString::fromUtf8(CoordinateSystemName(kCoordinateSystemCount - 1)));
  }

  void opensOnTheStoredSystemWhenItIsInTheList() {
    const struct {
      int stored;
      int entry;
    } kRows[] = {{0, -1}, {1, -1}, {2, 0}, {kSystemOsgb, 2}, {28, 26}};
    for (const auto& row : kRows) {
      int shown = -2;
      OnModal<WorldFileSystemDialog>([&](WorldFileSystemDialog* dialog) {
        shown = SystemList(dialog)->currentIndex();
        ClickButton(dialog, QDialogButtonBox::Cancel);
      });
      prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{row.stored, "", ""});
      QCOMPARE(shown, row.entry);
    }
  }

  void tabGoesFromTheListToTheZoneAndTheButtons() {
    QStringList order;
    OnModal<WorldFileSystemDialog>([&order](WorldFileSystemDialog* dialog) {
      QWidget* widget = SystemList(dialog);
      for (int i = 0; i < 5; ++i) {
        order << (widget->objectName().isEmpty() ? widget->property("text").toString()
                                                 : widget->objectName());
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus)) widget = widget->nextInFocusChain();
      }
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{kSystemUtm, "32U", ""});
    QCOMPARE(order, QStringList({"coordinateSystem", "zone", "datum", "OK", "Cancel"}));
  }

  void theZoneIsAskedOnlyForZonedGrids() {
    OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
      QLineEdit* zone = ZoneEdit(dialog);
      QVERIFY(zone->isEnabled());
      QCOMPARE(zone->text(), QString("32U"));
      PickSystem(dialog, "DD.dddd");
      QVERIFY(!zone->isEnabled());
      PickSystem(dialog, "OSGB");
      QVERIFY(!zone->isEnabled());
      PickSystem(dialog, "UTM");
      QVERIFY(zone->isEnabled());
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{kSystemUtm, "32U", ""});
  }

  void okStoresTheChosenSystemAndZone() {
    OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
      PickSystem(dialog, "UTM");
      QTest::keyClicks(ZoneEdit(dialog), "33T");
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    const std::optional<WorldFileSystem> chosen =
        prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{0, "", ""});
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->system, kSystemUtm);
    QCOMPARE(chosen->zone, std::string("33T"));
  }

  void okWithoutAnAcceptableChoiceKeepsTheStoredSystem() {
    // No entry chosen.
    OnModal<WorldFileSystemDialog>(
        [](WorldFileSystemDialog* dialog) { ClickButton(dialog, QDialogButtonBox::Ok); });
    std::optional<WorldFileSystem> chosen =
        prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{1, "", ""});
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->system, 1);
    // UTM without a zone cannot be read; the import goes on as before.
    OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
      PickSystem(dialog, "UTM");
      ZoneEdit(dialog)->clear();
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    chosen = prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{kSystemOsgb, "", ""});
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->system, kSystemOsgb);
  }

  // A 200 x 160 image with a world file in UTM zone 32U, imported through
  // the menu: the question, the chooser and the coordinate system dialog.
  void worldFileImportReadsTheNumbersInTheChosenSystem() {
    QTemporaryDir dir;
    const QString image = dir.filePath("scan.png");
    QImage(200, 160, QImage::Format_RGB32).save(image);
    const QString world = dir.filePath("scan.pgw");
    WriteText(world, "10\n0\n0\n-10\n500000\n5300000\n");
    ShellState state;
    state.language = language_;
    LoadLanguageTexts(&state);
    std::ostringstream diagnostics;
    state.app.diagnostics = &diagnostics;
    state.app.last_map_folder = dir.path().toStdString() + "/";
    state.app.last_image_folder = state.app.last_map_folder;
    MainWindow window(state, prompts_);
    OnModal<QFileDialog>([&](QFileDialog* chooser) {
      OnModal<ConversionOptionsDialog>(
          [](ConversionOptionsDialog* options) { ClickButton(options, QDialogButtonBox::Ok); });
      ChoosePath(chooser, image);
    });
    QCOMPARE(window.RunCommand(kCmdImportImage), 0);

    // Cancel in the coordinate system dialog: nothing is read.
    const CalibrationRecord before = state.app.calibration;
    OnModal<QMessageBox>([&](QMessageBox* question) {
      OnModal<QFileDialog>([&](QFileDialog* chooser) {
        OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
          PickSystem(dialog, "UTM");
          QTest::keyClicks(ZoneEdit(dialog), "32U");
          ClickButton(dialog, QDialogButtonBox::Cancel);
        });
        ChoosePath(chooser, world);
      });
      ClickButton(question, QDialogButtonBox::Yes);
    });
    QCOMPARE(window.RunCommand(kCmdImportWorldFile), 0);
    QCOMPARE(state.app.import_state.world_file_system.system, 0);
    QVERIFY(state.app.calibration.points == before.points);

    OnModal<QMessageBox>([&](QMessageBox* question) {
      OnModal<QFileDialog>([&](QFileDialog* chooser) {
        OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
          PickSystem(dialog, "UTM");
          QTest::keyClicks(ZoneEdit(dialog), "32U");
          ClickButton(dialog, QDialogButtonBox::Ok);
        });
        ChoosePath(chooser, world);
      });
      ClickButton(question, QDialogButtonBox::Yes);
    });
    QCOMPARE(window.RunCommand(kCmdImportWorldFile), 0);
    QCOMPARE(state.app.import_state.world_file_system.system, kSystemUtm);
    QCOMPARE(state.app.import_state.world_file_system.zone, std::string("32U"));
    QVERIFY(state.app.calibration.points.has_value());
    const CalibrationPoint& top_left = (*state.app.calibration.points)[0];
    // Easting 500000 lies on the zone's central meridian, 9 degrees east.
    QVERIFY(std::abs(top_left.longitude - 9.0) < 1e-6);
    QVERIFY(top_left.latitude > 47.8 && top_left.latitude < 47.9);
  }

  // A zone number alone would be read as southern: OK says why and the
  // dialog stays open on the zone; the datum of the numbers is chosen too.
  void aZoneWithoutItsBandIsExplainedAndTheDatumIsChosen() {
    QString message;
    bool stayed_open = false;
    OnModal<WorldFileSystemDialog>([&](WorldFileSystemDialog* dialog) {
      PickSystem(dialog, "UTM");
      QLineEdit* zone = ZoneEdit(dialog);
      zone->clear();
      QTest::keyClicks(zone, "18");
      QComboBox* datums = dialog->findChild<QComboBox*>("datum");
      QVERIFY(datums != nullptr && datums->isEnabled());
      datums->setCurrentIndex(datums->findText("N American Datum 1927 - ConUS"));
      OnModal<QMessageBox>([&](QMessageBox* box) {
        message = box->text();
        box->accept();
      });
      ClickButton(dialog, QDialogButtonBox::Ok);
      stayed_open = dialog->isVisible();
      zone->end(false);
      QTest::keyClicks(zone, "T");
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    const std::optional<WorldFileSystem> chosen =
        prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{kSystemOsgb, "", ""});
    QVERIFY(stayed_open);
    QVERIFY2(message.contains("18") && message.contains("C to M") && message.contains("18T"),
             qPrintable(message));
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->zone, std::string("18T"));
    QCOMPARE(chosen->datum, std::string("NAD27CONUS"));
  }

  void cancelStopsTheImport() {
    OnModal<WorldFileSystemDialog>([](WorldFileSystemDialog* dialog) {
      PickSystem(dialog, "OSGB");
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    QVERIFY(!prompts_.ChooseWorldFileSystem(nullptr, WorldFileSystem{2, "", ""}).has_value());
  }
};

}  // namespace kv

QTEST_MAIN(kv::WorldFileSystemDialogTest)
#include "world_file_system_dialog_test.moc"
