#pragma once

#include <QByteArray>
#include <QImage>

/// `text` as a QR code, dark modules on white with the four-module quiet
/// zone round it, each module `moduleSize` pixels square; a null image when
/// the text does not fit in a QR code.
QImage QrCodeImage(const QByteArray& text, int moduleSize);
