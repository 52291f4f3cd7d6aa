#ifndef GIFWRITER_H
#define GIFWRITER_H

#include <QRgb>
#include <QString>
#include <QVector>

class QIODevice;
class QRect;
struct GifFileType;

// Writes an animated GIF, frame by frame, to a device. It is the only code
// that talks to giflib, so the encoder can be swapped in one place; it knows
// nothing of fields or colours, only of palette indices.
//
// Every call returns false once anything failed, and errorString() then says
// why; the output is incomplete and should be thrown away.
class GifWriter
{
public:
    // device: not owned, open for writing, and alive until the writer is gone.
    explicit GifWriter(QIODevice *device);
    // Frees giflib's state; without a close() first, the output stays incomplete.
    ~GifWriter();

    GifWriter(const GifWriter &) = delete;
    GifWriter &operator=(const GifWriter &) = delete;

    // Starts the file: a screen of width x height pixels (1..65535 each), the
    // global palette (1..256 colours; shorter ones are padded with black to a
    // power of two) and the extension that makes viewers loop forever.
    bool open(int width, int height, const QVector<QRgb> &palette);
    // Appends a frame: area (non-empty, inside the screen) with its pixels as
    // palette indices, area.height() lines of area.width() bytes, stride bytes
    // apart; giflib may rewrite them in place. The frame is shown for delay
    // hundredths of a second (0..65535) and stays under the next one; its
    // pixels of index transparentIndex (-1: none) leave what was there before.
    bool writeFrame(const QRect &area, uchar *indices, int stride, int delay, int transparentIndex);
    // Ends the file. Precondition: open() succeeded.
    bool close();
    // Why the last call failed; empty while none has.
    QString errorString() const { return error; }

private:
    // giflib's output function: hands the bytes to the device.
    static int writeBytes(GifFileType *gif, const unsigned char *bytes, int length);
    // Records why giflib's call failed, preferring the device's own reason.
    bool fail(int gifError);

    QIODevice *device; // not owned
    GifFileType *gif = nullptr; // owned, freed by EGifCloseFile
    int screenWidth = 0;
    int screenHeight = 0;
    bool discardOutput = false; // set while freeing an unfinished file, whose trailer must not reach the device
    QString deviceError; // the device's reason for the last failed write
    QString error;
};

#endif // GIFWRITER_H
