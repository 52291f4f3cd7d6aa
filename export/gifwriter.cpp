#include "export/gifwriter.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QRect>
#include <QRgb>

#include <gif_lib.h>

#include <vector>

GifWriter::GifWriter(QIODevice *device)
    : device(device)
{
}

GifWriter::~GifWriter()
{
    if (!gif)
        return;
    discardOutput = true;
    int ignored = 0;
    EGifCloseFile(gif, &ignored);
}

bool GifWriter::open(int width, int height, const QVector<QRgb> &palette)
{
    if (gif) {
        error = QCoreApplication::translate("GifWriter", "The file is open already.");
        return false;
    }
    if (width < 1 || height < 1 || width > 65535 || height > 65535 || palette.isEmpty() || palette.size() > 256) {
        error = QCoreApplication::translate("GifWriter", "A GIF cannot hold a picture of %1 x %2 pixels in %3 colours.")
                    .arg(width)
                    .arg(height)
                    .arg(palette.size());
        return false;
    }
    int bits = 1;
    while ((1 << bits) < palette.size())
        ++bits;
    std::vector<GifColorType> colors(static_cast<std::size_t>(1) << bits, GifColorType { 0, 0, 0 });
    for (int i = 0; i < palette.size(); ++i) {
        colors[static_cast<std::size_t>(i)] = GifColorType { static_cast<GifByteType>(qRed(palette[i])),
            static_cast<GifByteType>(qGreen(palette[i])), static_cast<GifByteType>(qBlue(palette[i])) };
    }

    int code = 0;
    gif = EGifOpen(this, &GifWriter::writeBytes, &code);
    if (!gif)
        return fail(code);
    screenWidth = width;
    screenHeight = height;
    // The screen description copies the palette.
    ColorMapObject *map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    if (!map)
        return fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    EGifSetGifVersion(gif, true);
    const int screenWritten = EGifPutScreenDesc(gif, width, height, bits, 0, map);
    GifFreeMapObject(map);
    if (screenWritten == GIF_ERROR)
        return fail(gif->Error);

    // The application extension that browsers and viewers read as "repeat
    // forever": sub-block 1, loop count 0.
    static const GifByteType application[] = { 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0' };
    static const GifByteType loopForever[] = { 1, 0, 0 };
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
        || EGifPutExtensionBlock(gif, sizeof application, application) == GIF_ERROR
        || EGifPutExtensionBlock(gif, sizeof loopForever, loopForever) == GIF_ERROR
        || EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return fail(gif->Error);
    return true;
}

bool GifWriter::writeFrame(const QRect &area, uchar *indices, int stride, int delay, int transparentIndex)
{
    if (!gif || !error.isEmpty()) {
        if (error.isEmpty())
            error = QCoreApplication::translate("GifWriter", "The file is not open.");
        return false;
    }
    if (area.isEmpty() || !QRect(0, 0, screenWidth, screenHeight).contains(area) || delay < 0 || delay > 65535
        || transparentIndex < -1 || transparentIndex > 255) {
        error = QCoreApplication::translate(
            "GifWriter", "A frame of %1 x %2 pixels at (%3, %4) shown for %5 hundredths does not fit the GIF.")
                    .arg(area.width())
                    .arg(area.height())
                    .arg(area.x())
                    .arg(area.y())
                    .arg(delay);
        return false;
    }

    GraphicsControlBlock control {};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = transparentIndex;
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR
        || EGifPutImageDesc(gif, area.x(), area.y(), area.width(), area.height(), false, nullptr) == GIF_ERROR)
        return fail(gif->Error);
    for (int y = 0; y < area.height(); ++y) {
        if (EGifPutLine(gif, indices + static_cast<std::ptrdiff_t>(y) * stride, area.width()) == GIF_ERROR)
            return fail(gif->Error);
    }
    return true;
}

bool GifWriter::close()
{
    if (!gif) {
        if (error.isEmpty())
            error = QCoreApplication::translate("GifWriter", "The file is not open.");
        return false;
    }
    int code = 0;
    // giflib does not check the write of the trailer: the device's error tells.
    const bool closed = EGifCloseFile(gif, &code) != GIF_ERROR && deviceError.isEmpty();
    gif = nullptr;
    return error.isEmpty() && (closed || fail(code));
}

int GifWriter::writeBytes(GifFileType *gif, const unsigned char *bytes, int length)
{
    auto *self = static_cast<GifWriter *>(gif->UserData);
    if (self->discardOutput)
        return length;
    if (self->device->write(reinterpret_cast<const char *>(bytes), length) != length) {
        self->deviceError = self->device->errorString();
        return 0;
    }
    return length;
}

bool GifWriter::fail(int gifError)
{
    if (error.isEmpty()) {
        const char *text = GifErrorString(gifError);
        error = !deviceError.isEmpty() ? deviceError
            : text                     ? QString::fromUtf8(text)
                                       : QCoreApplication::translate("GifWriter", "Unknown GIF error.");
    }
    return false;
}
