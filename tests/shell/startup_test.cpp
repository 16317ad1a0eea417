// Start-up's choices: the language table, the settings it reads, where the
// language file is found, and what happens when there is none.

#include "shell/startup.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdint>
#include <fstream>

#include "scripted_prompts.h"
#include "shell/language_choice.h"
#include "shell/language_search.h"
#include "shell/registry_settings.h"
#include "shipped_languages.h"

namespace kv {

namespace {

void WriteFile(const QString& path, const std::string& text) {
  std::ofstream(path.toStdString(), std::ios::binary) << text;
}

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
  return environment;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void languageTableGivesTheFileCode_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("effective");
    QTest::newRow("traditional Chinese") << 4 << 1 << "CT" << 4;
    QTest::newRow("simplified Chinese") << 4 << 2 << "CN" << 4;
    QTest::newRow("other Chinese") << 4 << 3 << "EN" << 9;
    QTest::newRow("Czech") << 5 << 7 << "CZ" << 5;
    QTest::newRow("German") << 7 << 2 << "DE" << 7;
    QTest::newRow("English") << 9 << 0 << "EN" << 9;
    QTest::newRow("Spanish") << 10 << 0 << "SP" << 10;
    QTest::newRow("French") << 12 << 0 << "FR" << 12;
    QTest::newRow("Italian") << 16 << 0 << "IT" << 16;
    QTest::newRow("Portuguese") << 22 << 0 << "PO" << 22;
    QTest::newRow("Dutch") << 19 << 0 << "EN" << 9;
  }
  void languageTableGivesTheFileCode() {
    QFETCH(int, language);
    QFETCH(int, sub);
    QFETCH(QString, code);
    QFETCH(int, effective);
    const LanguageChoice choice = ChooseLanguage(language, sub);
    QCOMPARE(QString::fromStdString(choice.code), code);
    QCOMPARE(choice.language, effective);
  }

  void languageSettingReadsLikeTheRegistry() {
    QCOMPARE(ReadLanguageSetting(std::nullopt, std::string("2")).language, 9);
    QCOMPARE(ReadLanguageSetting(std::nullopt, std::string("2")).sub_language, 0);
    QCOMPARE(ReadLanguageSetting(std::string("0"), std::nullopt).language, 9);
    QCOMPARE(ReadLanguageSetting(std::string("junk"), std::nullopt).language, 9);
    const LanguageSetting chinese = ReadLanguageSetting(std::string("4"), std::string("3"));
    QCOMPARE(chinese.language, 4);
    QCOMPARE(chinese.sub_language, 3);
    QCOMPARE(ChooseLanguage(chinese.language, chinese.sub_language).code, std::string("EN"));
    QCOMPARE(ReadLanguageSetting(std::string("7 "), std::string("x")).sub_language, 0);
  }

  void settingsComeFromTheirGroupAndScope() {
    QTemporaryDir dir;
    QSettings user(dir.filePath("user.ini"), QSettings::IniFormat);
    QSettings system(dir.filePath("system.ini"), QSettings::IniFormat);
    user.setValue("Korvale Map Manager/LanguageSub", "1");
    system.setValue("Korvale Map Manager/InstlDir", "/opt/old");
    system.setValue("Korvale Map Manager/Language", "7");  // not per user: ignored
    RegistrySettings settings = ReadRegistrySettings(user, system);
    QVERIFY(!settings.language);
    QVERIFY(!settings.sub_language);  // only read with a Language
    QCOMPARE(InstallFolder(settings), std::string("/opt/old"));
    system.setValue("Korvale Map Manager/InstallDir", "/opt/new");
    user.setValue("Korvale Map Manager/Language", "4");
    settings = ReadRegistrySettings(user, system);
    QCOMPARE(*settings.language, std::string("4"));
    QCOMPARE(*settings.sub_language, std::string("1"));
    QCOMPARE(InstallFolder(settings), std::string("/opt/new"));
    QCOMPARE(InstallFolder(RegistrySettings{}), QDir::currentPath().toStdString());
  }

  void languageFileIsSearchedInOrder() {
    QTemporaryDir dir;
    const StartupEnvironment environment = EnvironmentIn(dir);
    const std::vector<std::string> folders =
        LanguageSearchFolders(environment.program_folder, *environment.registry.install_dir,
                              environment.data_folder + "/lang");
    QCOMPARE(folders.size(), std::size_t{3});
    WriteFile(dir.filePath("share/lang/DARudIdiEN.lang"), "1 data\n");
    QCOMPARE(FindLanguageFile("DARudIdiEN.lang", folders).path, folders[2] + "/DARudIdiEN.lang");
    WriteFile(dir.filePath("install/DARudIdiEN.lang"), "1 install\n");
    QCOMPARE(FindLanguageFile("DARudIdiEN.lang", folders).path, folders[1] + "/DARudIdiEN.lang");
    WriteFile(dir.filePath("bin/DARudIdiEN.lang"), "1 beside\n");
    QCOMPARE(FindLanguageFile("DARudIdiEN.lang", folders).path, folders[0] + "/DARudIdiEN.lang");
    const LanguageFileSearch missing = FindLanguageFile("DARudIdiDE.lang", folders);
    QVERIFY(missing.path.empty());
    QCOMPARE(missing.error_number, ENOENT);
  }

  void missingLanguageFileShowsTheMessageAndExits255() {
    QTemporaryDir dir;
    StartupEnvironment environment = EnvironmentIn(dir);
    environment.registry.language = "7";
    WriteFile(dir.filePath("bin/DARudIdiEN.lang"), "1030 English only\n");
    ScriptedPrompts prompts;
    ShellState state;
    const int code = RunDesktopProgram(environment, prompts, &state);
    QCOMPARE(static_cast<std::uint8_t>(code), std::uint8_t{255});
    QCOMPARE(prompts.informed.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(prompts.informed.front()),
             QString("Korvale Map Manager|DARudIdiDE.lang not found. Please re-install the "
                     "software and try again.\nError code: %1")
                 .arg(ENOENT));
    QVERIFY(!QFile::exists(dir.filePath("config/Korvale Map Manager.prefs")));
  }

  void damagedLanguageFileNamesTheFileAndLine() {
    QTemporaryDir dir;
    const StartupEnvironment environment = EnvironmentIn(dir);
    WriteFile(dir.filePath("bin/DARudIdiEN.lang"), "1030 Caption\n[menu 101]\npopup &File\n");
    ScriptedPrompts prompts;
    ShellState state;
    QVERIFY(!PrepareShell(environment, prompts, &state));
    QCOMPARE(prompts.informed.size(), std::size_t{1});
    QVERIFY(prompts.informed.front().find(dir.filePath("bin/DARudIdiEN.lang").toStdString() +
                                          ", line 3") != std::string::npos);
  }

  void germanSettingLoadsTheGermanTexts() {
    QTemporaryDir dir;
    StartupEnvironment environment = EnvironmentIn(dir);
    environment.registry.language = "7";
    environment.registry.sub_language = "1";
    QVERIFY(QFile::copy(QDir(ShippedLanguageFolder()).filePath("DARudIdiDE.lang"),
                        dir.filePath("share/lang/DARudIdiDE.lang")));
    ScriptedPrompts prompts;
    ShellState state;
    QVERIFY(PrepareShell(environment, prompts, &state));
    QVERIFY(prompts.informed.empty());
    QCOMPARE(state.tables.frame[0], state.language.strings.Get(1006));
    QCOMPARE(state.app.default_document_name, state.language.strings.Get(1028));
    QCOMPARE(state.prefs_path,
             dir.filePath("config").toStdString() + "/" + state.app.caption + ".prefs");
    QVERIFY(!state.prefs_loaded);
  }
};

}  // namespace kv

QTEST_MAIN(kv::StartupTest)
#include "startup_test.moc"
