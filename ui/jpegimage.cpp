#include "jpegimage.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace quelvara {

namespace {

// Larger claims in a header are taken as corruption rather than allocated.
constexpr qint64 kMaxPixels = qint64(64) * 1024 * 1024;

// libjpeg's default error handler prints and calls exit(); ours jumps back to
// the decoder instead, so every failure ends as a null image.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void failDecoding(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

// Warnings (level -1) are what libjpeg reports for a stream that ends early or
// has damaged data, which it would otherwise patch over with grey; treat them as
// failures. Trace messages are ignored.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) {
        failDecoding(cinfo);
    }
}

void discardMessage(j_common_ptr) {}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    QImage image;
};

// Runs libjpeg over the buffer. Kept free of local objects with destructors,
// and touching state only through the reference, so that the longjmp from the
// error handler skips nothing and clobbers nothing.
bool runDecoder(Decoder &d, const unsigned char *bytes, unsigned long size)
{
    if (setjmp(d.error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, bytes, size);
    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    const bool grey = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    // Anything other than grey is asked for as RGB; libjpeg refuses (and so
    // fails the decoding) colour spaces it cannot convert, such as CMYK.
    d.cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    if (qint64(d.cinfo.image_width) * qint64(d.cinfo.image_height) > kMaxPixels) {
        return false;
    }
    jpeg_start_decompress(&d.cinfo);
    d.image = QImage(int(d.cinfo.output_width), int(d.cinfo.output_height),
                     grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (d.image.isNull()) {
        return false;
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(int(d.cinfo.output_scanline));
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) {
            return false;
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &data)
{
    if (data.isEmpty()) {
        return {};
    }
    Decoder d{};
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = failDecoding;
    d.error.pub.emit_message = onMessage;
    d.error.pub.output_message = discardMessage;
    const bool ok = runDecoder(d, reinterpret_cast<const unsigned char *>(data.constData()),
                               static_cast<unsigned long>(data.size()));
    // Safe also when creation itself failed: the struct started zeroed.
    jpeg_destroy_decompress(&d.cinfo);
    return ok ? d.image : QImage();
}

} // namespace quelvara
