#pragma once

#include <QLocale>
#include <string>

class QTranslator;

namespace ravinel {

// The language of the windows. The texts of the sources are Japanese; English comes from
// the translation built into the program.
enum class UiLanguage { japanese, english };

// RAVINEL_LANG ("ja" or "en") decides first, then the setting ("ja" or "en"; anything
// else follows the locale), then the locale: Japanese for a Japanese one, else English.
UiLanguage chooseUiLanguage(const std::string& setting, const QLocale& locale);

// Installs the translation of language through translator (none for Japanese); false
// when it could not be loaded, and the windows then show the Japanese texts.
bool useUiLanguage(QTranslator& translator, UiLanguage language);

}  // namespace ravinel
