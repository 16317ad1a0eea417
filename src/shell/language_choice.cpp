#include "shell/language_choice.h"

#include <algorithm>
#include <cstdlib>

namespace kv {

namespace {

// The settings were read into 30-byte buffers.
constexpr std::size_t kSettingTextLimit = 29;

int DecimalValue(const std::string& text) {
  const std::string cut = text.substr(0, kSettingTextLimit);
  const long value = std::strtol(cut.c_str(), nullptr, 10);
  if (value < -65535 || value > 65535) return 0;
  return static_cast<int>(value);
}

struct LanguageCode {
  int language;
  int sub_language;  // -1: any
  const char* code;
  const char* locale;
};

// English is British: the texts spell "colour".
constexpr LanguageCode kLanguageCodes[] = {
    {4, 1, "CT", "zh_TW"}, {4, 2, "CN", "zh_CN"},  {5, -1, "CZ", "cs"},
    {7, -1, "DE", "de"},   {9, -1, "EN", "en_GB"}, {10, -1, "SP", "es"},
    {12, -1, "FR", "fr"},  {16, -1, "IT", "it"},   {22, -1, "PO", "pt"},
};

}  // namespace

LanguageChoice ChooseLanguage(int language, int sub_language) {
  for (const LanguageCode& entry : kLanguageCodes) {
    if (entry.language == language &&
        (entry.sub_language < 0 || entry.sub_language == sub_language)) {
      return {language, entry.code, entry.locale};
    }
  }
  return {kEnglishLanguage, "EN", "en_GB"};
}

LanguageSetting ReadLanguageSetting(const std::optional<std::string>& language,
                                    const std::optional<std::string>& sub_language) {
  LanguageSetting setting;
  if (!language) return setting;
  setting.language = DecimalValue(*language);
  if (setting.language == 0) setting.language = kEnglishLanguage;
  if (sub_language) setting.sub_language = DecimalValue(*sub_language);
  return setting;
}

std::optional<LanguageSetting> LanguageSettingForCode(std::string_view code) {
  for (const LanguageCode& entry : kLanguageCodes) {
    if (code == entry.code) return LanguageSetting{entry.language, std::max(entry.sub_language, 0)};
  }
  return std::nullopt;
}

}  // namespace kv
