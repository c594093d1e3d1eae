#include "common/ui_language.h"

#include <QCoreApplication>
#include <QTranslator>
#include <optional>

namespace ravinel {

namespace {

std::optional<UiLanguage> languageNamed(const QString& name) {
    if (name.startsWith(QLatin1String("ja"))) {
        return UiLanguage::japanese;
    }
    if (name.startsWith(QLatin1String("en"))) {
        return UiLanguage::english;
    }
    return std::nullopt;
}

}  // namespace

UiLanguage chooseUiLanguage(const std::string& setting, const QLocale& locale) {
    if (const auto chosen = languageNamed(qEnvironmentVariable("RAVINEL_LANG"))) {
        return *chosen;
    }
    if (const auto chosen = languageNamed(QString::fromStdString(setting))) {
        return *chosen;
    }
    return locale.language() == QLocale::Japanese ? UiLanguage::japanese : UiLanguage::english;
}

bool useUiLanguage(QTranslator& translator, UiLanguage language) {
    QCoreApplication::removeTranslator(&translator);
    if (language == UiLanguage::japanese) {
        return true;
    }
    return translator.load(QStringLiteral(":/i18n/ravinel_en.qm")) &&
           QCoreApplication::installTranslator(&translator);
}

}  // namespace ravinel
