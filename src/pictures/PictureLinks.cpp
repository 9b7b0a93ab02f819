#include "pictures/PictureLinks.h"

#include "platform/linux/Files.h"
#include "settings/Blanks.h"
#include "settings/Catalogue.h"
#include "settings/Holders.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"

namespace velmor::pictures {
namespace {

constexpr std::string_view kNoPicture = "No Picture Available";
constexpr std::string_view kNotImplemented = "Not Implemented Yet";
constexpr std::string_view kBitmapFilter = "Bitmaps|*.bmp";

enum Action { kLinkOther = 0, kUnlinkAll = 1, kUnlinkThis = 2, kSearchZip = 3 };

}  // namespace

std::optional<std::string> defaultPicturePath(std::string_view shotsFolder, std::string_view game) {
    if (game.size() < 3) {
        return std::nullopt;
    }
    std::string path(shotsFolder);
    path += '/';
    path += game.substr(0, game.size() - 3);
    path += "bmp";
    return path;
}

PictureLinks::PictureLinks(platform::Platform& platform, settings::Holders& holders,
                           const settings::SettingsRecord& record, settings::SettingsStore& store,
                           PictureView& view)
    : platform_(platform), holders_(holders), record_(record), store_(store), view_(view) {}

void PictureLinks::showGamePicture() {
    if (record_.shotsPath.empty()) {
        return;
    }
    const std::string game = holders_.text(controls::kGmLabel);
    if (game.empty()) {
        return;
    }
    if (record_.autoTab) {
        view_.showPicturesTab();
    }
    if (const auto path = defaultPicturePath(record_.shotsPath, game);
        path && platform::fileExists(*path)) {
        show(*path);  // the default picture wins over any link
        return;
    }
    const auto key = store_.openKey(settings::kPictureLinksKey);
    const auto link = key ? store_.readText(*key, game) : std::nullopt;
    if (!link) {
        // Remembers that the game was looked up, so that the user finds it among the links.
        if (key) {
            store_.writeText(*key, game, "");
        }
        noPicture();
        return;
    }
    if (platform::fileExists(*link)) {
        show(*link);
    } else {
        noPicture();  // moved or deleted; the link stays for when it comes back
    }
}

void PictureLinks::command15Click() {
    switch (holders_.listIndex(controls::kCombo2)) {
        case kLinkOther:
            linkOtherPicture();
            break;
        case kUnlinkAll:
        case kSearchZip:
            platform_.messages.show(kNotImplemented);
            break;
        case kUnlinkThis:
            unlinkThisGame();
            break;
        default:
            break;
    }
}

void PictureLinks::linkOtherPicture() {
    const std::string game = holders_.text(controls::kGmLabel);
    if (settings::trimBlanks(game).empty()) {
        return;
    }
    platform::FileRequest request;
    request.filter = kBitmapFilter;
    request.folder = record_.shotsPath.empty() ? platform_.program.folder() : record_.shotsPath;
    const auto chosen = platform_.fileDialogs.openFile(request);
    if (!chosen || chosen->empty()) {
        return;
    }
    if (const auto key = store_.openKey(settings::kPictureLinksKey)) {
        store_.writeText(*key, game, settings::trimTrailingBlanks(*chosen));
    }
    show(*chosen);
}

void PictureLinks::unlinkThisGame() {
    // With no game chosen the name is empty and the key's unnamed value is the one emptied.
    if (const auto key = store_.openKey(settings::kPictureLinksKey)) {
        store_.writeText(*key, holders_.text(controls::kGmLabel), "");
    }
    view_.clear();
}

void PictureLinks::show(const std::string& path) {
    if (!view_.load(path)) {
        noPicture();  // there, but not a picture that can be read
    }
}

void PictureLinks::noPicture() {
    holders_.setText(controls::kPicStatus, std::string(kNoPicture));
    view_.clear();
}

}  // namespace velmor::pictures
