// The floor for start-up time and memory: a plain Qt Widgets program that shows what any
// program with Velmor's main window must show, and nothing else: a main window of the same
// client size with a menu bar, a tab control of seven pages and the same kinds and numbers of
// stock controls (about seventy, with their captions), the first page in front. No settings
// store, no splash, no pictures, no platform services.
//
// With VELMOR_EXIT_AT_FIRST_PAINT=1 it prints "painted <ns>" the moment the window's first
// frame has been drawn and handed to the window system, and ends at once, as Velmor does.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include "widgets/ExitAtFirstPaint.h"

namespace {

constexpr int kClientWidth = 5640 / 15;
constexpr int kClientHeight = 3696 / 15;
constexpr int kRow = 20;

// How many controls of each kind one page carries, the pages in Velmor's order (paths, sound,
// video, controls, options, music, pictures): 74 on the pages and 4 beneath them, about as
// many as the main window has of these kinds (its pictures left out).
struct PageContents {
    const char* caption;
    int frames, checkBoxes, optionButtons, labels, textBoxes, lists, buttons, sliders;
};
constexpr PageContents kPages[] = {
    {"Paths", 1, 0, 0, 0, 1, 1, 2, 0},    {"Sound", 1, 5, 0, 1, 0, 1, 0, 0},
    {"Video", 3, 7, 8, 3, 0, 0, 0, 2},    {"Controls", 0, 0, 0, 2, 0, 2, 2, 0},
    {"Options", 1, 7, 0, 3, 0, 2, 0, 1},  {"Music", 1, 0, 0, 4, 2, 1, 5, 0},
    {"Pictures", 1, 0, 0, 2, 0, 1, 1, 0},
};

// Places the page's controls in rows down its left and right halves.
void fillPage(QWidget* page, const PageContents& contents) {
    int row = 0;
    const auto place = [&row](QWidget* control) {
        control->setGeometry(10 + (row % 2) * 180, 8 + (row / 2) * kRow, 170, kRow - 2);
        ++row;
    };
    for (int i = 0; i < contents.frames; ++i) {
        auto* frame = new QGroupBox(QStringLiteral("Frame %1").arg(i + 1), page);
        frame->setGeometry(2 + i * 4, 2 + i * 4, kClientWidth - 12 - i * 8, 160 - i * 8);
        frame->lower();
    }
    for (int i = 0; i < contents.checkBoxes; ++i) {
        place(new QCheckBox(QStringLiteral("Check box %1").arg(i + 1), page));
    }
    for (int i = 0; i < contents.optionButtons; ++i) {
        place(new QRadioButton(QStringLiteral("Option %1").arg(i + 1), page));
    }
    for (int i = 0; i < contents.labels; ++i) {
        place(new QLabel(QStringLiteral("Label number %1").arg(i + 1), page));
    }
    for (int i = 0; i < contents.textBoxes; ++i) {
        place(new QLineEdit(QStringLiteral("Text %1").arg(i + 1), page));
    }
    for (int i = 0; i < contents.lists; ++i) {
        auto* list = new QComboBox(page);
        list->addItems({QStringLiteral("First item"), QStringLiteral("Second item"),
                        QStringLiteral("Third item"), QStringLiteral("Fourth item")});
        place(list);
    }
    for (int i = 0; i < contents.buttons; ++i) {
        place(new QPushButton(QStringLiteral("Button %1").arg(i + 1), page));
    }
    for (int i = 0; i < contents.sliders; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, page);
        slider->setRange(0, 10);
        slider->setTickPosition(QSlider::TicksBelow);
        place(slider);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velmor floor"));

    QMenuBar* bar = window.menuBar();
    bar->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
    QMenu* preferences = bar->addMenu(QStringLiteral("Preferences"));
    preferences->addAction(QStringLiteral("Options"));
    preferences->addAction(QStringLiteral("Register Filetypes"));
    preferences->addSeparator();
    preferences->addAction(QStringLiteral("Save Settings Now"));
    bar->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("About"));

    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    auto* tabs = new QTabWidget(client);
    tabs->setGeometry(0, 0, kClientWidth, 177);
    for (const PageContents& contents : kPages) {
        auto* page = new QWidget;
        fillPage(page, contents);
        tabs->addTab(page, QString::fromLatin1(contents.caption));
    }
    auto* game = new QLabel(QStringLiteral("Current game"), client);
    game->setGeometry(176, 184, 185, 17);
    auto* choose = new QPushButton(QStringLiteral("Choose Game"), client);
    choose->setGeometry(16, 184, 137, 17);
    auto* launch = new QPushButton(QStringLiteral("Launch"), client);
    launch->setGeometry(208, 208, 137, 25);
    auto* version = new QLabel(QStringLiteral("Version 0.5"), client);
    version->setGeometry(88, 224, 53, 13);

    window.resize(kClientWidth, kClientHeight + bar->sizeHint().height());
    velmor::widgets::ExitAtFirstPaint firstPaint(window);
    window.show();
    return QApplication::exec();
}
