#include "common/error_text.h"

#include <QCoreApplication>

#include "archive/archiver_error.h"
#include "platform/translatable.h"
#include "plugin_host/spi_error.h"

namespace ravinel {

namespace {

QString translatedMessage(const char* context, const char* pattern,
                          const std::vector<std::string>& arguments) {
    std::vector<std::string> translated;
    for (const std::string& argument : arguments) {
        // A text unknown to the translations (a path, a name) comes back as it is.
        translated.push_back(QCoreApplication::translate(context, argument.c_str()).toStdString());
    }
    return QString::fromStdString(
        filledText(QCoreApplication::translate(context, pattern).toStdString(), translated));
}

}  // namespace

QString errorText(const std::exception& error) {
    if (const auto* archiver = dynamic_cast<const ArchiverError*>(&error)) {
        return translatedMessage("ArchiverMessage", archiverMessagePattern(archiver->message()),
                                 archiver->arguments());
    }
    if (const auto* spi = dynamic_cast<const SpiError*>(&error)) {
        return translatedMessage("SpiMessage", spiMessagePattern(spi->message()), spi->arguments());
    }
    return QString::fromUtf8(error.what());
}

}  // namespace ravinel
