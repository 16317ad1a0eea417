#include "calibration/import_datum.h"

#include "geo/datum_aliases.h"
#include "geo/datum_table.h"

namespace kv {

bool KnownDatumCode(std::string_view name, std::string* code) {
  std::string canonical;
  // A name the alias table does not list is still a datum when it is one of
  // the table's own codes ("Potsdam").
  if (!CanonicalDatumName(name, &canonical) && FindDatum(canonical) < 0) return false;
  *code = std::move(canonical);
  return true;
}

}  // namespace kv
