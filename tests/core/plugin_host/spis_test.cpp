#include "plugin_host/spis.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "codec/builtin_decoders.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spis_search.h"
#include "tests/core/plugin_host/spi_test_plugins.h"
#include "tests/expect_error.h"
#include "tests/scoped_env.h"

namespace ravinel {
namespace {

using testing::decodedBy;
using testing::expectError;
using testing::fixturePicture;
using testing::installFixture;
using testing::kRvtestTag;
using testing::ScopedEnv;
using testing::TempDir;

// Changes the current folder for one test.
class ScopedCurrentFolder {
  public:
    explicit ScopedCurrentFolder(const std::string& folder)
        : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentFolder() {
        std::error_code ignored;
        std::filesystem::current_path(old_, ignored);
    }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

  private:
    std::filesystem::path old_;
};

constexpr uid_t nobody = 65534;
// The owner or group chown leaves as it is.
constexpr uid_t keep = static_cast<uid_t>(-1);

std::string nameOf(const Spi& spi) {
    return std::filesystem::path(spi.fileName()).filename();
}

TEST(SpisTest, OnlyOneHostAtATime) {
    {
        Spis first;
        expectError<SpiDupCreateSpisError>([] { Spis second; }, "TSPIs は複数生成できません");
    }
    Spis afterTheFirst;
    EXPECT_TRUE(afterTheFirst.macBinary);
    EXPECT_FALSE(afterTheFirst.graphicPreview);
    EXPECT_EQ(afterTheFirst.searchOptions, spsSusieDir | spsAppDir);
}

TEST(SpisTest, LoadsAPluginAndItsInformation) {
    TempDir dir;
    const std::string path = installFixture(dir, "rvtest", "rvtest.spi");
    const auto spi = Spi::load(path);
    EXPECT_EQ(spi->fileName(), std::filesystem::canonical(path).string());
    EXPECT_EQ(spi->kind(), SpiKind::inSpi);
    EXPECT_EQ(spi->apiVersion(), "00IN");
    EXPECT_EQ(spi->pluginName(), "Ravinel test plug-in");
    EXPECT_EQ(spi->filters(), (std::vector<std::string>{"*.rvt", "*.rva;*.rvb;*.rvc"}));
    EXPECT_EQ(spi->descriptions(),
              (std::vector<std::string>{"Ravinel test picture", "Ravinel three masks"}));
    EXPECT_NE(spi->exports().getPreview, nullptr);
    EXPECT_EQ(spi->exports().getArchiveInfo, nullptr);
}

TEST(SpisTest, KindFollowsTheApiVersion) {
    TempDir dir;
    EXPECT_EQ(Spi::load(installFixture(dir, "archive", "archive.spi"))->kind(), SpiKind::amSpi);
    EXPECT_EQ(Spi::load(installFixture(dir, "other", "other.spi"))->kind(), SpiKind::xnSpi);
    EXPECT_EQ(Spi::load(installFixture(dir, "nopreview", "np.spi"))->exports().getPreview, nullptr);
}

TEST(SpisTest, LoadFailuresAndMissingExports) {
    TempDir dir;
    const std::vector<uint8_t> junk{1, 2, 3};
    const std::string notAnObject = dir.write("junk.spi", junk);
    expectError<SpiFOpenErrorSpiError>([&] { Spi::load(notAnObject); },
                                       notAnObject + ":Susie Pluginがロードできませんでした");
    const std::string noInfo = installFixture(dir, "noinfo", "noinfo.spi");
    expectError<SpiInvalidApiError>([&] { Spi::load(noInfo); },
                                    "GetPluginInfoは[" +
                                        std::filesystem::canonical(noInfo).string() +
                                        "]では使えないSusie Plugin APIです");
}

TEST(SpisTest, SearchSkipsUnloadableAndHiddenFilesAndLoadsOnce) {
    TempDir dir;
    installFixture(dir, "rvtest", "a.spi");
    installFixture(dir, "nopreview", "B.SPI");
    installFixture(dir, "archive", ".hidden.spi");
    installFixture(dir, "other", "other.dll");
    const std::vector<uint8_t> junk{1, 2, 3};
    dir.write("c.spi", junk);
    std::filesystem::create_directory(dir.path("d.spi"));

    Spis spis;
    std::vector<std::string> offered;
    spis.onSearching = [&](const std::string& path, bool&) { offered.push_back(path); };
    std::vector<std::string> failed;
    spis.onLoadError = [&](const SpiError& e) {
        failed.push_back(e.what());
        const auto* notOpened = dynamic_cast<const SpiFOpenErrorSpiError*>(&e);
        ASSERT_NE(notOpened, nullptr);
        EXPECT_FALSE(notOpened->detail().empty());
    };
    spis.search(dir.path("*.spi"));
    EXPECT_EQ(failed, std::vector<std::string>{dir.path("c.spi") +
                                               ":Susie Pluginがロードできませんでした"});
    ASSERT_EQ(spis.count(), 2);
    EXPECT_EQ(nameOf(spis.item(0)), "B.SPI");
    EXPECT_EQ(nameOf(spis.item(1)), "a.spi");
    EXPECT_EQ(offered,
              (std::vector<std::string>{dir.path("B.SPI"), dir.path("a.spi"), dir.path("c.spi")}));

    // Searching again finds nothing new: the plug-ins already loaded are not offered.
    offered.clear();
    spis.search(dir.path("*.spi"));
    EXPECT_EQ(spis.count(), 2);
    EXPECT_EQ(offered, std::vector<std::string>{dir.path("c.spi")});
    EXPECT_EQ(spis.indexOfFileName(spis.item(1).fileName()), 1);
    EXPECT_EQ(spis.indexOfFileName(dir.path("none.spi")), -1);
}

TEST(SpisTest, SearchHandlersDecide) {
    TempDir dir;
    installFixture(dir, "rvtest", "a.spi");
    installFixture(dir, "nopreview", "b.spi");
    installFixture(dir, "archive", "c.spi");
    Spis spis;
    spis.onSearching = [&](const std::string& path, bool& accept) {
        accept = path != dir.path("a.spi");
    };
    spis.onSearch = [](const Spi& spi, bool& accept) {
        if (spi.kind() == SpiKind::amSpi) {
            throw std::runtime_error("a failing handler drops the plug-in");
        }
        accept = true;
    };
    spis.search(dir.path("*.spi"));
    ASSERT_EQ(spis.count(), 1);
    EXPECT_EQ(nameOf(spis.item(0)), "b.spi");
}

// A plug-in without the exports it needs, found first, costs only itself: the files after
// it and the places after its place still load and decode.
TEST(SpisTest, BrokenPluginIsReportedAndTheSearchGoesOn) {
    TempDir first;
    TempDir next;
    const std::string broken = installFixture(first, "noinfo", "a.spi");
    installFixture(first, "nopreview", "b.spi");
    installFixture(next, "rvtest", "c.spi");
    const ScopedEnv susie("SUSIE_PLUGIN_DIR", first.path(""));
    const ScopedCurrentFolder current(next.path(""));
    Spis spis;
    spis.searchOptions = spsSusieDir | spsCurrentDir;
    std::vector<std::string> reported;
    searchSpiFiles(spis, [&](const std::string& line) { reported.push_back(line); });
    EXPECT_EQ(reported, std::vector<std::string>{"GetPluginInfoは[" +
                                                 std::filesystem::canonical(broken).string() +
                                                 "]では使えないSusie Plugin APIです"});
    ASSERT_EQ(spis.count(), 2);
    EXPECT_EQ(nameOf(spis.item(0)), "b.spi");
    EXPECT_EQ(nameOf(spis.item(1)), "c.spi");
    NkDib picture;
    spis.loadFile(picture, next.write("p.rvt", fixturePicture(2, 2)));
    EXPECT_EQ(decodedBy(picture), kRvtestTag);
}

// Code loads only from what nobody but root and the user can change. Each case is the
// folder a start is made in (the current folder place) with one plug-in in it; the
// report names the refused file and why.
TEST(SpisTest, PluginsLoadOnlyFromWhatOthersCannotChange) {
    TempDir dir;
    const std::string base = std::filesystem::canonical(dir.path("")).string();
    const uid_t user = geteuid();
    auto folder = [&](const std::string& name, mode_t mode, uid_t owner = keep,
                      gid_t group = keep) {
        const std::string path = base + "/" + name;
        std::filesystem::create_directory(path);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(::chown(path.c_str(), owner, group), 0);
        return path;
    };
    auto plugin = [&](const std::string& path, mode_t mode = 0755, uid_t owner = keep) {
        std::filesystem::copy_file(std::string(RAVINEL_SPI_FIXTURE_DIR) + "/rvtest.spi", path);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(::chown(path.c_str(), owner, keep), 0);
        return path;
    };
    struct Case {
        const char* what;
        bool needsRoot;
        std::function<std::string()> prepare;  // makes the case, returns the folder
        std::string why;                       // empty when the plug-in loads
    };
    const std::vector<Case> cases = {
        {"the user's folder in a sticky folder", false,
         [&] {
             folder("sticky", 01777);
             plugin(folder("sticky/own", 0755) + "/x.spi");
             return base + "/sticky/own";
         },
         ""},
        {"folder writable by others", false, [&] { return folder("open", 0757); },
         base + "/open is writable by others"},
        {"folder writable by a shared group", true,
         [&] { return folder("shared", 0775, user, nobody); },
         base + "/shared is writable by group 65534"},
        {"another user's folder", true, [&] { return folder("theirs", 0755, nobody); },
         base + "/theirs is owned by user 65534"},
        {"another user's file", true,
         [&] {
             plugin(folder("mine", 0755) + "/x.spi", 0755, nobody);
             return base + "/mine";
         },
         base + "/mine/x.spi is owned by user 65534"},
        {"file writable by others", false,
         [&] {
             plugin(folder("loose", 0755) + "/x.spi", 0757);
             return base + "/loose";
         },
         base + "/loose/x.spi is writable by others"},
        {"folder above writable by others, not sticky", false,
         [&] {
             folder("above", 0777);
             plugin(folder("above/below", 0755) + "/x.spi");
             return base + "/above/below";
         },
         base + "/above is writable by others"},
        {"link to a file in an open folder", false,
         [&] {
             const std::string target = plugin(folder("drop", 0777) + "/real.spi");
             const std::string linked = folder("links", 0755);
             std::filesystem::create_symlink(target, linked + "/x.spi");
             return linked;
         },
         base + "/drop is writable by others"},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && user != 0) {
            continue;  // only root can give files away
        }
        const std::string start = c.prepare();
        if (!std::filesystem::exists(start + "/x.spi")) {
            plugin(start + "/x.spi");
        }
        const ScopedCurrentFolder current(start);
        Spis spis;
        spis.searchOptions = spsCurrentDir;
        std::vector<std::string> reported;
        searchSpiFiles(spis, [&](const std::string& line) { reported.push_back(line); });
        if (c.why.empty()) {
            EXPECT_EQ(spis.count(), 1) << c.what;
            EXPECT_TRUE(reported.empty()) << c.what;
        } else {
            EXPECT_EQ(spis.count(), 0) << c.what;
            EXPECT_EQ(reported,
                      std::vector<std::string>{start +
                                               "/x.spi:Susie Pluginがロードできませんでした "
                                               "(not trusted: " +
                                               c.why + ")"})
                << c.what;
        }
    }

    // A relative plug-in folder would be taken from wherever the program was started.
    const ScopedCurrentFolder current(base);
    const ScopedEnv relative("SUSIE_PLUGIN_DIR", "sticky/own");
    EXPECT_TRUE(spiSearchFolders(spsSusieDir).empty());
}

TEST(SpisTest, SearchPlacesFromTheOptions) {
    TempDir susie;
    installFixture(susie, "rvtest", "susie.spi");
    setenv("SUSIE_PLUGIN_DIR", susie.path("").c_str(), 1);
    const std::vector<std::string> folders =
        spiSearchFolders(spsSusieDir | spsSystemDir | spsWindowsDir);
    EXPECT_EQ(folders, (std::vector<std::string>{susie.path(""), "/usr/local/lib/ravinel/plugins/",
                                                 "/usr/lib/ravinel/plugins/"}));
    {
        Spis spis;
        spis.searchOptions = spsSusieDir;
        spis.search("*.spi");
        ASSERT_EQ(spis.count(), 1);
        EXPECT_EQ(nameOf(spis.item(0)), "susie.spi");
    }
    setenv("SUSIE_PLUGIN_DIR", "", 1);
    EXPECT_TRUE(spiSearchFolders(spsSusieDir).empty());
    unsetenv("SUSIE_PLUGIN_DIR");
    const std::vector<std::string> app = spiSearchFolders(spsAppDir);
    ASSERT_EQ(app.size(), 1u);
    EXPECT_EQ(app[0], std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/");
}

TEST(SpisTest, HubFilterAcceptsPicturePluginsButIfmm) {
    TempDir dir;
    installFixture(dir, "rvtest", "ifpic.spi");
    installFixture(dir, "nopreview", "IfMm.Spi");
    installFixture(dir, "archive", "axarc.spi");
    installFixture(dir, "other", "xn.spi");
    Spis spis;
    spis.onSearch = spisSearch;
    spis.search(dir.path("*.spi"));
    ASSERT_EQ(spis.count(), 1);
    EXPECT_EQ(nameOf(spis.item(0)), "ifpic.spi");
}

TEST(SpisTest, ListOperations) {
    TempDir dir;
    Spis spis;
    spis.add(Spi::load(installFixture(dir, "rvtest", "a.spi")));
    spis.insert(0, Spi::load(installFixture(dir, "nopreview", "b.spi")));
    spis.insert(1, Spi::load(installFixture(dir, "archive", "c.spi")));
    ASSERT_EQ(spis.count(), 3);
    EXPECT_EQ(nameOf(spis.item(0)), "b.spi");
    EXPECT_EQ(nameOf(spis.item(1)), "c.spi");
    const std::string upperName =
        std::filesystem::canonical(dir.path("a.spi")).parent_path().string() + "/A.SPI";
    EXPECT_EQ(spis.indexOfFileName(upperName), 2);
    spis.remove(1);
    EXPECT_EQ(nameOf(spis.item(1)), "a.spi");
    EXPECT_THROW(spis.item(2), std::out_of_range);
    EXPECT_THROW(spis.remove(-1), std::out_of_range);
    EXPECT_THROW(spis.insert(5, Spi::load(dir.path("a.spi"))), std::out_of_range);
    spis.clear();
    EXPECT_EQ(spis.count(), 0);
}

TEST(SpisTest, PictureExtensionsAreRegisteredForEveryMask) {
    TempDir dir;
    Spis spis;
    std::vector<std::string> asked;
    spis.onPictureRegister = [&](const Spi&, const std::string& extension,
                                 const std::string& description,
                                 std::optional<PictureDecoder>& decoder) {
        asked.push_back(extension + "=" + description);
        if (extension == "rvb") {
            decoder.reset();  // suppresses rvb and the masks after it in this entry
        }
    };
    spis.add(Spi::load(installFixture(dir, "rvtest", "a.spi")));
    EXPECT_EQ(asked,
              (std::vector<std::string>{"rvt=Ravinel test picture", "rva=Ravinel three masks",
                                        "rvb=Ravinel three masks", "rvc=Ravinel three masks"}));
    EXPECT_EQ(spis.pictures().find("RVT")->decoder, PictureDecoder{});
    EXPECT_EQ(spis.pictures().find("rva")->description, "Ravinel three masks");
    EXPECT_FALSE(spis.pictures().find("rvb"));
    EXPECT_FALSE(spis.pictures().find("rvc"));
    // Only picture plug-ins register.
    spis.add(Spi::load(installFixture(dir, "archive", "b.spi")));
    EXPECT_FALSE(spis.pictures().find("rvz"));
}

TEST(SpisTest, LaterRegistrationWins) {
    PictureRegistry registry;
    auto builtinFor = [&](const std::string& fileName) {
        return registry.decoderForFile(fileName)->decoder.builtin;
    };
    const BuiltinDecoder* jpeg = builtinFor("/a/photo.JPEG");
    const BuiltinDecoder* bmp = builtinFor("b.bmp");
    const BuiltinDecoder* dib = builtinFor("b.dib");
    ASSERT_TRUE(jpeg && bmp && dib);
    EXPECT_EQ(jpeg->kind, GraphicKind::gkJpeg);
    EXPECT_EQ(bmp->kind, GraphicKind::gkBmp);
    // .dib files go to the DIB class's strict reader, a BMP decoder of its own.
    EXPECT_EQ(dib->kind, GraphicKind::gkBmp);
    EXPECT_NE(dib, bmp);
    EXPECT_EQ(registry.decoderForFile("b.DIB")->description, "Device Independent Bitmap");
    EXPECT_FALSE(registry.decoderForFile("/a.jpg/noext"));
    registry.registerExtension("JPG", PictureDecoder{}, "by a plug-in");
    EXPECT_EQ(registry.decoderForFile("c.jpg")->decoder, PictureDecoder{});
    EXPECT_EQ(builtinFor("c.jpeg"), jpeg);
}

TEST(SpisTest, CandidatesClaimingTheExtensionComeFirst) {
    TempDir dir;
    Spis spis;
    spis.add(Spi::load(installFixture(dir, "rvtest", "a.spi")));     // *.rvt, *.rva...
    spis.add(Spi::load(installFixture(dir, "archive", "b.spi")));    // not a picture one
    spis.add(Spi::load(installFixture(dir, "nopreview", "c.spi")));  // *.rvn
    spis.add(Spi::load(installFixture(dir, "rvtest", "d.spi")));     // *.rvt again
    auto names = [&](const std::string& file) {
        std::vector<std::string> result;
        for (const Spi* spi : spis.getSpis(SpiKind::inSpi, file)) {
            result.push_back(nameOf(*spi));
        }
        return result;
    };
    EXPECT_EQ(names("/x/pic.RVT"), (std::vector<std::string>{"d.spi", "a.spi", "c.spi"}));
    EXPECT_EQ(names("pic.rvn"), (std::vector<std::string>{"c.spi", "a.spi", "d.spi"}));
    EXPECT_EQ(names("pic.rvb"), (std::vector<std::string>{"d.spi", "a.spi", "c.spi"}));
    EXPECT_EQ(names("noextension"), (std::vector<std::string>{"a.spi", "c.spi", "d.spi"}));
}

}  // namespace
}  // namespace ravinel
