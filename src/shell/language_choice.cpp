#include "shell/language_choice.h"

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
};

constexpr LanguageCode kLanguageCodes[] = {
    {4, 1, "CT"},   {4, 2, "CN"},   {5, -1, "CZ"},  {7, -1, "DE"},  {9, -1, "EN"},
    {10, -1, "SP"}, {12, -1, "FR"}, {16, -1, "IT"}, {22, -1, "PO"},
};

}  // namespace

LanguageChoice ChooseLanguage(int language, int sub_language) {
  for (const LanguageCode& entry : kLanguageCodes) {
    if (entry.language == language &&
        (entry.sub_language < 0 || entry.sub_language == sub_language)) {
      return {language, entry.code};
    }
  }
  return {kEnglishLanguage, "EN"};
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

}  // namespace kv
