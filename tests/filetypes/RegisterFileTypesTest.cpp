#include "filetypes/RegisterFileTypes.h"

#include <gtest/gtest.h>

#include <QAction>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "support/FakePlatform.h"

namespace velmor::filetypes {
namespace {

TEST(RegFiles, MenuRegistersPlaylistsSongsAndSaveStatesInOrder) {
    test::FakePlatform fake;
    fake.program.programFolder = "/opt/My Games";
    app::MainForm form(fake.platform);
    form.window().findChild<QAction*>("RegFiles")->trigger();

    EXPECT_EQ(fake.log, (std::vector<std::string>{
                            "register audio/x-velmor-playlist *.spl /opt/My Games",
                            "register audio/x-velmor-spc *.spc /opt/My Games",
                            "register application/x-velmor-save-state *.zst /opt/My Games",
                        }));
    ASSERT_EQ(fake.fileTypes.types.size(), 3u);
    const auto& types = fake.fileTypes.types;
    EXPECT_EQ(types[0].comment, "Velmor Playlist File");
    EXPECT_EQ(types[0].icon.name, "velmor-playlist");
    // Save states are named and drawn as music, like songs; so is a playlist extension in
    // capitals, which the menu never passes.
    for (const auto& music : {types[1], types[2], fileTypeFor("SPL")}) {
        EXPECT_EQ(music.comment, "SPC Music File");
        EXPECT_EQ(music.icon.name, "velmor-music");
    }
    // Each icon as PNG at three sizes, and the program's own for the desktop entry.
    EXPECT_EQ(types[0].icon.png.size(), 3u);
    EXPECT_TRUE(types[0].icon.png.at(48).starts_with("\x89PNG"));
    EXPECT_EQ(fake.fileTypes.openers[0].icon.name, "velmor");
    EXPECT_EQ(fake.fileTypes.openers[0].icon.png.size(), 3u);
}

}  // namespace
}  // namespace velmor::filetypes
