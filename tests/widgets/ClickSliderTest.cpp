#include <gtest/gtest.h>

#include <QtTest>

#include "widgets/ClickSlider.h"

namespace velmor::widgets {
namespace {

TEST(ClickSlider, ReportsAMouseClickWithTheSettledValueOnly) {
    ClickSlider slider;
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    std::vector<int> seen;
    QObject::connect(&slider, &ClickSlider::clicked, [&] { seen.push_back(slider.value()); });
    QTest::mouseClick(&slider, Qt::LeftButton);  // right of the thumb: pages up
    EXPECT_GT(slider.value(), 0);
    EXPECT_EQ(seen, std::vector{slider.value()});
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(seen.size(), 1u) << "keys are no click";
}

}  // namespace
}  // namespace velmor::widgets
