#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "spcplay/PlayerArguments.h"
#include "spcplay/SongStream.h"
#include "spcplay/SpcSong.h"
#include "support/Files.h"
#include "support/SpcMaker.h"

namespace velmor::spcplay {
namespace {

class SpcSongTest : public testing::Test {
  protected:
    std::filesystem::path path(const char* name) const {
        return dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    std::filesystem::path made(const char* name, const std::string& title, int seconds) const {
        test::writeFile(path(name), test::makeSpc(title, seconds));
        return path(name);
    }
    QTemporaryDir dir;
};

TEST_F(SpcSongTest, RendersTheToneAtItsPitchAtEveryRate) {
    for (const int rate : kRates) {
        auto opened = SpcSong::open(made("tone.spc", "Tone", 5), rate);
        ASSERT_TRUE(opened.song) << opened.error;
        std::vector<std::int16_t> frames(static_cast<std::size_t>(rate) * 2);  // one second
        ASSERT_TRUE(opened.song->render(frames));
        // Past the attack, count the left channel's sign changes over half a second.
        const std::size_t from = static_cast<std::size_t>(rate) / 4;
        const std::size_t count = static_cast<std::size_t>(rate) / 2;
        int crossings = 0;
        double energy = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            const int sample = frames[2 * i];
            crossings += (sample >= 0) != (frames[2 * i - 2] >= 0);
            energy += double(sample) * sample;
        }
        EXPECT_GT(std::sqrt(energy / double(count)), 1000.0) << rate << " Hz is silent";
        const double hz = crossings / 2.0 / 0.5;
        EXPECT_NEAR(hz, test::kToneHz, test::kToneHz * 0.02) << "at " << rate << " Hz";
    }
}

TEST_F(SpcSongTest, TitleAndLengthComeFromTheTagOrFallBack) {
    auto tagged = SpcSong::open(made("a.spc", "Morning Theme", 42), 32000);
    ASSERT_TRUE(tagged.song) << tagged.error;
    EXPECT_EQ(tagged.song->title(), "Morning Theme");
    EXPECT_EQ(tagged.song->lengthMs(), 42000);

    auto bare = SpcSong::open(made("bare song.spc", "", 0), 32000);
    ASSERT_TRUE(bare.song) << bare.error;
    EXPECT_EQ(bare.song->title(), "bare song.spc");
    EXPECT_EQ(bare.song->lengthMs(), kDefaultLengthMs);
}

TEST_F(SpcSongTest, FilesThatCannotPlayGiveAReasonAndNoSong) {
    test::writeFile(path("short.spc"), test::makeSpc("x", 5).substr(0, 0x8000));
    test::writeFile(path("text.spc"), std::string(0x10200, 'a'));
    test::writeFile(path("empty.spc"), "");
    std::filesystem::create_directory(path("folder.spc"));
    for (const char* name : {"short.spc", "text.spc", "empty.spc", "folder.spc", "gone.spc", ""}) {
        const auto opened = SpcSong::open(*name ? path(name) : std::filesystem::path(), 32000);
        EXPECT_FALSE(opened.song) << name;
        EXPECT_FALSE(opened.error.empty()) << name;
    }
    EXPECT_EQ(SpcSong::open(path("short.spc"), 32000).error, "truncated SPC file");
    EXPECT_EQ(SpcSong::open(path("text.spc"), 32000).error, "not an SPC file");
    EXPECT_EQ(SpcSong::open(path("gone.spc"), 32000).error, "no such file");
}

TEST(SongStream, EndsAtTheSongsLengthInTheAskedLayout) {
    QTemporaryDir dir;
    const auto file = std::filesystem::path(dir.path().toStdString()) / "one.spc";
    test::writeFile(file, test::makeSpc("One", 1));
    SongStream stream(SpcSong::open(file, 8000).song, PcmLayout{1, true});
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    EXPECT_EQ(stream.bytesAvailable(), 8000);
    qint64 total = 0;
    bool centred = true;
    for (QByteArray chunk; !(chunk = stream.read(4096)).isEmpty(); total += chunk.size()) {
        // Unsigned 8-bit sound swings around 128, never around 0.
        for (const char byte : chunk) {
            centred = centred && std::abs(static_cast<unsigned char>(byte) - 128) < 100;
        }
    }
    EXPECT_EQ(total, 8000);  // one second, mono, one byte a sample
    EXPECT_TRUE(centred);
    EXPECT_TRUE(stream.atSongEnd());
    EXPECT_EQ(stream.playedMs(), 1000);
}

TEST(ConvertFrames, MonoIsTheMeanAndEightBitIsOffset) {
    const std::vector<std::int16_t> frames{1000, 3000, -32768, -32768, 32767, -32767};
    std::vector<char> out(6);
    convertFrames(frames, PcmLayout{1, false}, out);
    EXPECT_EQ(out, (std::vector<char>{char(0xD0), 0x07, 0x00, char(0x80), 0x00, 0x00}));
    convertFrames(frames, PcmLayout{2, true}, out);
    EXPECT_EQ(out, (std::vector<char>{char(131), char(139), 0, 0, char(255), 0}));
}

TEST(PlayerArguments, ReadsVelmorsWords) {
    const auto all = parseArguments({"-8", "-q", "-x", "-z", "-r", "1", "/tmp/SONG~1.spc"});
    EXPECT_TRUE(all.eightBit && all.stereo);
    EXPECT_EQ(all.sampleRate, 11025);
    EXPECT_EQ(all.song, "/tmp/SONG~1.spc");
    EXPECT_TRUE(all.unknown.isEmpty());

    // A song that could not be shortened leaves nothing after the switches.
    const auto none = parseArguments({"-z", "-r", "0"});
    EXPECT_EQ(none.sampleRate, 8000);
    EXPECT_TRUE(none.song.isEmpty());

    const auto odd = parseArguments({"-r", "7", "-w", "a.spc"});
    EXPECT_EQ(odd.sampleRate, 44100);
    EXPECT_FALSE(odd.stereo || odd.eightBit);
    EXPECT_EQ(odd.song, "a.spc");
    EXPECT_EQ(odd.unknown, (QStringList{"-r", "-w", "7"}));
}

TEST(PlayerArguments, AnswersItsOwnOptions) {
    using Action = PlayerArguments::Action;
    EXPECT_EQ(parseArguments({"-z", "-h"}).action, Action::Help);
    EXPECT_EQ(parseArguments({"--version", "a.spc"}).action, Action::Version);
    const auto wrong = parseArguments({"--bogus", "-V"});
    EXPECT_EQ(wrong.action, Action::Misuse);
    EXPECT_EQ(wrong.misuse, "--bogus");
    // After `--` every word is the song's name, switches and all.
    const auto dashed = parseArguments({"-8", "--", "-z", "--help"});
    EXPECT_EQ(dashed.action, Action::Play);
    EXPECT_FALSE(dashed.stereo);
    EXPECT_TRUE(dashed.eightBit);
    EXPECT_EQ(dashed.song, "--help");
    EXPECT_EQ(dashed.unknown, QStringList{"-z"});
}

}  // namespace
}  // namespace velmor::spcplay
