#include "Graphics.h"
#include "GraphicsQt.h"

#include "PictureLimits.h"
#include "PixelMemory.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>

using namespace graphics_qt;

void TGraphic::LoadFromFile(const String& fileName)
{
    TRegularFile file(fileName);
    if (file.Size() > kMaxPictureFileSize)
        throw EInvalidGraphic(Format("The picture \"%s\" is too large: %llu bytes (at most %llu MB)", fileName.c_str(),
                                     static_cast<unsigned long long>(file.Size()),
                                     static_cast<unsigned long long>(kMaxPictureFileSize >> 20)));
    TMemoryStream m;
    std::vector<uint8_t>& bytes = m.Data();
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(file.Size(), kPictureHeaderSize)));
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    CheckHeader(bytes.data(), bytes.size());
    file.AppendRest(bytes, kMaxPictureFileSize);
    LoadFromStream(m);
}

void TGraphic::SaveToFile(const String& fileName) const
{
    TMemoryStream m;
    SaveToStream(m);
    WriteFileAtomically(fileName, m.Data().data(), m.Data().size());
}

void TGraphic::Draw(TCanvas& canvas, const TRect& r) const
{
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QImage img = ToImage();
    if (img.isNull())
        return;
    // The PDF engine (printers and PDF files) takes pictures as 32-bit pixels and would widen a
    // 24-bit one into fresh memory of its own.
    if (p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Pdf && img.format() == QImage::Format_BGR888)
        img = WidenToRgb32(img);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(ToQRect(r), img);
}

namespace {
QImage::Format QtFormat(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    default: return QImage::Format_RGB32;
    }
}

TPixelFormat FormatOf(const QImage& img)
{
    switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return pf1bit;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: return pf8bit;
    case QImage::Format_RGB555: return pf15bit;
    case QImage::Format_RGB16: return pf16bit;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888: return pf24bit;
    default: return pf32bit;
    }
}

QImage Convert(const QImage& src, TPixelFormat f)
{
    QImage::Format qf = QtFormat(f);
    if (src.format() == qf)
        return src;
    if (qf == QImage::Format_Indexed8) {
        QVector<QRgb> grey(256);
        for (int i = 0; i < 256; ++i)
            grey[i] = qRgb(i, i, i);
        return src.convertToFormat(QImage::Format_RGB32).convertToFormat(qf, grey);
    }
    return src.convertToFormat(qf);
}
}  // namespace

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap()
{
    Allocate(width, height, format);
}

std::unique_ptr<TBitmap> TBitmap::NewForOverwrite(int width, int height, TPixelFormat format)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Allocate(width, height, format, false);
    return bitmap;
}

TBitmap::~TBitmap()
{
    if (canvas_)
        canvas_->Release();
}

int TBitmap::Width() const { return image_->width(); }
int TBitmap::Height() const { return image_->height(); }

void TBitmap::Allocate(int w, int h, TPixelFormat format, bool black)
{
    if (canvas_)
        canvas_->Release();
    format_ = format;
    if (w <= 0 || h <= 0) {
        *image_ = QImage();
        return;
    }
    // A new bitmap starts black, as a fresh device-independent bitmap does.
    QImage img = black ? NewZeroedImage(w, h, QtFormat(format)) : NewUnclearedImage(w, h, QtFormat(format));
    if (img.isNull())
        throw EOutOfResources(Format("Out of system resources (%dx%d bitmap)", w, h));
    if (img.format() == QImage::Format_Indexed8) {
        img.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            img.setColor(i, qRgb(i, i, i));
    }
    *image_ = std::move(img);
}

void TBitmap::SetSize(int w, int h)
{
    if (w == Width() && h == Height())
        return;
    QImage old = *image_;
    Allocate(w, h, format_);
    if (!old.isNull() && !image_->isNull()) {
        // The old pixels stay at the top-left, as when a bitmap is resized.
        int rows = std::min(old.height(), h);
        int bytes = std::min(old.bytesPerLine(), image_->bytesPerLine());
        if (old.format() == image_->format())
            for (int y = 0; y < rows; ++y)
                std::memcpy(image_->scanLine(y), old.constScanLine(y), bytes);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    if (canvas_)
        canvas_->Release();
    format_ = format;
    if (!image_->isNull())
        *image_ = Convert(*image_, format);
    Changed();
}

uint8_t* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphic(Format("Scan line index out of range"));
    return image_->scanLine(row);
}

const uint8_t* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= Height())
        throw EInvalidGraphic(Format("Scan line index out of range"));
    return image_->constScanLine(row);
}

int TBitmap::BytesPerLine() const { return static_cast<int>(image_->bytesPerLine()); }

TCanvas& TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    if (!canvas_->HandleAllocated() && !image_->isNull())
        canvas_->BeginOn(image_.get());
    return *canvas_;
}

void TBitmap::Assign(const TPersistent& source)
{
    if (&source == this)
        return;
    auto* g = dynamic_cast<const TGraphic*>(&source);
    if (!g)
        return TPersistent::Assign(source);
    if (canvas_)
        canvas_->Release();
    if (auto* b = dynamic_cast<const TBitmap*>(g)) {
        format_ = b->format_;
        *image_ = b->image_->copy();
        transparentColor_ = b->transparentColor_;
    } else {
        QImage img = g->ToImage();
        format_ = img.isNull() ? pfDevice : FormatOf(img);
        *image_ = img.isNull() ? QImage() : Convert(img, format_);
    }
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentColor_ != clDefault || image_->isNull() || image_->height() == 0 || image_->width() == 0)
        return transparentColor_;
    const QRgb c = image_->pixel(0, image_->height() - 1);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::SetImage(const QImage& image)
{
    if (canvas_)
        canvas_->Release();
    format_ = image.isNull() ? pfDevice : FormatOf(image);
    *image_ = image.isNull() ? QImage() : Convert(image, format_);
    Changed();
}

void TIcon::CheckHeader(const uint8_t* data, size_t size) const { CheckIconPixels(data, size); }

void TBitmap::CheckHeader(const uint8_t* data, size_t size) const
{
    int64_t width = 0, height = 0;
    if (BmpFrameSize(data, size, width, height))
        CheckPicturePixels("Bitmap", width, height);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), Qt::Uninitialized);
    stream.ReadBuffer(bytes.data(), bytes.size());
    CheckHeader(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    AllowPictureMemory();
    QImage img;
    if (!img.loadFromData(bytes, "BMP"))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(img);
}

void TBitmap::SaveToStream(TStream& stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image_->isNull() && !image_->save(&buffer, "BMP"))
        throw EWriteError("Stream write error");
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

QImage TBitmap::ToImage() const
{
    if (canvas_ && canvas_->HandleAllocated())
        const_cast<TCanvas&>(*canvas_).Release();  // finish pending painting before the pixels are read
    return *image_;
}

TImageGraphic::TImageGraphic() : image_(std::make_unique<QImage>()) {}
TImageGraphic::~TImageGraphic() = default;
int TImageGraphic::Width() const { return image_->width(); }
int TImageGraphic::Height() const { return image_->height(); }
QImage TImageGraphic::ToImage() const { return *image_; }

void TImageGraphic::LoadFromStream(TStream& stream)
{
    int64_t size = stream.Size() - stream.Position();
    QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), Qt::Uninitialized);
    stream.ReadBuffer(bytes.data(), bytes.size());
    CheckHeader(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    AllowPictureMemory();
    QImage img;
    if (!img.loadFromData(bytes, FormatName()))
        throw EInvalidGraphic("Invalid image");
    *image_ = img;
    Changed();
}

void TImageGraphic::SaveToStream(TStream& stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image_->save(&buffer, FormatName() ? FormatName() : "PNG");
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TImageGraphic::Assign(const TPersistent& source)
{
    auto* g = dynamic_cast<const TGraphic*>(&source);
    if (!g)
        return TPersistent::Assign(source);
    *image_ = g->ToImage();
    Changed();
}
