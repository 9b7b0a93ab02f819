#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "app/MainWindow.h"

namespace velmor::app {
namespace {

// Every control of every tab is seen whole: none reaches past the page area, where the tab
// control would cut it off. The page frames are the pages' own background and are not counted;
// the controls on them are.
TEST(TabPages, ShowEveryControlWhole) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget* page = tabs->currentWidget();
        const QRect area =
            QRect(page->mapTo(tabs, QPoint(0, 0)), page->size()).intersected(tabs->rect());
        int controls = 0;
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(page) || child->parentWidget()->inherits("QComboBox") ||
                (child->parentWidget() == page && child->inherits("QGroupBox"))) {
                continue;  // the page frame, or a list's own parts
            }
            ++controls;
            const QRect place(child->mapTo(tabs, QPoint(0, 0)), child->size());
            EXPECT_TRUE(area.contains(place))
                << tabs->tabText(i).toStdString() << ": " << child->objectName().toStdString()
                << " at " << place.x() << ',' << place.y() << ' ' << place.width() << 'x'
                << place.height() << " outside the page " << area.x() << ',' << area.y() << ' '
                << area.width() << 'x' << area.height();
        }
        EXPECT_GE(controls, 4) << tabs->tabText(i).toStdString();
    }
}

}  // namespace
}  // namespace velmor::app
