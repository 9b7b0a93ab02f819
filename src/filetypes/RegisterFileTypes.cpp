#include "filetypes/RegisterFileTypes.h"

#include <QBuffer>
#include <QPixmap>
#include <algorithm>
#include <cctype>

#include "widgets/Artwork.h"

namespace velmor::filetypes {
namespace {

using widgets::artwork::Picture;

platform::IconImages iconImages(std::string name, std::initializer_list<Picture> sizes) {
    platform::IconImages icon{std::move(name), {}};
    for (const Picture size : sizes) {
        const QPixmap pixmap = widgets::artwork::picture(size);
        QByteArray png;
        QBuffer buffer(&png);
        if (buffer.open(QIODevice::WriteOnly) && pixmap.save(&buffer, "PNG")) {
            icon.png[pixmap.width()] = png.toStdString();
        }
    }
    return icon;
}

}  // namespace

platform::FileType fileTypeFor(std::string_view extension) {
    platform::FileType type;
    type.extension = std::string(extension);
    if (extension == "spl") {
        type.mimeType = "audio/x-velmor-playlist";
        type.comment = "Velmor Playlist File";
        type.magic = "\"";  // the first path's opening quote
        type.sharedWith = {"application/vnd.adobe.flash.movie"};
        type.icon = iconImages("velmor-playlist", {Picture::PlaylistIcon16, Picture::PlaylistIcon32,
                                                   Picture::PlaylistIcon48});
        return type;
    }
    type.comment = "SPC Music File";
    type.icon = iconImages("velmor-music",
                           {Picture::MusicIcon16, Picture::MusicIcon32, Picture::MusicIcon48});
    if (extension == "spc") {
        type.mimeType = "audio/x-velmor-spc";
        type.magic = "SNES-SPC700 Sound File Data";
        // The certificates' type claims *.spc by name alone; without a lower weight here it
        // would win on a name tie, and without a high magic priority a song would be taken for
        // a certificate.
        type.globWeight = 40;
        type.magicPriority = 80;
        type.sharedWith = {"application/x-pkcs7-certificates"};
    } else if (extension == "zst") {
        type.mimeType = "application/x-velmor-save-state";
        type.magic = "ZSNES Save State File";
        type.sharedWith = {"application/zstd"};
    } else {
        std::string name;
        for (const char c : extension) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        type.mimeType = "application/x-velmor-" + name;
    }
    return type;
}

void regFileType(platform::FileTypes& fileTypes, const platform::ProgramInfo& program,
                 std::string_view extension) {
    // A name that is not plain letters and digits could not stand in a type name or a pattern.
    if (extension.empty() || !std::all_of(extension.begin(), extension.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0;
        })) {
        return;
    }
    const platform::FileOpener opener{
        program.folder(),
        iconImages("velmor", {Picture::Icon16, Picture::Icon32, Picture::Icon48})};
    fileTypes.registerType(fileTypeFor(extension), opener);
}

void regFilesClick(platform::FileTypes& fileTypes, const platform::ProgramInfo& program) {
    for (const std::string_view extension : {"spl", "spc", "zst"}) {
        regFileType(fileTypes, program, extension);
    }
}

}  // namespace velmor::filetypes
