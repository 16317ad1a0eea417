#include "calibration/import_datum.h"

#include "geo/datum_table.h"

namespace kv {

DatumNameStatus ImportDatumCode(std::string_view name, std::string* code) {
  int row = -1;
  const DatumNameStatus status = FindDatumByName(name, &row);
  if (status != DatumNameStatus::kFound) return status;
  std::string_view row_code;
  if (DatumCode(row, &row_code) != 0) return DatumNameStatus::kUnknown;
  *code = std::string(row_code);
  return DatumNameStatus::kFound;
}

bool KnownDatumCode(std::string_view name, std::string* code) {
  return ImportDatumCode(name, code) == DatumNameStatus::kFound;
}

}  // namespace kv
