// Every shipped language file holds every resource the program uses, its
// shortcuts parse, and positions written with its letters read back.

#include <QKeySequence>
#include <QTest>
#include <cmath>
#include <set>

#include "base/language_file.h"
#include "calibration/calibration_import.h"
#include "geo/position_text.h"
#include "shell/resource_catalogue.h"
#include "shipped_languages.h"

namespace kv {

namespace {

LanguageFile Load(const QString& path) {
  LanguageFile file;
  std::string message;
  if (!LoadLanguageFile(path.toStdString(), &file, &message)) qWarning("%s", message.c_str());
  return file;
}

void CollectCommands(const std::vector<MenuEntry>& entries, std::set<int>* commands) {
  for (const MenuEntry& entry : entries) {
    if (entry.kind == MenuEntry::Kind::kItem) commands->insert(entry.command);
    CollectCommands(entry.children, commands);
  }
}

}  // namespace

class LanguageFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void shipsEnglishAndGerman() {
    const QStringList files = ShippedLanguageFiles();
    QVERIFY(files.contains(QDir(ShippedLanguageFolder()).filePath("DARudIdiEN.lang")));
    QVERIFY(files.contains(QDir(ShippedLanguageFolder()).filePath("DARudIdiDE.lang")));
  }

  void everyFileParses() {
    for (const QString& path : ShippedLanguageFiles()) {
      LanguageFile file;
      std::string message;
      QVERIFY2(LoadLanguageFile(path.toStdString(), &file, &message), message.c_str());
    }
  }

  void everyStringTheProgramUsesIsThere() {
    for (const QString& path : ShippedLanguageFiles()) {
      const LanguageFile file = Load(path);
      for (std::uint32_t id : RequiredStringIds()) {
        QVERIFY2(!file.strings.Get(id).empty(),
                 qPrintable(QString("%1 lacks string %2").arg(path).arg(id)));
      }
    }
  }

  void menuOffersEveryCommandWithTheUsersAtPositionSix() {
    for (const QString& path : ShippedLanguageFiles()) {
      const LanguageFile file = Load(path);
      QVERIFY2(file.menus.count(kMainMenuId), qPrintable(path));
      const MenuResource& menu = file.menus.at(kMainMenuId);
      std::set<int> commands;
      CollectCommands(menu.entries, &commands);
      for (int command : RequiredMenuCommands()) {
        QVERIFY2(commands.count(command),
                 qPrintable(QString("%1 lacks command %2").arg(path).arg(command)));
      }
      QVERIFY(!menu.entries.empty());
      const std::vector<MenuEntry>& first = menu.entries.front().children;
      QVERIFY(first.size() > static_cast<std::size_t>(kHandheldMenuPosition));
      const MenuEntry& users = first[kHandheldMenuPosition];
      QCOMPARE(users.kind, MenuEntry::Kind::kPopup);
      QCOMPARE(users.children.size(), std::size_t{1});
      QCOMPARE(users.children.front().command, 0);
    }
  }

  void shortcutsParseAndNameMenuCommands() {
    for (const QString& path : ShippedLanguageFiles()) {
      const LanguageFile file = Load(path);
      QVERIFY2(file.accelerators.count(kAcceleratorTableId), qPrintable(path));
      std::set<int> commands;
      CollectCommands(file.menus.at(kMainMenuId).entries, &commands);
      std::set<QString> seen;
      for (const Accelerator& accelerator : file.accelerators.at(kAcceleratorTableId)) {
        const QKeySequence keys = QKeySequence::fromString(QString::fromStdString(accelerator.keys),
                                                           QKeySequence::PortableText);
        QVERIFY2(!keys.isEmpty(), accelerator.keys.c_str());
        QVERIFY2(commands.count(accelerator.command), qPrintable(path));
        QVERIFY2(seen.insert(keys.toString()).second, accelerator.keys.c_str());
      }
    }
  }

  void everyDialogHasItsCaptionAndTexts() {
    for (const QString& path : ShippedLanguageFiles()) {
      const LanguageFile file = Load(path);
      for (const DialogRequirement& required : RequiredDialogs()) {
        auto dialog = file.dialogs.find(required.dialog);
        QVERIFY2(dialog != file.dialogs.end(),
                 qPrintable(QString("%1 lacks dialog %2").arg(path).arg(required.dialog)));
        QVERIFY(!dialog->second.caption.empty());
        for (int control : required.controls) {
          QVERIFY2(!dialog->second.Text(control).empty(),
                   qPrintable(QString("%1 dialog %2 lacks control %3")
                                  .arg(path)
                                  .arg(required.dialog)
                                  .arg(control)));
        }
      }
    }
  }

  void boundTextsRoundTripWithTheLanguagesLetters() {
    const double values[] = {47.2575, -33.8688, 151.2093, -70.6693, 0.5, -0.25, 179.75};
    for (const QString& path : ShippedLanguageFiles()) {
      const LanguageFile file = Load(path);
      const PositionTexts texts{file.strings.Get(2044), file.strings.Get(2043),
                                file.strings.Get(2051), file.strings.Get(2052)};
      QCOMPARE(texts.latitude_letters.size(), std::size_t{2});
      QCOMPARE(texts.longitude_letters.size(), std::size_t{2});
      for (double value : values) {
        const bool latitude = std::fabs(value) <= 90;
        // The map's own corner texts, read back with the language's letters.
        const std::string stored = FormatBoundText(value, latitude);
        QVERIFY2(std::fabs(ParsePosition(stored, texts.negative_letters) - value) < 1e-6,
                 qPrintable(path + ": " + QString::fromStdString(stored)));
        // Positions shown in the language, typed back in.
        const PositionAxis axis = latitude ? PositionAxis::kLatitude : PositionAxis::kLongitude;
        for (int system : {0, 1, 2}) {
          const std::string shown = FormatPosition(texts, value, axis, system, kFullPrecision);
          QVERIFY2(std::fabs(ParsePosition(shown, texts.negative_letters) - value) < 1e-4,
                   qPrintable(path + ": " + QString::fromStdString(shown)));
        }
      }
    }
  }
};

}  // namespace kv

QTEST_APPLESS_MAIN(kv::LanguageFilesTest)
#include "language_files_test.moc"
