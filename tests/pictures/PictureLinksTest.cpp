#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "platform/linux/SqliteRegistry.h"
#include "settings/Catalogue.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

namespace velmor::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr std::string_view kLinks = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links";
const QString kNoPicture = QStringLiteral("No Picture Available");
const std::string kEmptyValue = "\0"s;

void writePicture(const fs::path& file, QRgb colour, const char* format) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(file.string()), format));
}

long peakMegabytes() {
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss / 1024 : 0;
}

// The main window on a real store file in a folder of its own, with the other services faked.
class PictureLinksTest : public testing::Test {
  protected:
    void SetUp() override { fs::create_directory(shots); }

    // Starts the program as a user would, with these settings in the store.
    void start(const std::string& lastGame, const std::string& shotsFolder, bool autoTab) {
        const auto write = [this](std::string_view key, std::string_view name,
                                  const std::string& text) {
            const std::string path = std::string(settings::kHive) + std::string(key);
            registry.createKey(path);
            registry.setValue(path, name, text + '\0');
        };
        write(settings::kRootKey, "Last Game", lastGame);
        write(settings::kPathsKey, "SShots Location", shotsFolder);
        write(settings::kOptionsKey, "AutoTab", autoTab ? "True" : "False");
        form = std::make_unique<app::MainForm>(platform);
        form->formLoad();
    }
    // Makes `game` the current game, as the game picker does.
    void choose(const QString& game) {
        get<QLabel>("GmLabel").setText(game);
        emit form->showGamePicture();
    }
    void select(int action) {
        get<QComboBox>("Combo2").setCurrentIndex(action);
        get<QPushButton>("Command15").click();
    }
    std::optional<std::string> link(const std::string& game) {
        return registry.queryValue(kLinks, game);
    }
    template <typename Widget>
    Widget& get(const char* name) {
        return findControl<Widget>(form->window(), name);
    }
    QImage shown() { return get<QLabel>("Image2").pixmap().toImage(); }
    QRgb shownColour() { return shown().isNull() ? 0 : shown().pixel(0, 0) | 0xff000000; }
    // PicStatus speaks for an empty box: changed here, it must say so again.
    void muteStatus() { get<QLabel>("PicStatus").setText(QStringLiteral("-")); }
    QString status() { return get<QLabel>("PicStatus").text(); }

    QTemporaryDir dir;
    const fs::path root{dir.path().toStdString()};
    const fs::path shots = root / "shots";
    FakePlatform fake;
    platform::SqliteRegistry registry{root / "registry.db"};
    platform::Platform platform{registry,          fake.events,     fake.timers,
                                fake.playerWindow, fake.messages,   fake.program,
                                fake.processes,    fake.shortNames, fake.screenSaver,
                                fake.fileDialogs,  fake.fileTypes,  fake.wine};
    std::unique_ptr<app::MainForm> form;
};

TEST_F(PictureLinksTest, FirstLookupStoresAnEmptyLinkUnderTheNamesOwnBytesAndTurnsToTheTab) {
    const std::string latin1 = "caf\xe9.smc";
    start(latin1, "", true);
    EXPECT_EQ(get<QTabWidget>("SSTab1").currentIndex(), 0) << "no screenshots folder: nothing";
    EXPECT_EQ(link(latin1), std::nullopt);

    form->record().shotsPath = shots.string();
    muteStatus();
    emit form->showGamePicture();
    EXPECT_EQ(get<QTabWidget>("SSTab1").currentIndex(), 6) << "even with no picture";
    EXPECT_EQ(link(latin1), kEmptyValue);
    EXPECT_EQ(status(), kNoPicture);
    EXPECT_TRUE(shown().isNull());

    choose(QString());
    EXPECT_EQ(link(""), std::nullopt) << "no game, no lookup";
}

TEST_F(PictureLinksTest, DefaultBitmapBeatsALinkAndANewLinkShowsAtOnce) {
    writePicture(shots / "Game.bmp", qRgb(255, 0, 0), "BMP");
    const fs::path linked = root / "linked.png";
    writePicture(linked, qRgb(0, 0, 255), "PNG");
    start("Game.zip", shots.string(), false);
    EXPECT_EQ(shownColour(), qRgb(255, 0, 0)) << "a zip shares the ROM's bitmap";

    fake.fileDialogs.answers.push_back(linked.string());
    select(0);
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1U);
    EXPECT_EQ(fake.fileDialogs.requests[0].filter, "Bitmaps|*.bmp");
    EXPECT_EQ(fake.fileDialogs.requests[0].folder, shots.string());
    EXPECT_EQ(link("Game.zip"), linked.string() + '\0');
    EXPECT_EQ(shownColour(), qRgb(0, 0, 255));

    choose(QStringLiteral("Game.zip"));
    EXPECT_EQ(shownColour(), qRgb(255, 0, 0));

    // Cancelled, and with no screenshots folder the dialog starts in the program's folder.
    form->record().shotsPath.clear();
    select(0);
    EXPECT_EQ(fake.fileDialogs.requests.back().folder, fake.program.programFolder);
    EXPECT_EQ(link("Game.zip"), linked.string() + '\0');
    EXPECT_EQ(shownColour(), qRgb(255, 0, 0));
}

TEST_F(PictureLinksTest, LinkedFileThatIsGoneOrNoPictureEmptiesTheBoxAndKeepsTheLink) {
    const fs::path linked = root / "linked.png";
    writePicture(linked, qRgb(0, 0, 255), "PNG");
    start("", shots.string(), false);
    registry.setValue(kLinks, "Game.smc", linked.string() + '\0');
    choose(QStringLiteral("Game.smc"));
    EXPECT_EQ(shownColour(), qRgb(0, 0, 255));

    fs::rename(linked, root / "moved.png");
    muteStatus();
    choose(QStringLiteral("Game.smc"));
    EXPECT_TRUE(shown().isNull());
    EXPECT_EQ(status(), kNoPicture);
    EXPECT_EQ(link("Game.smc"), linked.string() + '\0');

    fs::create_directory(linked);
    fs::rename(root / "moved.png", linked / "inside.png");
    choose(QStringLiteral("Game.smc"));
    EXPECT_TRUE(shown().isNull()) << "a folder is no picture";

    // A file that is there but holds no picture.
    std::ofstream(shots / "Game.bmp") << "BM not really a bitmap";
    choose(QStringLiteral("Game.smc"));
    EXPECT_TRUE(shown().isNull());
    EXPECT_EQ(link("Game.smc"), linked.string() + '\0');
}

TEST_F(PictureLinksTest, HugePictureIsShownBoxSizedWithinTheDecodeLimit) {
    {
        // 20,000 pixels square, left half white, right half black: 50 MB of bits, a small file.
        QImage image(20000, 20000, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < image.height(); ++y) {
            uchar* line = image.scanLine(y);
            std::fill(line, line + 1250, 0x00);
            std::fill(line + 1250, line + image.bytesPerLine(), 0xff);
        }
        QImageWriter writer(QString::fromStdString((shots / "Huge.bmp").string()), "png");
        ASSERT_TRUE(writer.write(image));  // PNG under a .bmp name: read by what it holds
    }
    start("Huge.smc", shots.string(), false);
    const long before = peakMegabytes();
    choose(QStringLiteral("Huge.smc"));
    const QImage picture = shown();
    const QLabel& box = get<QLabel>("Image2");
    EXPECT_EQ(picture.size(), box.contentsRect().size() * box.devicePixelRatioF());
    EXPECT_EQ(picture.pixel(2, picture.height() / 2) | 0xff000000, qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(picture.width() - 3, 2) | 0xff000000, qRgb(0, 0, 0));
    EXPECT_LT(peakMegabytes() - before, 150) << "a whole decode takes 1,600 MB";
}

TEST_F(PictureLinksTest, SelectActionsUnlinkAndNotImplemented) {
    writePicture(root / "linked.png", qRgb(0, 0, 255), "PNG");
    start("Game.smc", shots.string(), false);
    registry.setValue(kLinks, "Game.smc", (root / "linked.png").string() + '\0');
    choose(QStringLiteral("Game.smc"));
    ASSERT_FALSE(shown().isNull());

    select(1);
    select(3);
    EXPECT_EQ(fake.messages.shown,
              (std::vector<std::string>{"Not Implemented Yet", "Not Implemented Yet"}));
    select(2);
    EXPECT_EQ(link("Game.smc"), kEmptyValue) << "emptied, not deleted";
    EXPECT_TRUE(shown().isNull());

    get<QLabel>("GmLabel").setText(QStringLiteral("   "));
    select(0);
    EXPECT_TRUE(fake.fileDialogs.requests.empty()) << "a blank game has nothing to link";
    get<QLabel>("GmLabel").setText(QString());
    select(2);
    EXPECT_EQ(link(""), kEmptyValue) << "the key's unnamed value";
}

}  // namespace
}  // namespace velmor::test
