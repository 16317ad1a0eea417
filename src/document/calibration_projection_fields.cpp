#include "document/calibration_projection_fields.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "geo/number_text.h"
#include "geo/projection_table.h"

namespace kv {

namespace {

using KeyValue = std::pair<std::string, std::string>;

// "key=value" words of the text, in order.
std::vector<KeyValue> SplitWords(std::string_view text) {
  std::vector<KeyValue> words;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = text.find_first_not_of(" \t\r\n", position);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find_first_of(" \t\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    const std::size_t equals = word.find('=');
    if (equals != std::string_view::npos && equals > 0) {
      words.emplace_back(std::string(word.substr(0, equals)), std::string(word.substr(equals + 1)));
    }
    position = end;
  }
  return words;
}

ProjectionParameter* SlotFor(ProjectionFields& fields, const std::string& key, bool may_add) {
  for (ProjectionParameter& parameter : fields.parameters) {
    if (parameter.key == key) return &parameter;
  }
  if (!may_add) return nullptr;
  for (ProjectionParameter& parameter : fields.parameters) {
    if (parameter.key.empty()) {
      parameter.key = key;
      return &parameter;
    }
  }
  return nullptr;
}

}  // namespace

bool IsAngleKey(std::string_view key) { return !key.empty() && key[0] == 'l'; }

PositionAxis AngleAxisOf(std::string_view key) {
  return key.size() > 1 && key[1] == 'a' ? PositionAxis::kLatitude : PositionAxis::kLongitude;
}

std::array<std::string, kProjectionParameterCount> DefaultParameterKeys(int projection) {
  const std::string_view code = ProjectionCode(projection);
  if (code == "aea" || code == "lcc") return {"lat_1", "lat_2", "lat_0", "lon_0", "x_0", "y_0"};
  if (code == "tmerc") return {"lat_0", "lon_0", "k", "x_0", "y_0", ""};
  if (code == "merc") return {"lat_ts", "lon_0", "k", "x_0", "y_0", ""};
  if (code == "mill") return {"lat_0", "lon_0", "x_0", "y_0", "", ""};
  if (code == "utm") return {"zone", "south", "", "", "", ""};
  return {};
}

ProjectionFields ProjectionFieldsFromText(std::string_view text, const AngleFormatter& angle) {
  ProjectionFields fields;
  const std::vector<KeyValue> words = SplitWords(text);
  for (const KeyValue& word : words) {
    if (word.first == "proj") {
      fields.projection = std::max(FindProjection(word.second), 0);
      break;
    }
  }
  const std::array<std::string, kProjectionParameterCount> keys =
      DefaultParameterKeys(fields.projection);
  for (int i = 0; i < kProjectionParameterCount; ++i)
    fields.parameters[Slot(i)].key = keys[Slot(i)];
  for (const KeyValue& word : words) {
    // A key the projection does not offer takes a pair only with a value.
    if (word.first == "proj") continue;
    ProjectionParameter* slot = SlotFor(fields, word.first, !word.second.empty());
    if (slot == nullptr) continue;
    slot->value = IsAngleKey(word.first)
                      ? angle(LeadingDecimal(word.second), AngleAxisOf(word.first))
                      : word.second;
  }
  return fields;
}

std::string ProjectionTextFromFields(const ProjectionFields& fields,
                                     std::string_view negative_letters) {
  if (fields.projection <= 0 || fields.projection >= ProjectionRowCount()) return std::string();
  std::string text = "proj=" + std::string(ProjectionCode(fields.projection)) + " ";
  for (const ProjectionParameter& parameter : fields.parameters) {
    if (parameter.key.empty() || parameter.value.empty()) continue;
    std::string value = parameter.value;
    if (IsAngleKey(parameter.key)) {
      char number[64];
      std::snprintf(number, sizeof number, "%.8f", ParsePosition(value, negative_letters));
      value = number;
    }
    text += parameter.key + "=" + value + " ";
  }
  return text;
}

const ProjectionDrafts::Parameters* ProjectionDrafts::Find(int projection) const {
  const auto it = drafts_.find(projection);
  return it == drafts_.end() ? nullptr : &it->second;
}

void ProjectionDrafts::Reformat(const AngleFormatter& angle, std::string_view negative_letters) {
  for (auto& [projection, parameters] : drafts_) {
    const std::string text = ProjectionTextFromFields({projection, parameters}, negative_letters);
    parameters = ProjectionFieldsFromText(text, angle).parameters;
  }
}

}  // namespace kv
