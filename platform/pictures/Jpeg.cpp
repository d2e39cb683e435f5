#include "Jpeg.h"

#include "PictureLimits.h"
#include "PixelMemory.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooManyScans = false;
};

void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void Quiet(j_common_ptr, int) {}

// The decoder reports its progress between pieces of work, also while it takes in the scans of
// a progressive picture: the place to stop a file of endless scans.
void CountScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxJpegScans)
        return;
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    err->tooManyScans = true;
    std::longjmp(err->jump, 1);
}

}  // namespace

QImage DecodeJpeg(const uint8_t* data, size_t size)
{
    jpeg_decompress_struct info {};
    ErrorManager err {};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = Quiet;
    jpeg_progress_mgr progress {};
    progress.progress_monitor = CountScans;
    QImage image;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        if (err.tooManyScans)
            throw EInvalidGraphic(Format("JPEG image has too many scans (at most %d)", kMaxJpegScans));
        throw EInvalidGraphic(Format("JPEG error #%d: %s", err.pub.msg_code, err.message));
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<int64_t>(info.image_width) * info.image_height > kMaxPicturePixels) {
        jpeg_destroy_decompress(&info);
        CheckPicturePixels("JPEG", info.image_width, info.image_height);
    }
    info.out_color_space = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    // Every row is written by the decoder below before anyone reads it.
    image = NewUnclearedImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_BGR888);
    if (image.isNull()) {
        String message = Format("Not enough memory for a JPEG image of %u x %u pixels", info.output_width,
                                info.output_height);
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphic(message);
    }
    if (info.out_color_space == JCS_CMYK) {
        // Adobe writes inverted CMYK; fold it into blue, green, red.
        std::vector<uint8_t> row(info.output_width * 4);
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {row.data()};
            uint8_t* out = image.scanLine(static_cast<int>(info.output_scanline));
            jpeg_read_scanlines(&info, rows, 1);
            for (unsigned x = 0; x < info.output_width; ++x) {
                unsigned k = row[4 * x + 3];
                out[3 * x + 0] = static_cast<uint8_t>(row[4 * x + 2] * k / 255);
                out[3 * x + 1] = static_cast<uint8_t>(row[4 * x + 1] * k / 255);
                out[3 * x + 2] = static_cast<uint8_t>(row[4 * x + 0] * k / 255);
            }
        }
    } else {
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {image.scanLine(static_cast<int>(info.output_scanline))};
            jpeg_read_scanlines(&info, rows, 1);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

std::vector<uint8_t> EncodeJpeg(const QImage& source, int quality)
{
    QImage image = source.convertToFormat(QImage::Format_BGR888);
    jpeg_compress_struct info {};
    ErrorManager err {};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw EInvalidGraphic(Format("JPEG error #%d: %s", err.pub.msg_code, err.message));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {const_cast<uint8_t*>(image.constScanLine(static_cast<int>(info.next_scanline)))};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TJPEGImage::TJPEGImage() : image_(std::make_unique<QImage>()) {}
TJPEGImage::~TJPEGImage() = default;
int TJPEGImage::Width() const { return image_->width(); }
int TJPEGImage::Height() const { return image_->height(); }
QImage TJPEGImage::ToImage() const { return *image_; }

void TJPEGImage::CheckHeader(const uint8_t* data, size_t size) const
{
    uint32_t width = 0, height = 0;
    if (JpegFrameSize(data, size, width, height))
        CheckPicturePixels("JPEG", width, height);
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(size, 0)));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    *image_ = DecodeJpeg(bytes.data(), bytes.size());
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const
{
    if (image_->isNull())
        return;
    std::vector<uint8_t> bytes = EncodeJpeg(*image_, CompressionQuality);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TJPEGImage::Assign(const TPersistent& source)
{
    auto* g = dynamic_cast<const TGraphic*>(&source);
    if (!g)
        return TPersistent::Assign(source);
    *image_ = g->ToImage().convertToFormat(QImage::Format_BGR888);
    Changed();
}
