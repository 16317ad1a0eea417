// The conversion options dialog as the desktop program runs it before an
// import, worked through its controls.

#include "dialogs/conversion_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "dialog_test_support.h"
#include "document/image_kind.h"
#include "modal_driver.h"
#include "shell/shipped_languages.h"
#include "shell/widget_prompts.h"
#include "temp_folder.h"

namespace kv {

namespace {

struct Controls {
  QLineEdit* name;
  QComboBox* scale;
  QComboBox* depth;
  QCheckBox* compress;
};

Controls ControlsOf(ConversionOptionsDialog* dialog) {
  return {dialog->findChild<QLineEdit*>("mapName"), dialog->findChild<QComboBox*>("scale"),
          dialog->findChild<QComboBox*>("depth"), dialog->findChild<QCheckBox*>("compress")};
}

// Moves a list's selection with the keyboard.
void PickEntry(QComboBox* list, int entry) {
  list->setFocus();
  while (list->currentIndex() < entry) QTest::keyClick(list, Qt::Key_Down);
  while (list->currentIndex() > entry) QTest::keyClick(list, Qt::Key_Up);
}

// Space toggles the box, as a click on it would.
void Toggle(QCheckBox* box) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
}

ConversionSettings Settings(int depth, bool compress) {
  ConversionSettings settings;
  settings.colourDepth = depth;
  settings.compressBitmaps = compress;
  return settings;
}

// A raster of `width` x `height` black pixels that GDAL reads without any
// pixel data on disk: a virtual data set whose bands have no sources.
std::string WriteBlankRaster(const std::filesystem::path& folder, int width, int height) {
  const std::string path = (folder / "blank.vrt").string();
  std::ofstream file(path);
  file << "<VRTDataset rasterXSize=\"" << width << "\" rasterYSize=\"" << height << "\">";
  for (int band = 1; band <= 3; ++band) {
    file << "<VRTRasterBand dataType=\"Byte\" band=\"" << band << "\"/>";
  }
  file << "</VRTDataset>\n";
  return path;
}

// The bundled sample, beside the language folder.
std::string SamplePath() {
  return (ShippedLanguageFolder() + "/../samples/earth.jpg").toStdString();
}

struct EstimateTexts {
  QString tiles;
  QString images;
  QString size;
  bool marked = false;  // the images line drawn as a warning
};

// What the estimate rows show once the worker is done.
EstimateTexts ShownEstimate(ConversionOptionsDialog* dialog) {
  if (!QTest::qWaitFor([dialog]() { return !dialog->estimating(); }, 30000)) return {};
  const auto* images = dialog->findChild<QLabel*>("images");
  return {dialog->findChild<QLabel*>("tiles")->text(), images->text(),
          dialog->findChild<QLabel*>("mapSize")->text(), !images->styleSheet().isEmpty()};
}

}  // namespace

class ConversionOptionsDialogTest : public QObject {
  Q_OBJECT

 private:
  LanguageFile language_ = ShippedEnglish();
  WidgetPrompts prompts_{language_};

 private slots:
  void init() { DropPendingModalSteps(); }

  void showsTheLanguagesTextsAndTheCurrentValues() {
    std::string name = "Harbour";
    ConversionSettings settings = Settings(4, true);
    bool looked = false;
    OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
      looked = true;
      SaveScreenshot(dialog, "conversion-options.png");
      const Controls controls = ControlsOf(dialog);
      QCOMPARE(dialog->windowTitle(), QString("Conversion Options"));
      QCOMPARE(controls.name->text(), QString("Harbour"));
      QCOMPARE(controls.scale->count(), 3);
      QCOMPARE(controls.scale->itemText(0), QString("100%"));
      QCOMPARE(controls.scale->itemText(2), QString("25%"));
      QCOMPARE(controls.depth->count(), 5);
      QCOMPARE(controls.depth->itemText(0), QString("16 bits (65536 colours)"));
      QCOMPARE(controls.depth->currentText(), QString("4 bits (16 greys)"));
      QVERIFY(controls.compress->isChecked());
      QCOMPARE(controls.compress->text(), QString("&Compress the bitmaps"));
      QStringList labels;
      for (auto* label : dialog->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) labels << label->text();
      }
      QVERIFY(labels.contains("Map &name:"));
      QVERIFY(labels.contains("&Scale:"));
      QVERIFY(labels.contains("Colour &depth:"));
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    QVERIFY(!prompts_.RunConversionOptions(nullptr, {}, &name, &settings));
    QVERIFY(looked);
  }

  // 16000 x 13100 pixels: 100 x 100 tiles at full size, one image more
  // than a map holds with the overview; at half size 50 x 50.
  void showsTilesImagesAndSizeOfTheChosenScale() {
    TempFolder folder;
    const std::string raster = WriteBlankRaster(folder.path(), 16000, 13100);
    std::string name = "Blank";
    ConversionSettings settings = Settings(8, true);
    EstimateTexts full, half;
    OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
      full = ShownEstimate(dialog);
      SaveScreenshot(dialog, "conversion-options-over-limit.png");
      PickEntry(ControlsOf(dialog).scale, 1);
      half = ShownEstimate(dialog);
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    prompts_.RunConversionOptions(nullptr, {raster, kImageKindTiff}, &name, &settings);
    QCOMPARE(full.tiles, QString("10000 (100 across, 100 down)"));
    QCOMPARE(full.images, QString("10001: more than the 9999 a map holds"));
    QVERIFY(full.marked);
    QCOMPARE(half.tiles, QString("2500 (50 across, 50 down)"));
    QCOMPARE(half.images, QString("2501 of at most 9999"));
    QVERIFY(!half.marked);
    QVERIFY2(half.size.startsWith("about ") && half.size.endsWith(" MB"), qPrintable(half.size));
  }

  // Changing the options while the worker runs restarts it; closing the
  // dialog meanwhile stops it.
  void closesWhileEstimatingAndShowsTheSampleInBothLanguages() {
    for (const QString code : {"EN", "DE"}) {
      LanguageFile language = LoadShippedLanguage(code);
      WidgetPrompts prompts{language};
      std::string name = "earth";
      ConversionSettings settings = Settings(16, true);
      EstimateTexts shown;
      OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
        PickEntry(ControlsOf(dialog).depth, 1);
        shown = ShownEstimate(dialog);
        SaveScreenshot(dialog, "conversion-options-estimate-" + code.toLower() + ".png");
        PickEntry(ControlsOf(dialog).depth, 2);
        ClickButton(dialog, QDialogButtonBox::Ok);
      });
      QVERIFY(
          prompts.RunConversionOptions(nullptr, {SamplePath(), kImageKindJpg}, &name, &settings));
      QCOMPARE(settings.colourDepth, 4);
      QVERIFY2(shown.tiles.startsWith("104 (13 "), qPrintable(shown.tiles));
      QVERIFY2(shown.images.startsWith("105 "), qPrintable(shown.images));
    }
  }

  void tabGoesFromNameToScaleDepthCompressionAndButtons() {
    std::string name = "m";
    ConversionSettings settings = Settings(8, false);
    QStringList order;
    OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
      QWidget* first = ControlsOf(dialog).name;
      QWidget* widget = first;
      for (int i = 0; i < 6; ++i) {
        order << (widget->objectName().isEmpty() ? widget->property("text").toString()
                                                 : widget->objectName());
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus)) widget = widget->nextInFocusChain();
      }
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    prompts_.RunConversionOptions(nullptr, {}, &name, &settings);
    QCOMPARE(order, QStringList({"mapName", "scale", "depth", "compress", "OK", "Cancel"}));
  }

  void reopeningAfterHalfScaleShowsFullScale() {
    std::string name = "m";
    ConversionSettings settings = Settings(8, false);
    OnModal<ConversionOptionsDialog>([](ConversionOptionsDialog* dialog) {
      PickEntry(ControlsOf(dialog).scale, 1);
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    QVERIFY(prompts_.RunConversionOptions(nullptr, {}, &name, &settings));
    QCOMPARE(settings.scale.scaleNum, 1);
    QCOMPARE(settings.scale.scaleDen, 2);

    int shown_scale = -1;
    OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
      shown_scale = ControlsOf(dialog).scale->currentIndex();
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    QVERIFY(prompts_.RunConversionOptions(nullptr, {}, &name, &settings));
    QCOMPARE(shown_scale, 0);
    QCOMPARE(settings.scale.scaleDen, 1);
  }

  void depthListOpensOnTheCurrentDepthOrItsFirstEntry() {
    const struct {
      int depth;
      int entry;
    } kRows[] = {{1, 4}, {2, 3}, {16, 0}, {24, 0}};
    for (const auto& row : kRows) {
      std::string name = "m";
      ConversionSettings settings = Settings(row.depth, false);
      int shown = -1;
      OnModal<ConversionOptionsDialog>([&](ConversionOptionsDialog* dialog) {
        shown = ControlsOf(dialog).depth->currentIndex();
        ClickButton(dialog, QDialogButtonBox::Cancel);
      });
      prompts_.RunConversionOptions(nullptr, {}, &name, &settings);
      QCOMPARE(shown, row.entry);
    }
  }

  void okStoresWhatTheUserSet() {
    std::string name = "Harbour";
    ConversionSettings settings = Settings(16, false);
    OnModal<ConversionOptionsDialog>([](ConversionOptionsDialog* dialog) {
      const Controls controls = ControlsOf(dialog);
      controls.name->selectAll();
      QTest::keyClicks(controls.name, "A name longer than the map can hold");
      PickEntry(controls.scale, 2);
      PickEntry(controls.depth, 3);
      Toggle(controls.compress);
      ClickButton(dialog, QDialogButtonBox::Ok);
    });
    QVERIFY(prompts_.RunConversionOptions(nullptr, {}, &name, &settings));
    QCOMPARE(name, std::string("A name longer than the map can "));
    QCOMPARE(settings.scale.scaleDen, 4);
    QCOMPARE(settings.colourDepth, 2);
    QVERIFY(settings.compressBitmaps);
  }

  void cancelChangesNothing() {
    std::string name = "Harbour";
    ConversionSettings settings = Settings(4, true);
    settings.scale = {1, 2};
    OnModal<ConversionOptionsDialog>([](ConversionOptionsDialog* dialog) {
      const Controls controls = ControlsOf(dialog);
      QTest::keyClicks(controls.name, " Town");
      PickEntry(controls.scale, 2);
      PickEntry(controls.depth, 0);
      Toggle(controls.compress);
      ClickButton(dialog, QDialogButtonBox::Cancel);
    });
    QVERIFY(!prompts_.RunConversionOptions(nullptr, {}, &name, &settings));
    QCOMPARE(name, std::string("Harbour"));
    QCOMPARE(settings.colourDepth, 4);
    QVERIFY(settings.compressBitmaps);
    QCOMPARE(settings.scale.scaleDen, 2);
  }
};

}  // namespace kv

QTEST_MAIN(kv::ConversionOptionsDialogTest)
#include "conversion_options_dialog_test.moc"
