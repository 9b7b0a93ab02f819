#include <gtest/gtest.h>

#include <QAction>
#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <map>
#include <tuple>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "platform/linux/XdgFileTypes.h"
#include "support/FakePlatform.h"
#include "support/Files.h"

// "Register Filetypes" against the real desktop tools, in a private data and configuration
// folder: what GIO (GTK file managers, xdg-open) and Qt (KDE) then make of files, whether the
// desktop starts the program with the file, and what registering again changes.
namespace velmor::platform {
namespace {

namespace fs = std::filesystem;

using test::readFile;
using test::writeFile;

class FileTypesTest : public testing::Test {
  protected:
    void SetUp() override {
        base_ = fs::path(dir_.path().toStdString());
        // The characters the desktop entry's Exec must quote or escape. (A percent sign is
        // written doubled, as the format says, but GLib looks for a program of that name.)
        programFolder_ = base_ / "Velmor's \"games\" $HOME `id` #1 \\back";
        fs::create_directories(programFolder_);
        writeFile(programFolder_ / "velmor",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$OPENED\"\n");
        fs::permissions(programFolder_ / "velmor", fs::perms::owner_all);
        fake_.program.programFolder = programFolder_.string();
        folders_ = {base_ / "data", base_ / "config", {"/usr/local/share", "/usr/share"}};
        fs::create_directories(folders_.configHome);
    }

    // "Register Filetypes" from the menu of a fresh main window, as a new run of the program.
    void registerAll() {
        XdgFileTypes fileTypes(folders_);
        platform::Platform platform{fake_.registry,     fake_.events,     fake_.timers,
                                    fake_.playerWindow, fake_.messages,   fake_.program,
                                    fake_.processes,    fake_.shortNames, fake_.screenSaver,
                                    fake_.fileDialogs,  fileTypes,        fake_.wine};
        app::MainForm form(platform);
        form.window().findChild<QAction*>("RegFiles")->trigger();
    }

    // The desktop tools as a user's session runs them, with no desktop of its own named.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID"}) {
            env.remove(QString::fromLatin1(name));
        }
        env.insert("HOME", QString::fromStdString(base_.string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString(folders_.dataHome.string()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(folders_.configHome.string()));
        env.insert("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
        env.insert("OPENED", QString::fromStdString((base_ / "opened").string()));
        env.insert("GIO_USE_VFS", "local");
        return env;
    }

    // What the tool printed.
    std::string run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForStarted()) << tool.toStdString() << " (see tools/deps.sh)";
        process.waitForFinished(30000);
        return (process.readAllStandardOutput() + process.readAllStandardError()).toStdString();
    }

    std::string gioContentType(const fs::path& file) {
        const std::string info = run(
            "gio", {"info", "-a", "standard::content-type", QString::fromStdString(file.string())});
        const auto at = info.find("content-type: ");
        return at == std::string::npos ? info : info.substr(at + 14, info.find('\n', at) - at - 14);
    }

    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(base_)) {
            if (entry.is_regular_file() && entry.path().filename() != "opened") {
                files[entry.path().string()] = readFile(entry.path());
            }
        }
        return files;
    }

    QTemporaryDir dir_;
    fs::path base_;
    fs::path programFolder_;
    XdgFolders folders_;
    test::FakePlatform fake_;
};

TEST_F(FileTypesTest, NamesItsOwnFilesAndLeavesOthersToTheirTypes) {
    registerAll();
    const fs::path files = base_ / "files";
    fs::create_directories(files);
    writeFile(files / "list.spl", "\"/home/user/music/Corridors of Time.spc\"\n");
    writeFile(files / "song.spc",
              "SNES-SPC700 Sound File Data v0.30\x1a\x1a" + std::string(300, '\0'));
    writeFile(files / "game.zst", "ZSNES Save State File V0.6\x1a" + std::string(300, '\1'));
    writeFile(files / "movie.spl", std::string("FWS\x06", 4) + std::string(60, '\x20'));
    // Real ones where the tools are installed, else files that begin as they do.
    writeFile(files / "archive.zst", std::string("\x28\xb5\x2f\xfd\x20\x00\x01\x00\x00", 9));
    writeFile(files / "cert.spc",
              std::string("\x30\x82\x01\x00\x06\x09\x2a\x86\x48\x86\xf7\x0d\x01\x07\x02", 15));
    if (!QStandardPaths::findExecutable("zstd").isEmpty()) {
        writeFile(files / "payload", std::string(4000, 'x'));
        run("zstd", {"-q", "-f", QString::fromStdString((files / "payload").string()), "-o",
                     QString::fromStdString((files / "archive.zst").string())});
    }
    if (!QStandardPaths::findExecutable("openssl").isEmpty()) {
        const QString key = QString::fromStdString((files / "key.pem").string());
        const QString cert = QString::fromStdString((files / "cert.pem").string());
        run("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                        "-nodes", "-subj", "/CN=velmor", "-keyout", key, "-out", cert});
        run("openssl", {"crl2pkcs7", "-nocrl", "-certfile", cert, "-outform", "DER", "-out",
                        QString::fromStdString((files / "cert.spc").string())});
    }

    const std::map<std::string, std::string> expected{
        {"list.spl", "audio/x-velmor-playlist"},
        {"song.spc", "audio/x-velmor-spc"},
        {"game.zst", "application/x-velmor-save-state"},
        {"archive.zst", "application/zstd"},
        {"cert.spc", "application/x-pkcs7-certificates"},
        {"movie.spl", "application/vnd.adobe.flash.movie"},
    };
    // Qt reads the folders when its database is first used in the process.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folders_.dataHome.string()));
    qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    const QMimeDatabase qt;
    for (const auto& [name, type] : expected) {
        EXPECT_EQ(gioContentType(files / name), type) << "GIO, " << name;
        EXPECT_EQ(qt.mimeTypeForFile(QString::fromStdString((files / name).string()))
                      .name()
                      .toStdString(),
                  type)
            << "Qt, " << name;
    }
    // Save states are named and drawn as music, like songs.
    for (const auto& [type, comment, icon] :
         {std::tuple{"audio/x-velmor-playlist", "Velmor Playlist File", "velmor-playlist"},
          {"audio/x-velmor-spc", "SPC Music File", "velmor-music"},
          {"application/x-velmor-save-state", "SPC Music File", "velmor-music"}}) {
        EXPECT_EQ(qt.mimeTypeForName(type).comment(), comment) << type;
        EXPECT_EQ(qt.mimeTypeForName(type).iconName(), icon) << type;
    }
    // The other programs' types keep their names.
    EXPECT_EQ(qt.mimeTypeForName("application/zstd").comment(), "Zstandard archive");
}

TEST_F(FileTypesTest, TheDesktopOpensTheFilesWithTheProgramAndKeepsOtherChoices) {
    writeFile(folders_.configHome / "mimeapps.list",
              "[Default Applications]\n"
              "text/plain=org.gnome.TextEditor.desktop;\n"
              "audio/x-velmor-spc=other-player.desktop;velmor.desktop;\n"
              "\n"
              "[Added Associations]\n"
              "image/png=viewer.desktop;\n");
    registerAll();

    const fs::path entry = folders_.dataHome / "applications/velmor.desktop";
    EXPECT_EQ(run("desktop-file-validate", {QString::fromStdString(entry.string())}), "");

    EXPECT_EQ(readFile(folders_.configHome / "mimeapps.list"),
              "[Default Applications]\n"
              "text/plain=org.gnome.TextEditor.desktop;\n"
              "audio/x-velmor-spc=velmor.desktop;other-player.desktop;\n"
              "audio/x-velmor-playlist=velmor.desktop;\n"
              "application/x-velmor-save-state=velmor.desktop;\n"
              "\n"
              "[Added Associations]\n"
              "image/png=viewer.desktop;\n");
    for (const char* type :
         {"audio/x-velmor-playlist", "audio/x-velmor-spc", "application/x-velmor-save-state"}) {
        EXPECT_EQ(run("xdg-mime", {"query", "default", type}), "velmor.desktop\n") << type;
    }
    // Each icon as PNG at three sizes, and the program's own for the desktop entry.
    for (const char* size : {"16x16", "32x32", "48x48"}) {
        for (const char* icon :
             {"mimetypes/velmor-playlist", "mimetypes/velmor-music", "apps/velmor"}) {
            const fs::path png =
                folders_.dataHome / "icons/hicolor" / size / (icon + std::string(".png"));
            EXPECT_TRUE(readFile(png).starts_with("\x89PNG")) << png;
        }
    }

    // The shell hands the program the file's path as one argument, however odd its folder.
    const fs::path song = base_ / "a song; $(touch x).spc";
    writeFile(song, "SNES-SPC700 Sound File Data");
    EXPECT_EQ(run("gio", {"launch", QString::fromStdString(entry.string()),
                          QString::fromStdString(song.string())}),
              "")
        << readFile(entry);
    for (int i = 0; i < 100 && readFile(base_ / "opened").empty(); ++i) {
        QThread::msleep(50);
    }
    EXPECT_EQ(readFile(base_ / "opened"), song.string() + "\n");
}

TEST_F(FileTypesTest, RegisteringAgainChangesNoFile) {
    registerAll();
    const auto once = snapshot();
    EXPECT_TRUE(once.contains((folders_.dataHome / "mime/packages/velmor.xml").string()));
    registerAll();
    EXPECT_EQ(snapshot(), once);
}

TEST_F(FileTypesTest, AStoreThatCannotBeWrittenIsPassedOver) {
    writeFile(base_ / "data", "a file where the data folder should be");
    fs::create_directories(folders_.configHome / "mimeapps.list");
    registerAll();
    EXPECT_EQ(readFile(base_ / "data"), "a file where the data folder should be");
    EXPECT_TRUE(fs::is_empty(folders_.configHome / "mimeapps.list"));

    // A folder whose name a desktop entry cannot hold: nothing half-made is left behind.
    fs::remove(base_ / "data");
    fake_.program.programFolder = base_.string() + "/caf\xe9";
    registerAll();
    EXPECT_FALSE(fs::exists(folders_.dataHome));
}

}  // namespace
}  // namespace velmor::platform
