#include "pictures/PictureDecoder.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/UniqueFd.h"

namespace velmor::pictures {
namespace {

// Qt's PNG reader decodes the whole picture before scaling it, even when asked for a small
// one: a 20,000 pixel square would need 1.6 GB. PNG pictures are therefore shrunk here a row
// at a time, each pixel of the result the average of the pixels it covers.
struct PngScaler {
    QSize target;
    QImage out;                           // premultiplied ARGB, `target` sized
    std::vector<unsigned char> row;       // one decoded row, RGBA
    std::vector<int> columnOf;            // the result's column of each source column
    std::vector<std::uint32_t> pixelsIn;  // source columns per result column
    std::vector<std::uint64_t> sums;      // premultiplied sums of the result row being built
};

void pngError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void pngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void emitRow(PngScaler& s, int y, std::uint32_t rowsIn) {
    auto* line = reinterpret_cast<QRgb*>(s.out.scanLine(y));
    for (int x = 0; x < s.target.width(); ++x) {
        const std::uint64_t n = std::uint64_t{s.pixelsIn[x]} * rowsIn;
        const std::uint64_t* sum = &s.sums[static_cast<std::size_t>(x) * 4];
        // The colour sums carry alpha as a factor of up to 255.
        line[x] = qRgba(static_cast<int>(sum[0] / (n * 255)), static_cast<int>(sum[1] / (n * 255)),
                        static_cast<int>(sum[2] / (n * 255)), static_cast<int>(sum[3] / n));
    }
    std::fill(s.sums.begin(), s.sums.end(), 0);
}

// Only plain data lives in this frame: libpng leaves it by longjmp on any error.
bool decodePngScaled(std::FILE* file, png_structp png, png_infop info, PngScaler& s) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE || width == 0 || height == 0 ||
        width < static_cast<png_uint_32>(s.target.width()) ||
        height < static_cast<png_uint_32>(s.target.height())) {
        return false;  // interlaced rows come in passes: left to Qt's reader
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) {
        return false;
    }
    const int targetWidth = s.target.width();
    const int targetHeight = s.target.height();
    s.row.resize(std::size_t{width} * 4);
    s.columnOf.resize(width);
    s.pixelsIn.assign(static_cast<std::size_t>(targetWidth), 0);
    for (png_uint_32 x = 0; x < width; ++x) {
        s.columnOf[x] = static_cast<int>(std::uint64_t{x} * targetWidth / width);
        ++s.pixelsIn[static_cast<std::size_t>(s.columnOf[x])];
    }
    s.sums.assign(static_cast<std::size_t>(targetWidth) * 4, 0);
    std::uint32_t rowsIn = 0;
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, s.row.data(), nullptr);
        const unsigned char* pixel = s.row.data();
        for (png_uint_32 x = 0; x < width; ++x, pixel += 4) {
            std::uint64_t* sum = &s.sums[static_cast<std::size_t>(s.columnOf[x]) * 4];
            const unsigned alpha = pixel[3];
            sum[0] += pixel[0] * alpha;
            sum[1] += pixel[1] * alpha;
            sum[2] += pixel[2] * alpha;
            sum[3] += alpha;
        }
        ++rowsIn;
        const auto targetRow = static_cast<int>(std::uint64_t{y} * targetHeight / height);
        const auto nextRow = static_cast<int>(std::uint64_t{y + 1} * targetHeight / height);
        if (nextRow != targetRow || y + 1 == height) {
            emitRow(s, targetRow, rowsIn);
            rowsIn = 0;
        }
    }
    return true;
}

QImage readScaledPng(int fd, QSize target) {
    platform::UniqueFd copy(::dup(fd));
    if (!copy) {
        return {};
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(copy.get(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return {};
    }
    copy.release();  // the stream closes it now
    std::fseek(file.get(), 0, SEEK_SET);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    PngScaler scaler{target, QImage(target, QImage::Format_ARGB32_Premultiplied), {}, {}, {}, {}};
    const bool done =
        info != nullptr && !scaler.out.isNull() && decodePngScaled(file.get(), png, info, scaler);
    png_destroy_read_struct(&png, &info, nullptr);
    return done ? scaler.out : QImage();
}

// The format of a picture by its first bytes, for the formats whose reader can be named without
// asking every reader: Qt's own (PNG, BMP, PBM/PGM/PPM) and the common ones of its plugins
// (JPEG, GIF). Left to the readers' own detection, a picture would load and ask every image
// plugin that is installed, a cost of libraries that one picture of a known kind does not need.
QByteArray formatByContent(QIODevice& device) {
    const QByteArray head = device.peek(8);
    if (head.startsWith("\x89PNG\r\n\x1a\n")) {
        return "png";
    }
    if (head.startsWith("BM")) {
        return "bmp";
    }
    if (head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6') {
        static constexpr const char* kNetpbm[] = {"pbm", "pgm", "ppm", "pbm", "pgm", "ppm"};
        return kNetpbm[head[1] - '1'];
    }
    if (head.startsWith("\xff\xd8\xff")) {
        return "jpeg";
    }
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) {
        return "gif";
    }
    return {};
}

// A reader of the picture in `file`: by its format where that is known from its first bytes,
// else by the readers' own detection.
std::unique_ptr<QImageReader> pictureReader(QFile& file) {
    auto reader = std::make_unique<QImageReader>(&file);
    if (const QByteArray format = formatByContent(file); !format.isEmpty()) {
        reader->setFormat(format);
        reader->setAutoDetectImageFormat(false);
    }
    return reader;
}

}  // namespace

QImage readPicture(const std::string& path, QSize box) {
    platform::UniqueFd opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!opened) {
        return {};
    }
    const int fd = opened.get();
    struct stat status {};
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        return {};
    }
    opened.release();  // the file closes it now
    auto reader = pictureReader(file);
    const QSize full = reader->size();
    if (!full.isValid() || box.isEmpty() ||
        (full.width() <= box.width() && full.height() <= box.height())) {
        return reader->read();
    }
    const QSize target = full.boundedTo(box);
    if (reader->format() == "png") {
        if (QImage scaled = readScaledPng(fd, target); !scaled.isNull()) {
            return scaled;
        }
        file.seek(0);
        reader = pictureReader(file);
    }
    reader->setScaledSize(target);
    return reader->read();
}

}  // namespace velmor::pictures
