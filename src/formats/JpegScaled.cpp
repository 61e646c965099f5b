#include "formats/JpegScaled.h"

#if defined(LUMARA_HAVE_LIBJPEG)
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#endif

bool LooksLikeJpeg(QByteArrayView bytes)
{
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

#if !defined(LUMARA_HAVE_LIBJPEG)

bool JpegDecoderBuiltIn()
{
    return false;
}

ScaledJpeg DecodeJpegCovering(QByteArrayView, const std::function<QSize(QSize)>&, qint64)
{
    return {};
}

#else

bool JpegDecoderBuiltIn()
{
    return true;
}

namespace {

constexpr long MaxDecoderBytes = 256L * 1024 * 1024;

/// libjpeg ends a failed decode by calling error_exit, which must not return: it jumps
/// back to the decoding function, whose frame holds nothing that needs destroying.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void Silent(j_common_ptr /*info*/) {}

/// Where the decoded rows go: the image is made by the caller's frame, so a failure
/// halfway leaves it to be destroyed there.
struct RowSink {
    const std::function<QSize(QSize)>& cover;
    qint64 maxPixels;
    QSize natural;
    QImage image;

    unsigned char* rows(int width, int height)
    {
        image = QImage(width, height, QImage::Format_RGB32);
        return image.isNull() ? nullptr : image.bits();
    }
};

/// The smallest scale M/8 whose output covers `wanted`; leaves it set in `info`.
void ChooseScale(jpeg_decompress_struct& info, QSize wanted)
{
    info.scale_denom = 8;
    for (unsigned int m = 1; m <= 8; ++m) {
        info.scale_num = m;
        jpeg_calc_output_dimensions(&info);
        if (int(info.output_width) >= wanted.width() && int(info.output_height) >= wanted.height())
            return;
    }
}

/// The decode itself; every local is plain data, as a jump out of libjpeg skips them.
bool Decode(const unsigned char* data, unsigned long size, RowSink& sink)
{
    jpeg_decompress_struct info{};
    ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOut;
    error.manager.output_message = Silent;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Multi-scan pictures keep all their coefficients: beyond this they are refused, as
    // there is no backing store to spill to.
    info.mem->max_memory_to_use = MaxDecoderBytes;
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    sink.natural = QSize(int(info.image_width), int(info.image_height));
    const bool known = info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_RGB ||
                       info.jpeg_color_space == JCS_YCbCr;
    if (!known || qint64(info.image_width) * info.image_height > sink.maxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Straight into the bytes of a Format_RGB32 image: B, G, R and a filler, in memory order.
    info.out_color_space = JCS_EXT_BGRX;
    ChooseScale(info, sink.cover(sink.natural));
    jpeg_start_decompress(&info);
    unsigned char* const pixels = sink.rows(int(info.output_width), int(info.output_height));
    if (!pixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const auto stride = size_t(info.output_width) * 4;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + size_t(info.output_scanline) * stride;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break; // the data ended early: the rest stays as it is
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

ScaledJpeg DecodeJpegCovering(QByteArrayView bytes, const std::function<QSize(QSize)>& cover,
                              qint64 maxPixels)
{
    if (!LooksLikeJpeg(bytes))
        return {};
    RowSink sink{cover, maxPixels, {}, {}};
    const bool decoded = Decode(reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<unsigned long>(bytes.size()), sink);
    return {decoded ? sink.image : QImage(), sink.natural};
}

#endif
