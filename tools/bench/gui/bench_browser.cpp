#include "bench_browser.h"

#include <QTimer>

#include "bench_stats.h"

namespace ravinel::bench {

namespace {

void applyDefaults(GraphicLoader& loader) {
    const LoaderFlags flags;
    loader.doAnalyze = flags.doAnalyze;
    loader.useSpiPrev = flags.useSpiPrev;
    loader.inBmpFirst = flags.inBmpFirst;
    loader.inJpgFirst = flags.inJpgFirst;
    loader.useOrientation = flags.useOrientation;
}

}  // namespace

BenchBrowser::BenchBrowser() : view(nullptr, ThumbPanel{}, icons, loader) {
    applyDefaults(loader);
    const ThumbConf conf;
    view.setHiQuality(conf.hiQuality);
    view.setUseCatalog(conf.useVixCat);
    view.setUseCatalogFirst(conf.useVixCatFirst);
    view.setThumbColorBit(24);
    view.resize(778, 561);
    view.show();
}

void BenchBrowser::readFolder(const std::string& dir) {
    list.setDir("");
    list.setDir(dir);
    list.sort(modeIndex(ThumbConf{}.sortMode));
}

std::vector<ImgTnPanel*> BenchBrowser::visibleTiles() const {
    std::vector<ImgTnPanel*> tiles;
    for (int k = 0; k < view.tileCount(); ++k) {
        if (view.tileAt(k)->geometry().intersects(view.rect())) {
            tiles.push_back(view.tileAt(k));
        }
    }
    return tiles;
}

std::vector<double> stepsInEventLoop(const std::function<bool(int)>& step) {
    QEventLoop loop;
    std::vector<double> times;
    Clock::time_point previous;
    int index = 0;
    bool more = true;
    std::function<void()> turn = [&] {
        const Clock::time_point start = Clock::now();
        if (index > 0) {
            times.push_back(millisecondsBetween(previous, start));
        }
        previous = start;
        if (!more) {
            loop.quit();
            return;
        }
        more = step(index++);
        QTimer::singleShot(0, &loop, turn);
    };
    QTimer::singleShot(0, &loop, turn);
    loop.exec();
    return times;
}

}  // namespace ravinel::bench
