// The plug-in page, the loader's options and the ViX folder of the options window.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <filesystem>
#include <iostream>
#include <mutex>

#include "common/settings_color.h"
#include "dialogs/folder_text.h"
#include "dialogs/options_window.h"
#include "plugin_host/spis.h"
#include "plugin_host/spis_search.h"
#include "settings/settings.h"

namespace ravinel {

namespace {

QString commaText(const std::vector<std::string>& parts) {
    QStringList texts;
    for (const std::string& part : parts) {
        texts << QString::fromStdString(part);
    }
    return texts.join(',');
}

}  // namespace

// The places change at once: every plug-in goes, and those of the new places come.
void OptionsWindow::searchPlacesClick() {
    if (!initializing_) {
        const std::lock_guard hold(context_.pluginLock());
        Spis& spis = context_.spis();
        spis.clear();
        spis.searchOptions = static_cast<uint8_t>((ckBxDirHere_->isChecked() ? spsAppDir : 0) |
                                                  (ckBxDirSusie_->isChecked() ? spsSusieDir : 0));
        context_.settings().spiSearchOptions = spis.searchOptions;
        searchSpiFiles(
            spis, [](const std::string& message) { std::cerr << "ravinel: " << message << "\n"; });
    }
    fillPluginList();
}

void OptionsWindow::fillPluginList() {
    const Spis& spis = context_.spis();
    pluginList_->setUpdatesEnabled(false);
    pluginList_->clearContents();
    pluginList_->setRowCount(spis.count());
    for (int i = 0; i < spis.count(); ++i) {
        const Spi& spi = spis.item(i);
        const QString name =
            QString::fromStdString(std::filesystem::path(spi.fileName()).filename().string());
        pluginList_->setItem(i, 0, new QTableWidgetItem(name));
        pluginList_->setItem(i, 1, new QTableWidgetItem(commaText(spi.filters())));
        pluginList_->setItem(i, 2, new QTableWidgetItem(QString::fromStdString(spi.pluginName())));
    }
    // As wide as their contents and at least their titles, also when there is no plug-in.
    pluginList_->resizeColumnsToContents();
    pluginList_->setUpdatesEnabled(true);
}

// The loader's options change at once, and are kept for the next run.
void OptionsWindow::bindLoaderFlag(QCheckBox* box, bool GraphicLoader::*option,
                                   bool LoaderFlags::*kept) {
    connect(box, &QCheckBox::toggled, this, [this, option, kept](bool on) {
        context_.graphicLoader().*option = on;
        context_.settings().loaderFlags.*kept = on;
    });
}

void OptionsWindow::alphaBackgroundChange(AlphaBackgroundKind kind) {
    LoaderFlags& flags = context_.settings().loaderFlags;
    flags.alphaBackground = kind;
    context_.graphicLoader().alphaBackground = alphaBackgroundOf(flags, palette());
}

// Choosing a colour also chooses the single colour as the background.
void OptionsWindow::buttonAlphaColorClick() {
    LoaderFlags& flags = context_.settings().loaderFlags;
    const std::optional<QColor> chosen = chooseColor(settingsColor(flags.alphaColor, palette()));
    if (!chosen) {
        return;
    }
    flags.alphaColor = settingsColorOf(*chosen);
    showAlphaColor();
    if (rdBtnAlphaColor_->isChecked()) {
        alphaBackgroundChange(AlphaBackgroundKind::color);
    } else {
        rdBtnAlphaColor_->setChecked(true);
    }
}

void OptionsWindow::showAlphaColor() {
    QPixmap swatch(16, 16);
    swatch.fill(settingsColor(context_.settings().loaderFlags.alphaColor, palette()));
    buttonAlphaColor_->setIcon(swatch);
}

void OptionsWindow::buttonVixClick() {
    const std::optional<std::string> chosen = chooseFolder();
    if (!chosen) {
        return;
    }
    const std::string folder = folderWithSlash(*chosen);
    if (!folder.empty()) {
        memoVixDir_->setText(QString::fromStdString(folder));
    }
}

}  // namespace ravinel
