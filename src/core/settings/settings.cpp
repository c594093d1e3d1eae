#include "settings/settings.h"

#include <type_traits>

#include "process/pipeline/filter_set.h"
#include "settings/vr_ini_file.h"

namespace ravinel {

namespace {

// Every section and key of the file in the order written, each bound to its field. One
// list serves reading and writing, so the two cannot disagree.
template <typename Keys>
void visitSettings(Keys& io, Settings& s) {
    io.section("ThumbForm");
    ThumbFormConf& form = s.thumbForm;
    io.entry("Maximized", form.maximized);
    io.entry("", form.bounds);
    io.entry("TreeAlign", form.treeAlign);
    io.entry("TreeWidth", form.treeWidth);
    io.entry("ViewStyle", form.viewStyle);

    io.section("ThumbConf");
    ThumbConf& conf = s.thumbConf;
    io.entry("HiQuality", conf.hiQuality);
    io.entry("ExecOnClick", conf.execOnClick);
    io.entry("UseViXCat", conf.useVixCat);
    io.entry("UseViXCatFirst", conf.useVixCatFirst);
    io.entry("OpenArc", conf.openArc);
    io.entry("CloseArcList", conf.closeArcList);
    io.entry("SortMode", conf.sortMode);
    io.entry("ViXHomeDir", conf.vixHomeDir);
    io.entry("UseSharedCache", conf.useSharedCache);

    io.section("ThumbPanel");
    ThumbPanel& panel = s.thumbPanel;
    io.entry("Style", panel.style);
    io.entry("PanelH", panel.panelH);
    io.entry("PanelW", panel.panelW);
    io.entry("ImageSize", panel.imageSize);
    io.entry("ImageTop", panel.imageTop);
    io.entry("LabelTop", panel.labelTop);
    io.entry("PnlBkCol", panel.pnlBkCol);
    io.entry("PanelCol", panel.panelCol);
    io.entry("LblBkCol", panel.lblBkCol);
    io.entry("LblTxCol", panel.lblTxCol);
    io.entry("LblBkSelCol", panel.lblBkSelCol);
    io.entry("LblTxSelCol", panel.lblTxSelCol);
    io.entry("LabelFont", panel.labelFont);
    io.entry("LabelChar", panel.labelChar);
    io.entry("LabelFSize", panel.labelFSize);
    io.entry("LabelStyle", panel.labelStyle);

    io.section("ViewForm");
    ViewFormConf& view = s.viewForm;
    io.entry("SizeMode", view.sizeMode);
    io.entry("SizeFixed", view.sizeFixed);
    io.entry("SizeRate", view.sizeRate);
    io.entry("PosMode", view.posMode);
    io.entry("WBuffer", view.wBuffer);
    io.entry("Frameless", view.frameless);
    io.entry("PlayAnimation", view.playAnimation);
    io.entry("PreloadCount", s.preloadCount);

    io.section("ViewConf");
    GProcessSettings& process = s.viewConf;
    io.entry("ReductMode", process.reductMode);
    io.entry("ExpandMode", process.expandMode);
    io.entry("ColorMode", process.colorMode);
    io.entry("FltInReduct", process.fltInReduct);
    io.entry("FltInExpand", process.fltInExpand);
    io.entry("FltInOgsize", process.fltInOgsize);
    io.entry("Dither", process.dither);
    io.entry("3DNow", process.use3DNow);

    io.section("OptionForm");
    io.entry("SelectPage", s.selectPage);

    io.section("GLoader");
    io.entry("DoAnalyze", s.loaderFlags.doAnalyze);
    io.entry("UseSPIPrev", s.loaderFlags.useSpiPrev);
    io.entry("InBMPFirst", s.loaderFlags.inBmpFirst);
    io.entry("InJPGFirst", s.loaderFlags.inJpgFirst);
    io.entry("UseOrientation", s.loaderFlags.useOrientation);
    io.entry("MaxSide", s.loaderFlags.maxSide);
    io.entry("UseColorProfile", s.loaderFlags.useColorProfile);
    io.entry("AlphaBackground", s.loaderFlags.alphaBackground);
    io.entry("AlphaColor", s.loaderFlags.alphaColor);

    io.section("SPI");
    io.entry("SearchOpt", s.spiSearchOptions);

    io.section("File");
    io.entry("LastDir", s.lastDir);

    io.section("UI");
    io.entry("Language", s.uiLanguage);
}

// Reads each key over its field; the field's value on entry is the default. Integers
// read into narrower fields keep their low bits.
class KeyReader {
  public:
    explicit KeyReader(VrIniFile& ini) : ini_(ini) {}

    void section(const char* name) { ini_.setSection(name); }
    void entry(const char* key, bool& field) { field = ini_.readBool(key, field); }
    void entry(const char* key, int32_t& field) { field = ini_.readInteger(key, field); }
    template <typename Mode>
    requires std::is_enum_v<Mode>
    void entry(const char* key, Mode& field) {
        uint8_t number = modeIndex(field);
        entry(key, number);
        field = modeOfIndex<Mode>(number);
    }
    void entry(const char* key, uint8_t& field) {
        field = static_cast<uint8_t>(ini_.readInteger(key, field));
    }
    void entry(const char* key, uint16_t& field) {
        field = static_cast<uint16_t>(ini_.readInteger(key, field));
    }
    void entry(const char* key, double& field) { field = ini_.readFloat(key, field); }
    void entry(const char* key, std::string& field) { field = ini_.readString(key, field); }
    void entry(const char* key, Color& field) { field = ini_.readColor(key, field); }
    void entry(const char* key, Rect& field) { field = ini_.readRect(key, field); }
    void entry(const char* key, FilterSet& field) {
        field = filterSetFromText(ini_.readString(key, filterSetToText(field)));
    }

  private:
    VrIniFile& ini_;
};

class KeyWriter {
  public:
    explicit KeyWriter(VrIniFile& ini) : ini_(ini) {}

    void section(const char* name) { ini_.setSection(name); }
    void entry(const char* key, bool field) { ini_.writeBool(key, field); }
    void entry(const char* key, int32_t field) { ini_.writeInteger(key, field); }
    void entry(const char* key, uint8_t field) { ini_.writeInteger(key, field); }
    template <typename Mode>
    requires std::is_enum_v<Mode>
    void entry(const char* key, Mode field) { entry(key, modeIndex(field)); }
    void entry(const char* key, uint16_t field) { ini_.writeInteger(key, field); }
    void entry(const char* key, double field) { ini_.writeFloat(key, field); }
    void entry(const char* key, const std::string& field) { ini_.writeString(key, field); }
    void entry(const char* key, Color field) { ini_.writeColor(key, field); }
    void entry(const char* key, const Rect& field) { ini_.writeRect(key, field); }
    void entry(const char* key, const FilterSet& field) {
        ini_.writeString(key, filterSetToText(field));
    }

  private:
    VrIniFile& ini_;
};

}  // namespace

Settings loadSettings(const std::string& path) {
    VrIniFile ini(path);
    Settings settings;
    KeyReader reader(ini);
    visitSettings(reader, settings);
    return settings;
}

void saveSettings(Settings& settings, const std::string& path) {
    VrIniFile ini(path);
    if (settings.thumbForm.maximized) {
        ini.setSection("ThumbForm");
        settings.thumbForm.bounds = ini.readRect("", ThumbFormConf{}.bounds);
    }
    ini.clear();
    KeyWriter writer(ini);
    visitSettings(writer, settings);
    ini.updateFile();
}

}  // namespace ravinel
