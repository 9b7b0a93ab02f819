#include "interlocks/Interlocks.h"

#include <QTest>

#include "support/FormTest.h"
#include "widgets/ClickSlider.h"

namespace velmor::test {
namespace {

class Interlocks : public FormTest {
  protected:
    void SetUp() override { form->formLoad(); }
    void click(const char* name) { option(name).click(); }
};

TEST_F(Interlocks, NormalModeForces256ColoursAndTheSmallResolutions) {
    click("Option6");
    click("Option4");
    click("Option11");
    box("Check15").setCheckState(Qt::Checked);
    click("Option5");
    EXPECT_TRUE(option("Option3").isChecked());
    EXPECT_FALSE(option("Option4").isEnabled());
    EXPECT_FALSE(option("Option11").isChecked() || option("Option12").isChecked());
    EXPECT_FALSE(option("Option11").isEnabled() || option("Option12").isEnabled());
    EXPECT_TRUE(option("Option7").isEnabled() && option("Option8").isEnabled());
    EXPECT_EQ(box("Check15").text(), "Enable Eagle");
    EXPECT_FALSE(box("Check15").isEnabled() || box("Check15").isChecked());
    EXPECT_FALSE(box("Check17").isEnabled() || box("Check18").isEnabled());
}

TEST_F(Interlocks, Vesa2Leaves256x256UnselectedAndDisabled) {
    click("Option7");
    click("Option6");
    EXPECT_FALSE(option("Option7").isChecked() || option("Option7").isEnabled());
    EXPECT_TRUE(option("Option4").isEnabled() && option("Option11").isEnabled());
    EXPECT_FALSE(option("Option8").isChecked() || option("Option11").isChecked());
    EXPECT_FALSE(box("Check17").isEnabled());  // 320x240 is not the resolution
    EXPECT_TRUE(box("Check18").isEnabled());
}

TEST_F(Interlocks, SixteenBitTakesGammaAwayButLeavesItsLabelText) {
    slider("Slider2").setValue(3);
    QTest::mouseClick(&slider("Slider2"), Qt::LeftButton, {}, slider("Slider2").rect().center());
    const QString label = labelText("Label13");
    EXPECT_TRUE(label.startsWith("Gamma Correction:  "));
    box("Check19").setCheckState(Qt::Checked);
    click("Option4");
    EXPECT_EQ(slider("Slider2").value(), 0);
    EXPECT_FALSE(slider("Slider2").isEnabled());
    EXPECT_FALSE(get<QLabel>("Label13").isEnabled());
    EXPECT_EQ(labelText("Label13"), label);
    EXPECT_EQ(box("Check15").text(), "Interpolation");
    EXPECT_FALSE(box("Check19").isEnabled());
    EXPECT_EQ(box("Check19").checkState(), Qt::Unchecked);
    click("Option3");
    EXPECT_TRUE(slider("Slider2").isEnabled() && box("Check19").isEnabled());
}

TEST_F(Interlocks, AutoFrameSkipFlipsTheSliderAndZeroesIt) {
    slider("Slider3").setValue(4);
    box("Check12").click();
    EXPECT_EQ(slider("Slider3").value(), 0);
    EXPECT_FALSE(slider("Slider3").isEnabled());
    EXPECT_FALSE(get<QLabel>("Label14").isEnabled());
    box("Check12").click();
    EXPECT_TRUE(slider("Slider3").isEnabled());
    EXPECT_TRUE(get<QLabel>("Label14").isEnabled());
    EXPECT_EQ(slider("Slider3").value(), 0);
}

TEST_F(Interlocks, ResolutionsDecideScalingCentringAndScanlines) {
    click("Option5");
    click("Option8");  // normal mode: scaling stays off
    EXPECT_FALSE(box("Check17").isEnabled());
    EXPECT_FALSE(box("Check16").isEnabled());
    click("Option6");
    click("Option11");
    click("Option8");
    EXPECT_TRUE(box("Check17").isEnabled());
    EXPECT_FALSE(box("Check18").isEnabled());
    click("Option11");
    EXPECT_TRUE(box("Check15").isEnabled() && box("Check16").isEnabled());
    EXPECT_TRUE(box("Check17").isEnabled() && box("Check18").isEnabled());
    EXPECT_EQ(box("Check17").text(), "No Image Scale");
    box("Check16").setCheckState(Qt::Checked);
    click("Option12");
    EXPECT_FALSE(box("Check16").isEnabled());
    EXPECT_EQ(box("Check16").checkState(), Qt::Unchecked);
    EXPECT_EQ(box("Check17").text(), "No Image Scale");  // nothing gives the old caption back
}

TEST_F(Interlocks, OnlyTheCpuSliderFollowsTheKeys) {
    const QString gamma = labelText("Label13");
    const QString frameSkip = labelText("Label14");
    for (const char* name : {"Slider1", "Slider2", "Slider3"}) {
        slider(name).setFocus();
        QTest::keyClick(&slider(name), Qt::Key_Right);
    }
    EXPECT_EQ(labelText("Label7"), "Percentage of CPU cycles to Execute:  101");
    EXPECT_EQ(slider("Slider2").value(), 1);
    EXPECT_EQ(labelText("Label13"), gamma);
    EXPECT_EQ(labelText("Label14"), frameSkip);
    // A mouse click on the slider (reported by the slider itself) shows its value.
    slider("Slider3").setValue(7);
    emit qobject_cast<widgets::ClickSlider*>(&slider("Slider3"))->clicked();
    EXPECT_EQ(labelText("Label14"), "Frame Skip:  7");
}

}  // namespace
}  // namespace velmor::test
