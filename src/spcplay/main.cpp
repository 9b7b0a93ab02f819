// velmor-spcplay: an SPC player for Linux that takes SPCPlay's command line and answers its
// keys, so that Velmor's music tab can drive it in SPCPlay's place.

#include <xcb/xcb.h>
#include <QApplication>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "spcplay/PlayerArguments.h"
#include "spcplay/PlayerWindow.h"
#include "spcplay/SingleInstance.h"
#include "spcplay/SongPlayer.h"

namespace {

using namespace velmor::spcplay;

void complain(const QString& text) {
    std::fprintf(stderr, "velmor-spcplay: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
}

// Qt ends the process with abort() when it cannot reach the X server; one line and exit code 1
// say it better, so the server is tried first.
bool displayReachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

// Qt's own complaints about the session (no sound server, no runtime folder) would add lines of
// their own to the one that says what the player makes of it; only fatal ones are let through.
// VELMOR_SPCPLAY_VERBOSE lets them all through, for finding out why there is no sound.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("VELMOR_SPCPLAY_VERBOSE")) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        std::fflush(stderr);
    }
}

// Tags come from many tools: UTF-8 where it is valid, else Latin-1.
QString tagText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
                           : text;
}

}  // namespace

int main(int argc, char** argv) {
    // The words as argv holds them, bytes and all: QApplication::arguments() decodes them, and a
    // song whose name is not UTF-8 would then name another file.
    const auto words = [&] {
        QList<QByteArray> words;
        for (int i = 1; i < argc; ++i) {
            words << QByteArray(argv[i]);
        }
        return words;
    };
    // Help, the version and a mistaken option are answered without a display.
    if (const PlayerArguments early = parseArguments(words());
        early.action != PlayerArguments::Action::Play) {
        if (early.action == PlayerArguments::Action::Misuse) {
            std::fprintf(stderr, "velmor-spcplay: unknown option %s\n%s",
                         qUtf8Printable(early.misuse), playerUsage());
            return 2;
        }
        std::fputs(early.action == PlayerArguments::Action::Help ? playerUsage()
                                                                 : "velmor-spcplay " VELMOR_VERSION
                                                                   "\n",
                   stdout);
        return 0;
    }
    // Velmor finds the player by its X11 window: on a Wayland session it must be an XWayland one.
    qputenv("QT_QPA_PLATFORM", "xcb");
    qInstallMessageHandler(quietQt);
    if (!displayReachable()) {
        const QByteArray display = qgetenv("DISPLAY");
        complain(QStringLiteral("cannot open the X display %1")
                     .arg(display.isEmpty() ? QStringLiteral("(DISPLAY is not set)")
                                            : QString::fromLocal8Bit(display)));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmor-spcplay"));
    // Read again: the constructor above has taken Qt's own switches out of argv.
    const PlayerArguments arguments = parseArguments(words());
    if (!arguments.unknown.isEmpty()) {
        complain(QStringLiteral("ignoring %1").arg(arguments.unknown.join(QLatin1Char(' '))));
    }

    SingleInstance instance;
    if (!instance.takeOver()) {
        complain(QStringLiteral("cannot listen on %1; an older player may stay open")
                     .arg(SingleInstance::defaultName()));
    }

    auto opened = SpcSong::open(arguments.songFile.toStdString(), arguments.sampleRate);
    const QString title =
        opened.song ? tagText(opened.song->title()) : QFileInfo(arguments.song).fileName();
    PlayerWindow window(title);
    QObject::connect(&instance, &SingleInstance::closeRequested, &window, &QWidget::close);

    std::unique_ptr<SongPlayer> player;
    QTimer clock;
    if (!opened.song) {
        const QString error = QString::fromStdString(opened.error);
        complain(arguments.song.isEmpty() ? error : arguments.song + QStringLiteral(": ") + error);
        window.setStatus(error);
        window.setTime(0, 0);
    } else {
        const PcmLayout layout{arguments.stereo ? 2 : 1, arguments.eightBit};
        player = std::make_unique<SongPlayer>(std::move(opened.song), layout);
        window.setTime(0, player->lengthMs());
        const QString soundError = player->start();
        if (soundError.isEmpty()) {
            window.setStatus(QStringLiteral("Playing"));
        } else {
            complain(soundError);
            window.setStatus(QStringLiteral("No sound: ") + soundError);
        }
        QObject::connect(&window, &PlayerWindow::stopRequested, player.get(), [&] {
            player->stop();
            clock.stop();
            window.setStatus(QStringLiteral("Stopped"));
        });
        QObject::connect(player.get(), &SongPlayer::ended, &window, [&] {
            clock.stop();
            window.setTime(player->lengthMs(), player->lengthMs());
            window.setStatus(QStringLiteral("Ended"));
        });
        QObject::connect(&clock, &QTimer::timeout, &window,
                         [&] { window.setTime(player->playedMs(), player->lengthMs()); });
        clock.start(250);
    }
    // Started minimised, as Velmor starts SPCPlay, so that Velmor keeps the focus.
    window.showMinimized();
    return QApplication::exec();
}
