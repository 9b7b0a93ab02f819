// velmor-spcplay's costs without a sound server: the time from the song's file to the first
// samples the sound sink would be handed, and the processor share of playing (the emulation and
// the sample conversion, which is all the player does per buffer).
//
//   bench_spcplay SONG.spc

#include <time.h>
#include <QElapsedTimer>
#include <cstdio>

#include "spcplay/SongStream.h"

using namespace velmor::spcplay;

namespace {

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_spcplay SONG.spc\n");
        return 2;
    }
    // The sink asks for its whole buffer (200 ms) first.
    for (const int rate : {8000, 44100}) {
        QElapsedTimer clock;
        clock.start();
        auto opened = SpcSong::open(argv[1], rate);
        if (!opened.song) {
            std::fprintf(stderr, "%s\n", opened.error.c_str());
            return 1;
        }
        SongStream stream(std::move(opened.song), PcmLayout{2, false});
        stream.open(QIODevice::ReadOnly);
        const QByteArray first = stream.read(rate / 5 * 4);
        std::printf("%5d Hz stereo: file to first %lld bytes: %.2f ms\n", rate,
                    static_cast<long long>(first.size()), double(clock.nsecsElapsed()) / 1e6);
    }
    for (const int rate : {8000, 22050, 44100}) {
        SongStream stream(SpcSong::open(argv[1], rate).song, PcmLayout{2, false});
        stream.open(QIODevice::ReadOnly);
        const double start = cpuSeconds();
        constexpr int kSeconds = 60;
        for (int i = 0; i < kSeconds * 10; ++i) {
            stream.read(rate / 10 * 4);  // the sink's pulls: a tenth of a second each
        }
        const double used = cpuSeconds() - start;
        std::printf("%5d Hz stereo: %d s of song in %.3f s of processor: %.2f%% of one core\n",
                    rate, kSeconds, used, used / kSeconds * 100);
    }
}
