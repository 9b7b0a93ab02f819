#pragma once

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

namespace velmor::test {

// A main form on the fake platform, with typed access to its controls by name.
class FormTest : public testing::Test {
  protected:
    template <typename Widget>
    Widget& get(const char* name) {
        return findControl<Widget>(form->window(), name);
    }
    QCheckBox& box(const char* name) { return get<QCheckBox>(name); }
    QRadioButton& option(const char* name) { return get<QRadioButton>(name); }
    QComboBox& list(const char* name) { return get<QComboBox>(name); }
    QSlider& slider(const char* name) { return get<QSlider>(name); }
    QString labelText(const char* name) { return get<QLabel>(name).text(); }

    FakePlatform fake;
    std::unique_ptr<app::MainForm> form = std::make_unique<app::MainForm>(fake.platform);
};

}  // namespace velmor::test
