// The preferences record: its byte layout, old and foreign files, and the
// placement it keeps in Qt's terms.

#include "shell/prefs_record.h"

#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <vector>

#include "bitmap/bmp/bmp_little_endian.h"
#include "shell/window_placement.h"

namespace kv {

namespace {

std::int32_t IntAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::int32_t>(DecodeLittle32(bytes.data() + offset));
}

void PutInt(std::vector<std::uint8_t>* bytes, std::size_t offset, std::int32_t value) {
  EncodeLittle32(bytes->data() + offset, static_cast<std::uint32_t>(value));
}

void PutText(std::vector<std::uint8_t>* bytes, std::size_t offset, const std::string& text) {
  std::copy(text.begin(), text.end(), bytes->begin() + static_cast<std::ptrdiff_t>(offset));
}

// A record as the old version wrote it: 580 bytes.
std::vector<std::uint8_t> OldRecord() {
  std::vector<std::uint8_t> bytes(kOldPrefsRecordSize, 0);
  PutInt(&bytes, 0, 580);
  const std::int32_t placement[11] = {44, 2, 3, -1, -1, -4, -4, 10, 20, 810, 620};
  for (std::size_t i = 0; i < 11; ++i) PutInt(&bytes, 4 + 4 * i, placement[i]);
  PutText(&bytes, 48, "C:\\Maps\\");
  PutText(&bytes, 308, "C:\\Scans\\");
  PutInt(&bytes, 568, 4);
  PutInt(&bytes, 572, 4);
  PutInt(&bytes, 576, 0);
  return bytes;
}

}  // namespace

class PrefsRecordTest : public QObject {
  Q_OBJECT

 private slots:
  void writesTheCurrentLayoutByteForByte() {
    PrefsRecord record;
    record.placement = {44, 2, 3, -1, -1, -8, -8, 5, 6, 805, 556};
    record.last_map_folder = "/home/ann/maps/";
    record.last_image_folder = "/home/ann/scans/";
    record.min_depth = 1;
    record.colour_depth = 4;
    record.compression = 0;
    record.calibration_follow = 0;
    record.coordinate_system = 7;
    record.pocket_pc_folder = "\\My Documents\\Korvale";
    const std::vector<std::uint8_t> bytes = EncodePrefsRecord(record);
    QCOMPARE(bytes.size(), std::size_t{1428});
    QCOMPARE(IntAt(bytes, 0), 1428);
    const std::int32_t placement[11] = {44, 2, 3, -1, -1, -8, -8, 5, 6, 805, 556};
    for (std::size_t i = 0; i < 11; ++i) QCOMPARE(IntAt(bytes, 4 + 4 * i), placement[i]);
    QCOMPARE(std::string(reinterpret_cast<const char*>(&bytes[48])), record.last_map_folder);
    QCOMPARE(std::string(reinterpret_cast<const char*>(&bytes[308])), record.last_image_folder);
    QCOMPARE(IntAt(bytes, 568), 1);
    QCOMPARE(IntAt(bytes, 572), 4);
    QCOMPARE(IntAt(bytes, 576), 0);
    QCOMPARE(IntAt(bytes, 580), 0);
    QCOMPARE(IntAt(bytes, 584), 7);
    QCOMPARE(std::string(reinterpret_cast<const char*>(&bytes[908])), record.pocket_pc_folder);
    for (std::size_t i = 588; i < 908; ++i) QCOMPARE(bytes[i], std::uint8_t{0});
    for (std::size_t i = 1168; i < 1428; ++i) QCOMPARE(bytes[i], std::uint8_t{0});

    PrefsRecord read;
    QCOMPARE(DecodePrefsRecord(bytes, &read), PrefsVersion::kCurrent);
    QCOMPARE(read.placement.right, 805);
    QCOMPARE(read.coordinate_system, 7);
    QCOMPARE(read.calibration_follow, 0);
    QCOMPARE(read.pocket_pc_folder, record.pocket_pc_folder);
  }

  void oldRecordKeepsItsSettingsAndIsWrittenBackCurrent() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Korvale Map Manager.prefs").toStdString();
    const std::vector<std::uint8_t> old = OldRecord();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(old.data()), static_cast<std::streamsize>(old.size()));
    PrefsRecord record = DefaultPrefsRecord(1024, 768, "/home/ann/Documents/");
    QCOMPARE(ReadPrefsFile(path, &record), PrefsVersion::kOld);
    QCOMPARE(record.placement.show_command, 3);
    QCOMPARE(record.placement.left, 10);
    QCOMPARE(record.placement.bottom, 620);
    QCOMPARE(record.last_map_folder, std::string("C:\\Maps\\"));
    QCOMPARE(record.last_image_folder, std::string("C:\\Scans\\"));
    QCOMPARE(record.min_depth, 1);  // forced, whatever the file says
    QCOMPARE(record.colour_depth, 4);
    QCOMPARE(record.compression, 0);
    QCOMPARE(record.calibration_follow, 1);  // the old layout has none
    QVERIFY(WritePrefsFile(path, record));
    QCOMPARE(QFileInfo(QString::fromStdString(path)).size(), qint64{1428});
    PrefsRecord again;
    QCOMPARE(ReadPrefsFile(path, &again), PrefsVersion::kCurrent);
    QCOMPARE(again.last_image_folder, std::string("C:\\Scans\\"));
    QVERIFY(!QFile::exists(QString::fromStdString(path + ".partial")));
  }

  void foreignShortOrMissingFilesGiveTheDefaults() {
    QTemporaryDir dir;
    const PrefsRecord defaults = DefaultPrefsRecord(1280, 1024, "/docs/");
    std::vector<std::uint8_t> foreign(1428, 0x5a);
    PutInt(&foreign, 0, 1000);
    PrefsRecord record = defaults;
    QCOMPARE(DecodePrefsRecord(foreign, &record), PrefsVersion::kNotLoaded);
    QCOMPARE(record.placement.right, 1279);
    QCOMPARE(record.placement.bottom, 1002);
    QCOMPARE(record.placement.left, 1);
    QCOMPARE(record.last_map_folder, std::string("/docs/"));
    std::vector<std::uint8_t> short_current = EncodePrefsRecord(defaults);
    short_current.resize(1000);
    QCOMPARE(DecodePrefsRecord(short_current, &record), PrefsVersion::kNotLoaded);
    QCOMPARE(ReadPrefsFile(dir.filePath("none.prefs").toStdString(), &record),
             PrefsVersion::kNotLoaded);
    QCOMPARE(record.colour_depth, 16);
    QCOMPARE(record.compression, 1);
    QCOMPARE(record.calibration_follow, 1);
    QCOMPARE(record.coordinate_system, 0);
  }

  void aFolderTooLongForItsFieldIsNotCut() {
    PrefsRecord record;
    record.last_map_folder = std::string(300, 'a');
    record.last_image_folder = std::string(259, 'b');
    PrefsRecord read;
    QCOMPARE(DecodePrefsRecord(EncodePrefsRecord(record), &read), PrefsVersion::kCurrent);
    QVERIFY(read.last_map_folder.empty());
    QCOMPARE(read.last_image_folder, record.last_image_folder);
  }

  void anUnwritableFileKeepsTheOldOne() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("taken.prefs"));
    QVERIFY(!WritePrefsFile(dir.filePath("taken.prefs").toStdString(), PrefsRecord{}));
    QVERIFY(QFileInfo(dir.filePath("taken.prefs")).isDir());
  }

  void placementMapsToQtAndBack() {
    PlacementRecord normal;
    normal.left = 100;
    normal.top = 50;
    normal.right = 900;
    normal.bottom = 600;
    QtPlacement qt = PlacementToQt(normal);
    QCOMPARE(qt.normal_geometry, QRect(100, 50, 800, 550));
    QCOMPARE(qt.state, Qt::WindowStates(Qt::WindowNoState));
    PlacementRecord back = PlacementFromQt(qt.normal_geometry, qt.state, false);
    QCOMPARE(back.right, 900);
    QCOMPARE(back.bottom, 600);
    QCOMPARE(back.show_command, kShowNormal);
    QCOMPARE(back.length, 44);
    QCOMPARE(back.min_x, -1);

    back = PlacementFromQt(qt.normal_geometry, Qt::WindowMaximized, false);
    QCOMPARE(back.show_command, kShowMaximized);
    QCOMPARE(PlacementToQt(back).state, Qt::WindowStates(Qt::WindowMaximized));

    // Minimised windows come back as they were, never minimised.
    back = PlacementFromQt(qt.normal_geometry, Qt::WindowMinimized, true);
    QCOMPARE(back.show_command, kShowMinimized);
    QCOMPARE(back.flags, kRestoreToMaximized);
    QCOMPARE(PlacementToQt(back).state, Qt::WindowStates(Qt::WindowMaximized));
    back = PlacementFromQt(qt.normal_geometry, Qt::WindowMinimized, false);
    QCOMPARE(PlacementToQt(back).state, Qt::WindowStates(Qt::WindowNoState));
  }

  void firstRunPlacementLeavesSmallScreensToTheSystem() {
    InitialPlacement placement = FirstRunPlacement(QSize(1024, 768));
    QCOMPARE(*placement.x, 112);
    QCOMPARE(*placement.y, 54);
    QCOMPARE(*placement.width, 800);
    QCOMPARE(*placement.height, 550);
    placement = FirstRunPlacement(QSize(640, 480));
    QVERIFY(!placement.x && !placement.y && !placement.width && !placement.height);
    placement = FirstRunPlacement(QSize(1024, 500));
    QVERIFY(placement.x && placement.width && !placement.y && !placement.height);
  }

  void minimumSizeFollowsThePreviewer() {
    WindowMetrics metrics{16, 2, 24, 22};
    QCOMPARE(DocumentMinimumSize(QSize(200, 240), metrics), QSize(204, 16 + 96 + 22 + 240 + 4));
    QCOMPARE(DocumentMinimumSize(QSize(10, 240), metrics).width(), 32 + 4);
  }
};

}  // namespace kv

QTEST_APPLESS_MAIN(kv::PrefsRecordTest)
#include "prefs_record_test.moc"
