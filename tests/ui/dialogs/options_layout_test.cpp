#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <string>
#include <vector>

#include "tests/ui/dialogs/options_window_fixture.h"

namespace ravinel::testing {
namespace {

// The application's font scaled for one test: larger text stands in for longer
// translations, as both make every text wider.
class ScaledFont {
  public:
    explicit ScaledFont(double scale) : saved_(QApplication::font()) {
        QFont scaled = saved_;
        scaled.setPointSizeF(saved_.pointSizeF() * scale);
        QApplication::setFont(scaled);
    }
    ~ScaledFont() { QApplication::setFont(saved_); }
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;

  private:
    QFont saved_;
};

QString nameOf(const QWidget* widget) {
    return QString("%1 %2 \"%3\"")
        .arg(
            widget->metaObject()->className(), widget->objectName(),
            widget->property(qobject_cast<const QGroupBox*>(widget) ? "title" : "text").toString());
}

// Whether a widget shows its whole text: labels, check boxes, radio buttons and lists at
// least their wished size, push buttons at least their text, group boxes their title,
// list headers every column's title.
bool textFits(const QWidget* widget) {
    if (qobject_cast<const QLabel*>(widget) != nullptr ||
        qobject_cast<const QCheckBox*>(widget) != nullptr ||
        qobject_cast<const QRadioButton*>(widget) != nullptr ||
        qobject_cast<const QComboBox*>(widget) != nullptr) {
        return widget->width() >= widget->sizeHint().width() &&
               widget->height() >= widget->sizeHint().height();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width();
        return button->width() >= button->fontMetrics().horizontalAdvance(button->text()) + icon;
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->width() >= group->minimumSizeHint().width();
    }
    if (const auto* header = qobject_cast<const QHeaderView*>(widget)) {
        for (int i = 0; i < header->count(); ++i) {
            if (header->sectionSize(i) < header->sectionSizeHint(i)) {
                return false;
            }
        }
    }
    return true;
}

// Every shown widget of the window that sticks out of its parent or cuts its text; the
// sample tile draws where its settings say and is left out.
std::vector<QString> cutWidgets(const QWidget& window, const QWidget* sample) {
    std::vector<QString> cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isWindow() || !widget->isVisibleTo(&window) || sample->isAncestorOf(widget)) {
            continue;
        }
        if (!widget->parentWidget()->rect().contains(widget->geometry())) {
            cut.push_back("outside its parent: " + nameOf(widget));
        }
        if (!textFits(widget)) {
            cut.push_back("text cut: " + nameOf(widget));
        }
    }
    return cut;
}

// Tabs that need scroll arrows or show a shortened title.
std::vector<QString> hiddenTabs(const QTabWidget& pages) {
    std::vector<QString> hidden;
    const QTabBar* bar = pages.tabBar();
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) {
        if (arrow->isVisibleTo(bar)) {
            hidden.push_back("scroll arrow shown");
        }
    }
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        if (!bar->rect().contains(tab) ||
            tab.width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i))) {
            hidden.push_back("tab cut: " + bar->tabText(i));
        }
    }
    return hidden;
}

struct LayoutCase {
    const char* what;
    double fontScale;
    QSize growth;  // beyond the smallest size the window allows
};

TEST_F(OptionsTest, EveryPageShowsAllItsControlsAndTextsAtEverySize) {
    const LayoutCase cases[] = {
        {"smallest", 1.0, {0, 0}},
        {"larger", 1.0, {300, 200}},
        {"smallest, wide texts", 1.6, {0, 0}},
        {"larger, wide texts", 1.6, {120, 80}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScaledFont font(c.fontScale);
        OptionsWindow& options = openOptions();
        options.show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QSize wanted = options.minimumSize() + c.growth;
        options.resize(wanted);
        EXPECT_EQ(options.size(), wanted) << "the window takes the size it is given";

        auto* pages = control<QTabWidget>("PageCon");
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            SCOPED_TRACE(pages->tabText(page).toStdString());
            EXPECT_EQ(options.size(), wanted) << "the window was measured with every page";
            for (const QString& problem : cutWidgets(options, options.samplePanel())) {
                ADD_FAILURE() << problem.toStdString();
            }
            for (const QString& problem : hiddenTabs(*pages)) {
                ADD_FAILURE() << problem.toStdString();
            }
        }
        options.close();
    }
}

}  // namespace
}  // namespace ravinel::testing
