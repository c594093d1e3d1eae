#include "common/elided_file_name.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

namespace ravinel {
namespace {

// Long names shortened in the middle keep their extension and their two ends, fit the
// width, and names that differ only at one end stay different.
TEST(ElidedFileName, ShortensInTheMiddleAndKeepsTheExtension) {
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance("wallpaper_0123.jpg");
    struct Case {
        QString name;
        QString extension;  // what the shortened name ends with
    };
    const Case cases[] = {
        {"backgrounds_gnome_adwaita-l.jpg", ".jpg"},    {"backgrounds_gnome_adwaita-d.jpg", ".jpg"},
        {"an_archive_of_last_summer.tar.gz", ".gz"},    {".a_hidden_file_with_a_long_name", "name"},
        {"a_name_without_any_extension_at_all", "all"},
    };
    QStringList shown;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString text = elidedFileName(c.name, metrics, width);
        EXPECT_LE(metrics.horizontalAdvance(text), width);
        EXPECT_TRUE(text.contains(QChar(0x2026)));
        EXPECT_TRUE(text.endsWith(c.extension)) << text.toStdString();
        EXPECT_EQ(text.front(), c.name.front());
        shown << text;
    }
    EXPECT_NE(shown[0], shown[1]) << "names differing near their end";

    EXPECT_EQ(elidedFileName("short.jpg", metrics, width), "short.jpg");
    // Too narrow for the extension: still no wider than asked, and never empty of "…".
    const QString narrow =
        elidedFileName("backgrounds_gnome.jpeg", metrics, metrics.horizontalAdvance("x.jp"));
    EXPECT_LE(metrics.horizontalAdvance(narrow), metrics.horizontalAdvance("x.jp"));
}

}  // namespace
}  // namespace ravinel
