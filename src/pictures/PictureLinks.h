#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmor::settings {
class Holders;
class SettingsStore;
struct SettingsRecord;
}  // namespace velmor::settings

namespace velmor::pictures {

// The pictures tab as the picture links see it: the picture box Image2 and the tab control.
class PictureView {
  public:
    virtual ~PictureView() = default;
    // Shows the picture in the file; false, with the box left empty, when it cannot be read.
    virtual bool load(const std::string& path) = 0;
    virtual void clear() = 0;
    virtual void showPicturesTab() = 0;
};

// The bitmap in the screenshots folder that belongs to a game without any link: the game's
// name with its three-letter extension replaced by "bmp", so that a ROM and a zip archive of
// the same name share it. Nothing for a name too short to have an extension.
std::optional<std::string> defaultPicturePath(std::string_view shotsFolder, std::string_view game);

// The picture of the current game on the pictures tab, and the links that name a picture
// anywhere for a game. A link is a text value named after the game, under "Picture Links".
class PictureLinks final {
  public:
    PictureLinks(platform::Platform& platform, settings::Holders& holders,
                 const settings::SettingsRecord& record, settings::SettingsStore& store,
                 PictureView& view);

    // Shows the current game's picture: its default bitmap, else its linked picture.
    void showGamePicture();

    // Select: does what Combo2 names (link a picture, unlink the game, or say that an action
    // is not there yet).
    void command15Click();

  private:
    void linkOtherPicture();
    void unlinkThisGame();
    void show(const std::string& path);
    void noPicture();

    platform::Platform& platform_;
    settings::Holders& holders_;
    const settings::SettingsRecord& record_;
    settings::SettingsStore& store_;
    PictureView& view_;
};

}  // namespace velmor::pictures
