#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "app/MainWindow.h"

namespace velmor::app {
namespace {

// No control of any tab reaches past the page area, where the tab control would cut it off.
// The page frames are the pages' background and are not counted; the controls on them are.
TEST(TabPages, ShowEveryControlWhole) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget* page = tabs->currentWidget();
        const QRect area = QRect(page->mapTo(tabs, QPoint()), page->size()) & tabs->rect();
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (child->isVisibleTo(page) && !child->parentWidget()->inherits("QComboBox") &&
                !(child->parentWidget() == page && child->inherits("QGroupBox"))) {
                const QRect place(child->mapTo(tabs, QPoint()), child->size());
                EXPECT_TRUE(area.contains(place))
                    << tabs->tabText(i).toStdString() << ": " << child->objectName().toStdString();
            }
        }
    }
}

// The video page's two captioned frames lie on the page beside its frame (so that their option
// buttons form groups of their own), yet keep their drawn places on that frame.
TEST(TabPages, FramesBesideAPageFrameKeepTheirPlacesOnIt) {
    MainWindow window;
    const auto* page = window.findChild<QWidget*>("Frame10");
    for (const auto& [name, left, top] : {std::tuple{"Frame1", 360, 360}, {"Frame2", 360, 1440}}) {
        const auto* frame = window.findChild<QWidget*>(name);
        ASSERT_TRUE(frame && frame->parentWidget() == page->parentWidget()) << name;
        EXPECT_EQ(frame->pos() - page->pos(), QPoint(left / 15, top / 15)) << name;
    }
}

}  // namespace
}  // namespace velmor::app
