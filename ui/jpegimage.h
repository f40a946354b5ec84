#pragma once

#include <QByteArray>
#include <QImage>

namespace quelvara {

/// Decodes a JPEG stream with libjpeg; returns a null image when the stream is
/// not a whole, sound JPEG (corrupt, truncated, unsupported or implausibly large).
QImage decodeJpeg(const QByteArray &data);

} // namespace quelvara
