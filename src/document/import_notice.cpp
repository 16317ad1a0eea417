#include "document/import_notice.h"

#include "document/document_texts.h"
#include "document/language_format.h"
#include "geo/datum_table.h"
#include "map/map_text.h"

namespace kv {

CalibrationSourceFormat FormatOfCalibrationFile(int type) {
  switch (type) {
    case kCalibrationFileCal:
      return CalibrationSourceFormat::kCal;
    case kCalibrationFileJpr:
      return CalibrationSourceFormat::kJpr;
    case kCalibrationFilePca:
      return CalibrationSourceFormat::kPca;
    case kCalibrationFileGeo:
      return CalibrationSourceFormat::kGeo;
    case kCalibrationFileMap:
      return CalibrationSourceFormat::kOziMap;
    case kCalibrationFileWorld:
      return CalibrationSourceFormat::kWorldFile;
    default:
      return CalibrationSourceFormat::kKvm;
  }
}

namespace {

// The datum the record's positions are in, as the user knows it.
std::string DatumNameOf(const CalibrationRecord& record) {
  if (record.datum_name && !record.datum_name->empty()) return *record.datum_name;
  const std::string_view name = DatumDisplayName(record.datum_row);
  return name.empty() ? std::string("WGS84") : std::string(name);
}

}  // namespace

std::vector<Notice> CalibrationNotices(const std::optional<TakenCalibration>& taken,
                                       const CalibrationRecord& record,
                                       const std::string& image_path, bool tell) {
  std::vector<Notice> notices;
  if (!taken) {
    if (!tell) return notices;
    Notice none;
    none.kind = NoticeKind::kNoCalibration;
    none.path = image_path;
    notices.push_back(std::move(none));
    return notices;
  }
  if (tell) {
    Notice notice;
    notice.kind = NoticeKind::kCalibrationTaken;
    notice.path = taken->path;
    notice.format = taken->format;
    notice.points = CountPositionedPoints(record);
    notice.datum = DatumNameOf(record);
    notices.push_back(std::move(notice));
  }
  for (const ImportWarning& warning : taken->warnings) {
    Notice notice;
    notice.kind = NoticeKind::kImportWarning;
    notice.path = taken->path;
    notice.warning = warning;
    notices.push_back(std::move(notice));
  }
  return notices;
}

std::vector<Notice> StoredNameNotices(const std::string& name) {
  const StoredText stored = ToStoredText(name);
  if (stored.unshown.empty()) return {};
  Notice notice;
  notice.kind = NoticeKind::kUnshownCharacters;
  notice.name = name;
  notice.unshown = stored.unshown;
  return {notice};
}

bool IsWarning(const Notice& notice) {
  return notice.kind == NoticeKind::kImportWarning || notice.kind == NoticeKind::kUnshownCharacters;
}

namespace {

std::string WarningText(const StringTable& strings, const Notice& notice) {
  const ImportWarning& warning = *notice.warning;
  switch (warning.kind) {
    case ImportWarningKind::kUnknownDatum:
      return FormatLanguageText(DocumentText(strings, kUnknownDatumTextId),
                                {warning.detail, notice.path});
    case ImportWarningKind::kPointsSkipped:
      return FormatLanguageText(DocumentText(strings, kPointsSkippedTextId),
                                {notice.path, warning.detail});
    case ImportWarningKind::kNoUsablePoints:
      return FormatLanguageText(DocumentText(strings, kNoUsablePointsTextId),
                                {notice.path, warning.detail});
  }
  return warning.detail;
}

}  // namespace

std::string NoticeText(const StringTable& strings, const Notice& notice) {
  switch (notice.kind) {
    case NoticeKind::kCalibrationTaken: {
      const auto format_id =
          kFirstCalibrationFormatTextId + static_cast<std::uint32_t>(notice.format);
      return FormatLanguageText(DocumentText(strings, kCalibrationTakenTextId),
                                {notice.path, DocumentText(strings, format_id),
                                 std::to_string(notice.points), notice.datum});
    }
    case NoticeKind::kNoCalibration:
      return FormatLanguageText(DocumentText(strings, kNoCalibrationTextId), {notice.path});
    case NoticeKind::kImportWarning:
      if (notice.warning) return WarningText(strings, notice);
      return std::string();
    case NoticeKind::kUnshownCharacters:
      return FormatLanguageText(DocumentText(strings, kUnshownCharactersTextId),
                                {notice.name, notice.unshown});
  }
  return std::string();
}

}  // namespace kv
