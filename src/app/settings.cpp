#include "app/settings.h"

#include "app/vr_ini_file.h"
#include "process/filter_set.h"

namespace ravinel {

namespace {

uint8_t lowByte(int32_t value) {
    return static_cast<uint8_t>(value);
}

void readThumbForm(const VrIniFile& ini, ThumbFormConf& conf) {
    const ThumbFormConf defaults;
    conf.maximized = ini.readBool("Maximized", defaults.maximized);
    conf.bounds = ini.readRect("", defaults.bounds);
    conf.treeWidth = ini.readInteger("TreeWidth", defaults.treeWidth);
    conf.treeAlign = ini.readInteger("TreeAlign", defaults.treeAlign);
    conf.viewStyle = lowByte(ini.readInteger("ViewStyle", defaults.viewStyle));
}

void readThumbConf(const VrIniFile& ini, ThumbConf& conf) {
    const ThumbConf defaults;
    conf.hiQuality = ini.readBool("HiQuality", defaults.hiQuality);
    conf.execOnClick = ini.readBool("ExecOnClick", defaults.execOnClick);
    conf.useVixCat = ini.readBool("UseViXCat", defaults.useVixCat);
    conf.useVixCatFirst = ini.readBool("UseViXCatFirst", defaults.useVixCatFirst);
    conf.openArc = ini.readBool("OpenArc", defaults.openArc);
    conf.closeArcList = ini.readBool("CloseArcList", defaults.closeArcList);
    conf.sortMode = lowByte(ini.readInteger("SortMode", defaults.sortMode));
    conf.vixHomeDir = ini.readString("ViXHomeDir", defaults.vixHomeDir);
}

void readThumbPanel(const VrIniFile& ini, ThumbPanel& panel) {
    const ThumbPanel defaults;
    panel.style = lowByte(ini.readInteger("Style", defaults.style));
    panel.panelH = ini.readInteger("PanelH", defaults.panelH);
    panel.panelW = ini.readInteger("PanelW", defaults.panelW);
    panel.imageSize = ini.readInteger("ImageSize", defaults.imageSize);
    panel.imageTop = ini.readInteger("ImageTop", defaults.imageTop);
    panel.labelTop = ini.readInteger("LabelTop", defaults.labelTop);
    panel.pnlBkCol = ini.readColor("PnlBkCol", defaults.pnlBkCol);
    panel.panelCol = ini.readColor("PanelCol", defaults.panelCol);
    panel.lblBkCol = ini.readColor("LblBkCol", defaults.lblBkCol);
    panel.lblTxCol = ini.readColor("LblTxCol", defaults.lblTxCol);
    panel.lblBkSelCol = ini.readColor("LblBkSelCol", defaults.lblBkSelCol);
    panel.lblTxSelCol = ini.readColor("LblTxSelCol", defaults.lblTxSelCol);
    panel.labelFont = ini.readString("LabelFont", defaults.labelFont);
    panel.labelChar = lowByte(ini.readInteger("LabelChar", defaults.labelChar));
    panel.labelFSize = ini.readInteger("LabelFSize", defaults.labelFSize);
    panel.labelStyle = lowByte(ini.readInteger("LabelStyle", defaults.labelStyle));
}

void readViewForm(const VrIniFile& ini, ViewFormConf& conf) {
    const ViewFormConf defaults;
    conf.sizeMode = lowByte(ini.readInteger("SizeMode", defaults.sizeMode));
    conf.sizeFixed = static_cast<uint16_t>(ini.readInteger("SizeFixed", defaults.sizeFixed));
    conf.sizeRate = ini.readFloat("SizeRate", defaults.sizeRate);
    conf.posMode = lowByte(ini.readInteger("PosMode", defaults.posMode));
    conf.wBuffer = ini.readBool("WBuffer", defaults.wBuffer);
    conf.frameless = ini.readBool("Frameless", defaults.frameless);
}

void readViewConf(const VrIniFile& ini, GProcessSettings& conf) {
    const GProcessSettings defaults = defaultViewConf();
    conf.reductMode = lowByte(ini.readInteger("ReductMode", defaults.reductMode));
    conf.expandMode = lowByte(ini.readInteger("ExpandMode", defaults.expandMode));
    conf.colorMode = lowByte(ini.readInteger("ColorMode", defaults.colorMode));
    conf.fltInReduct =
        filterSetFromText(ini.readString("FltInReduct", filterSetToText(defaults.fltInReduct)));
    conf.fltInExpand =
        filterSetFromText(ini.readString("FltInExpand", filterSetToText(defaults.fltInExpand)));
    conf.fltInOgsize =
        filterSetFromText(ini.readString("FltInOgsize", filterSetToText(defaults.fltInOgsize)));
    conf.dither = ini.readBool("Dither", defaults.dither);
    conf.use3DNow = ini.readBool("3DNow", defaults.use3DNow);
}

void readLoaderFlags(const VrIniFile& ini, LoaderFlags& flags) {
    const LoaderFlags defaults;
    flags.doAnalyze = ini.readBool("DoAnalyze", defaults.doAnalyze);
    flags.useSpiPrev = ini.readBool("UseSPIPrev", defaults.useSpiPrev);
    flags.inBmpFirst = ini.readBool("InBMPFirst", defaults.inBmpFirst);
    flags.inJpgFirst = ini.readBool("InJPGFirst", defaults.inJpgFirst);
}

void writeThumbForm(VrIniFile& ini, const ThumbFormConf& conf) {
    ini.writeBool("Maximized", conf.maximized);
    ini.writeRect("", conf.bounds);
    ini.writeInteger("TreeAlign", conf.treeAlign);
    ini.writeInteger("TreeWidth", conf.treeWidth);
    ini.writeInteger("ViewStyle", conf.viewStyle);
}

void writeThumbConf(VrIniFile& ini, const ThumbConf& conf) {
    ini.writeBool("HiQuality", conf.hiQuality);
    ini.writeBool("ExecOnClick", conf.execOnClick);
    ini.writeBool("UseViXCat", conf.useVixCat);
    ini.writeBool("UseViXCatFirst", conf.useVixCatFirst);
    ini.writeBool("OpenArc", conf.openArc);
    ini.writeBool("CloseArcList", conf.closeArcList);
    ini.writeInteger("SortMode", conf.sortMode);
    ini.writeString("ViXHomeDir", conf.vixHomeDir);
}

void writeThumbPanel(VrIniFile& ini, const ThumbPanel& panel) {
    ini.writeInteger("Style", panel.style);
    ini.writeInteger("PanelH", panel.panelH);
    ini.writeInteger("PanelW", panel.panelW);
    ini.writeInteger("ImageSize", panel.imageSize);
    ini.writeInteger("ImageTop", panel.imageTop);
    ini.writeInteger("LabelTop", panel.labelTop);
    ini.writeColor("PnlBkCol", panel.pnlBkCol);
    ini.writeColor("PanelCol", panel.panelCol);
    ini.writeColor("LblBkCol", panel.lblBkCol);
    ini.writeColor("LblTxCol", panel.lblTxCol);
    ini.writeColor("LblBkSelCol", panel.lblBkSelCol);
    ini.writeColor("LblTxSelCol", panel.lblTxSelCol);
    ini.writeString("LabelFont", panel.labelFont);
    ini.writeInteger("LabelChar", panel.labelChar);
    ini.writeInteger("LabelFSize", panel.labelFSize);
    ini.writeInteger("LabelStyle", panel.labelStyle);
}

void writeViewForm(VrIniFile& ini, const ViewFormConf& conf) {
    ini.writeInteger("SizeMode", conf.sizeMode);
    ini.writeInteger("SizeFixed", conf.sizeFixed);
    ini.writeFloat("SizeRate", conf.sizeRate);
    ini.writeInteger("PosMode", conf.posMode);
    ini.writeBool("WBuffer", conf.wBuffer);
    ini.writeBool("Frameless", conf.frameless);
}

void writeViewConf(VrIniFile& ini, const GProcessSettings& conf) {
    ini.writeInteger("ReductMode", conf.reductMode);
    ini.writeInteger("ExpandMode", conf.expandMode);
    ini.writeInteger("ColorMode", conf.colorMode);
    ini.writeString("FltInReduct", filterSetToText(conf.fltInReduct));
    ini.writeString("FltInExpand", filterSetToText(conf.fltInExpand));
    ini.writeString("FltInOgsize", filterSetToText(conf.fltInOgsize));
    ini.writeBool("Dither", conf.dither);
    ini.writeBool("3DNow", conf.use3DNow);
}

void writeLoaderFlags(VrIniFile& ini, const LoaderFlags& flags) {
    ini.writeBool("DoAnalyze", flags.doAnalyze);
    ini.writeBool("UseSPIPrev", flags.useSpiPrev);
    ini.writeBool("InBMPFirst", flags.inBmpFirst);
    ini.writeBool("InJPGFirst", flags.inJpgFirst);
}

}  // namespace

Settings loadSettings(const std::string& path) {
    VrIniFile ini(path);
    const Settings defaults;
    Settings settings;
    ini.setSection("ThumbForm");
    readThumbForm(ini, settings.thumbForm);
    ini.setSection("ThumbConf");
    readThumbConf(ini, settings.thumbConf);
    ini.setSection("ThumbPanel");
    readThumbPanel(ini, settings.thumbPanel);
    ini.setSection("ViewForm");
    readViewForm(ini, settings.viewForm);
    ini.setSection("ViewConf");
    readViewConf(ini, settings.viewConf);
    ini.setSection("OptionForm");
    settings.selectPage = ini.readInteger("SelectPage", defaults.selectPage);
    ini.setSection("GLoader");
    readLoaderFlags(ini, settings.loaderFlags);
    ini.setSection("SPI");
    settings.spiSearchOptions = lowByte(ini.readInteger("SearchOpt", defaults.spiSearchOptions));
    ini.setSection("File");
    settings.lastDir = ini.readString("LastDir", defaults.lastDir);
    return settings;
}

void saveSettings(Settings& settings, const std::string& path) {
    VrIniFile ini(path);
    if (settings.thumbForm.maximized) {
        ini.setSection("ThumbForm");
        settings.thumbForm.bounds = ini.readRect("", ThumbFormConf{}.bounds);
    }
    ini.clear();
    ini.setSection("ThumbForm");
    writeThumbForm(ini, settings.thumbForm);
    ini.setSection("ThumbConf");
    writeThumbConf(ini, settings.thumbConf);
    ini.setSection("ThumbPanel");
    writeThumbPanel(ini, settings.thumbPanel);
    ini.setSection("ViewForm");
    writeViewForm(ini, settings.viewForm);
    ini.setSection("ViewConf");
    writeViewConf(ini, settings.viewConf);
    ini.setSection("OptionForm");
    ini.writeInteger("SelectPage", settings.selectPage);
    ini.setSection("GLoader");
    writeLoaderFlags(ini, settings.loaderFlags);
    ini.setSection("SPI");
    ini.writeInteger("SearchOpt", settings.spiSearchOptions);
    ini.setSection("File");
    ini.writeString("LastDir", settings.lastDir);
    ini.updateFile();
}

}  // namespace ravinel
