#include "calibration/calibration_text_reader.h"

#include <string_view>
#include <vector>

#include "calibration/calibration_keys.h"
#include "calibration/calibration_line.h"
#include "geo/datum_aliases.h"
#include "geo/text_match.h"

namespace kv {
namespace {

struct LineSpan {
  std::string_view line;  // without its terminator
  std::size_t next;       // start of the following line
};

// A line ends at LF, CR or CR LF.
LineSpan NextLine(std::string_view text, std::size_t start) {
  std::size_t end = start;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  std::size_t next = end;
  if (next < text.size()) {
    const bool crlf = text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n';
    next += crlf ? 2u : 1u;
  }
  return {text.substr(start, end - start), next};
}

void DivideByTwips(const TwipsDivisors& divisors, CalibrationPoints* points) {
  for (CalibrationPoint& point : *points) {
    if (divisors.y > 0) point.pixel_y = point.adjusted_y = point.pixel_y / divisors.y;
    if (divisors.x > 0) point.pixel_x = point.adjusted_x = point.pixel_x / divisors.x;
  }
}

// The 3 x 3 files give the grid's three latitudes in points 1 to 3 and its
// three longitudes in the same points; every grid point gets its row's
// latitude and its column's longitude.
void SpreadThreeByThree(CalibrationPoints* points) {
  const double latitudes[3] = {(*points)[0].latitude, (*points)[1].latitude, (*points)[2].latitude};
  const double longitudes[3] = {(*points)[0].longitude, (*points)[1].longitude,
                                (*points)[2].longitude};
  for (std::size_t i = 0; i < points->size(); ++i) {
    (*points)[i].latitude = latitudes[i / 3];
    (*points)[i].longitude = longitudes[i % 3];
  }
}

void FinishCalFile(const TwipsDivisors& divisors, CalibrationRecord* record) {
  if (record->datum_name) NormaliseDatumName(&*record->datum_name);
  DivideByTwips(divisors, &*record->points);
  if (record->proj_mode == kCalibrationThreeByThree) SpreadThreeByThree(&*record->points);
  record->proj_mode = kCalibrationKnownPoints;
}

void ClearFromFirstEmptyPoint(CalibrationPoints* points) {
  bool clearing = false;
  for (CalibrationPoint& point : *points) {
    clearing = clearing || IsEmptyPosition(point);
    if (clearing) point = CalibrationPoint{};
  }
}

struct KeptLine {
  std::string_view text;  // with its terminator
  std::string key;        // empty for lines that are no entry
  std::string_view value;
};

bool IsWgs84Name(std::string_view name) {
  return EqualsIgnoreCase(name, "WGS84") || EqualsIgnoreCase(name, "WGS 84");
}

// The datum name the record gets back when its written text is read again:
// the writer's "datum1" line, if it writes one, else the first "map_datum"
// line of the kept lines that takes effect.
std::optional<std::string> NameAfterRereading(const CalibrationRecord& record,
                                              const std::vector<KeptLine>& kept) {
  std::optional<std::string> name;
  if (record.datum_parameter_text || (record.datum_name && !IsWgs84Name(*record.datum_name))) {
    name = record.datum_name.value_or("WGS84");
  }
  if (name && !name->empty()) return name;
  for (const KeptLine& line : kept) {
    if (!EqualsIgnoreCase(line.key, "map_datum") || line.value.empty() || line.value == "0") {
      continue;
    }
    return std::string(line.value.substr(0, kDatumFieldLength));
  }
  return name;
}

// Kept lines are written after the record's own lines. Two kinds of them
// act when read again although they had been overruled: an unknown
// `proj_mode` (the kind is valid now) and a `map_datum` (the writer leaves
// out a WGS84 "datum1"). Such lines carry nothing the record does not
// already say and are dropped, so that the text reads back to the same
// record.
void DropOverruledLines(const CalibrationRecord& record, std::vector<KeptLine>* kept) {
  if (record.proj_mode != kCalibrationInvalid) {
    std::erase_if(*kept,
                  [](const KeptLine& line) { return EqualsIgnoreCase(line.key, "proj_mode"); });
  }
  const std::optional<std::string> reread = NameAfterRereading(record, *kept);
  const bool same = reread == record.datum_name ||
                    (!reread && record.datum_name && IsWgs84Name(*record.datum_name));
  if (!same) {
    std::erase_if(*kept,
                  [](const KeptLine& line) { return EqualsIgnoreCase(line.key, "map_datum"); });
  }
}

}  // namespace

void ParseCalibrationText(std::string* text, int source_kind, CalibrationRecord* record, bool strip,
                          bool promote) {
  if (!record->points) record->points = CalibrationPoints{};
  TwipsDivisors divisors;
  const std::string_view whole(*text);
  const std::string_view lines = whole.substr(0, whole.find('\0'));
  std::vector<KeptLine> kept;
  std::size_t start = 0;
  while (start < lines.size()) {
    const LineSpan span = NextLine(lines, start);
    bool consumed = false;
    KeptLine line{lines.substr(start, span.next - start), {}, {}};
    if (const auto entry = SplitCalibrationLine(span.line)) {
      consumed = ApplyCalibrationKey(entry->key, entry->value, record, &divisors);
      line.key = entry->key;
      line.value = entry->value;
    }
    if (strip && !consumed) kept.push_back(std::move(line));
    start = span.next;
  }
  if (source_kind == kCalibrationSourceCal) FinishCalFile(divisors, record);
  if (record->proj_mode != kCalibrationThreeByThree) ClearFromFirstEmptyPoint(&*record->points);
  if (promote && record->proj_mode == kCalibrationGeographic &&
      CountPositionedPoints(*record) >= 3) {
    record->proj_mode = kCalibrationKnownPoints;
  }
  if (!strip) return;
  DropOverruledLines(*record, &kept);
  std::string remaining;
  for (const KeptLine& line : kept) remaining.append(line.text);
  *text = std::move(remaining);
}

void ReadCalibrationIntoRecord(std::string text, int source_kind, CalibrationRecord* record) {
  ParseCalibrationText(&text, source_kind, record, true, true);
  if (text.empty()) {
    record->pending_text.reset();
  } else {
    record->pending_text = std::move(text);
  }
}

}  // namespace kv
