#include "QrCodeImage.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace
{
constexpr int kQuietModules = 4;

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};
} // namespace

QImage QrCodeImage(const QByteArray& text, int moduleSize)
{
    // Version 0 lets the encoder pick the smallest symbol that holds the text;
    // level M survives a screen's glare and a phone's shaky hand.
    const std::unique_ptr<QRcode, QrCodeFree> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M));
    if (!code)
        return {};
    const int modules = code->width + 2 * kQuietModules;
    QImage image(modules * moduleSize, modules * moduleSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The low bit of each byte is the module's colour.
            if (code->data[y * code->width + x] & 1)
                painter.fillRect((x + kQuietModules) * moduleSize, (y + kQuietModules) * moduleSize,
                                 moduleSize, moduleSize, Qt::black);
        }
    }
    return image;
}
