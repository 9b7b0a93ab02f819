#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <stdexcept>

#include "app/pages/ControlsPage.h"
#include "app/pages/MusicPage.h"
#include "app/pages/OptionsPage.h"
#include "app/pages/PathsPage.h"
#include "app/pages/PicturesPage.h"
#include "app/pages/SoundPage.h"
#include "app/pages/VideoPage.h"
#include "widgets/Artwork.h"
#include "widgets/ControlKit.h"
#include "widgets/FitLabel.h"
#include "widgets/Geometry.h"
#include "widgets/PictureButton.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

namespace {

// Seven tabs of one width in a single row that spans the control, as the tab strip was drawn;
// a stock tab bar would size each tab to its caption and scroll when they overflow. Captions
// are centred on the whole tab, since the style's padding would cut the longer ones.
class EvenTabBar final : public QTabBar {
  public:
    explicit EvenTabBar(QWidget* parent) : QTabBar(parent) {
        setExpanding(true);
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideNone);
    }

  protected:
    QSize tabSizeHint(int index) const override {
        const int span = parentWidget() != nullptr ? parentWidget()->width() : width();
        const int each = span / kTabCount;
        // The last tab takes up what the division leaves, so the row ends flush.
        const int width = index == count() - 1 ? span - each * (kTabCount - 1) : each;
        // No taller than the caption needs: every pixel the strip takes is one the pages lack.
        return {width, std::min(QTabBar::tabSizeHint(index).height(), twips(420))};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        // The selected tab last, so that it overlaps its neighbours.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < count(); ++i) {
                if ((i == currentIndex()) != (pass == 1)) {
                    continue;
                }
                QStyleOptionTab option;
                initStyleOption(&option, i);
                const QString caption = option.text;
                option.text.clear();
                painter.drawControl(QStyle::CE_TabBarTabShape, option);
                const QRect face = option.rect.adjusted(0, i == currentIndex() ? 0 : 2, 0, 0);
                painter.setPen(palette().color(
                    isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
                painter.drawText(face, Qt::AlignCenter, caption);
            }
        }
    }
};

class TabControl final : public QTabWidget {
  public:
    explicit TabControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new EvenTabBar(this)); }
};

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmor"));
    setWindowIcon(artwork::windowIcon());
    setFont(dialogFont());
    paintDark(this);
    buildMenus();
    buildClientArea();
    resize(twips(5640), twips(3696) + menuBar()->sizeHint().height());
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // The menus are the desktop's, not the window's: keep them out of the black.
    bar->setPalette(systemPalette());
    bar->setAutoFillBackground(true);

    const auto named = [](QObject* object, const Control& control) { setName(*object, control); };
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    named(file, kFileMenu);
    named(file->addAction(QStringLiteral("Exit")), kExit);

    QMenu* preferences = bar->addMenu(QStringLiteral("Preferences"));
    named(preferences, kPreferencesMenu);
    named(preferences->addAction(QStringLiteral("Options")), kOpt);
    named(preferences->addAction(QStringLiteral("Register Filetypes")), kRegFiles);
    named(preferences->addSeparator(), kSeparator);
    named(preferences->addAction(QStringLiteral("Save Settings Now")), kSaveSettings);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    named(help, kHelpMenu);
    named(help->addAction(QStringLiteral("About")), kAbout);
}

void MainWindow::buildClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setMinimumSize(1, 1);
    setCentralWidget(client);

    // Created in the layout's tab order; later ones lie above earlier ones where they overlap.
    pictureButton(client, kCommand1, artwork::picture(artwork::Picture::Launch),
                  artwork::picture(artwork::Picture::LaunchPressed),
                  twipRect(3120, 3120, 2052, 372),
                  QStringLiteral("Launches the currently selected game"));
    pictureButton(client, kCommand2, artwork::picture(artwork::Picture::ChooseGame),
                  artwork::picture(artwork::Picture::ChooseGamePressed),
                  twipRect(240, 2760, 2055, 252),
                  QStringLiteral("Choose a game from the directory you specified"));

    QLabel* game = label(client, kGmLabel, {}, twipRect(2640, 2760, 2775, 255),
                         QStringLiteral("Name of currently selected game."));
    game->setFrameStyle(QFrame::Box | QFrame::Plain);
    game->setLineWidth(1);
    game->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette field = systemPalette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        field.setColor(group, QPalette::Window, field.color(group, QPalette::Base));
        field.setColor(group, QPalette::WindowText, field.color(group, QPalette::Text));
    }
    game->setPalette(field);
    game->setAutoFillBackground(true);

    auto* tabs = new TabControl(client);
    setName(*tabs, kSSTab1);
    tabs->setGeometry(twipRect(0, 0, kPageWidth, 2652));
    tabs->setPalette(systemPalette());
    tabs->setAutoFillBackground(true);
    // The program switches tabs by their Tab index: a tab added out of that order is a fault.
    const auto add = [tabs](Tab tab, QWidget* page, const QString& caption) {
        if (tabs->addTab(page, caption) != tab) {
            throw std::logic_error("tab " + caption.toStdString() + " added out of order");
        }
    };
    add(kPathsTab, new PathsPage, QStringLiteral("Paths"));
    add(kSoundTab, new SoundPage, QStringLiteral("Sound"));
    add(kVideoTab, new VideoPage, QStringLiteral("Video"));
    add(kControlsTab, new ControlsPage, QStringLiteral("Controls"));
    add(kOptionsTab, new OptionsPage, QStringLiteral("Options"));
    add(kMusicTab, new MusicPage, QStringLiteral("Sonara "));
    add(kPicturesTab, new PicturesPage, QStringLiteral("Pictara's"));
    tabs->setCurrentIndex(kPathsTab);

    // Two pixels high, a frame has no room for its border: paint it as a plain rule that parts
    // the menu from the tabs.
    QGroupBox* rule = frame(client, kFrame3, {}, twipRect(-240, 0, 6372, 30));
    QPalette ruleColour = systemPalette();
    ruleColour.setColor(QPalette::Window, ruleColour.color(QPalette::Mid));
    rule->setPalette(ruleColour);
    rule->setAutoFillBackground(true);

    QLabel* version = fittedLabel(client, kLabel8, QStringLiteral("Version 0.5"),
                                  twipRect(1320, 3360, 792, 192), QStringLiteral("Version Info"));
    version->setAutoFillBackground(false);

    picture(client, kImage3, artwork::picture(artwork::Picture::WindowLogo),
            twipRect(0, 3000, 1392, 708), true);
    // The logo's box reaches a few pixels into the version text; keep the text readable.
    version->raise();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_) {
        return;
    }
    placed_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit queryUnload();
    event->accept();
}

}  // namespace velmor::app
