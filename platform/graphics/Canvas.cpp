#include "Graphics.h"
#include "GraphicsQt.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace graphics_qt;

TCanvas::TCanvas()
{
    Font.SetColor(clWindowText);
    Brush.Color = clWhite;
}

TCanvas::~TCanvas() { Release(); }

void TCanvas::BeginOn(QPaintDevice* device)
{
    Release();
    device_ = device;
    if (device_) {
        Font.PixelsPerInch = device_->logicalDpiY();
    }
}

void TCanvas::Attach(QPainter* painter)
{
    Release();
    painter_ = painter;
    ownsPainter_ = false;
    if (painter_ && painter_->device())
        Font.PixelsPerInch = painter_->device()->logicalDpiY();
}

void TCanvas::Release()
{
    if (painter_ && ownsPainter_) {
        painter_->end();
        delete painter_;
    }
    painter_ = nullptr;
    ownsPainter_ = false;
    device_ = nullptr;
    clipped_ = false;
}

QPainter* TCanvas::Painter()
{
    if (!painter_ && device_ && device_->paintingActive() == false) {
        painter_ = new QPainter();
        if (!painter_->begin(device_)) {
            delete painter_;
            painter_ = nullptr;
            return nullptr;
        }
        ownsPainter_ = true;
        if (clipped_)
            painter_->setClipRect(ToQRect(clip_));
    }
    if (painter_)
        painter_->setRenderHint(QPainter::Antialiasing, false);
    return painter_;
}

int TCanvas::BitsPerPixel() const
{
    // A widget's painter may draw into another surface (a picture of the widget): that one counts.
    const QPaintDevice* device = device_;
    if (!device && painter_)
        device = painter_->paintEngine() && painter_->paintEngine()->paintDevice() ? painter_->paintEngine()->paintDevice()
                                                                                   : painter_->device();
    if (device && device->depth() > 0)
        return device->depth();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

int TCanvas::PixelsPerInchX() const
{
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? d->logicalDpiX() : 96;
}

int TCanvas::PixelsPerInchY() const
{
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? d->logicalDpiY() : 96;
}

void TCanvas::ApplyPen()
{
    QPainter* p = painter_;
    if (Pen.Style == psClear) {
        p->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen.Color));
    pen.setWidth(Pen.Width <= 1 ? 0 : Pen.Width);
    switch (Pen.Style) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(Pen.Width > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p->setPen(pen);
    p->setCompositionMode(Pen.Mode == pmXor || Pen.Mode == pmNot ? QPainter::RasterOp_SourceXorDestination
                                                                  : QPainter::CompositionMode_SourceOver);
}

void TCanvas::ApplyBrush()
{
    QPainter* p = painter_;
    if (Brush.Style == bsClear) {
        p->setBrush(Qt::NoBrush);
        return;
    }
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (Brush.Style) {
    case bsHorizontal: style = Qt::HorPattern; break;
    case bsVertical: style = Qt::VerPattern; break;
    case bsFDiagonal: style = Qt::FDiagPattern; break;
    case bsBDiagonal: style = Qt::BDiagPattern; break;
    case bsCross: style = Qt::CrossPattern; break;
    case bsDiagCross: style = Qt::DiagCrossPattern; break;
    default: break;
    }
    p->setBrush(QBrush(ToQColor(Brush.Color), style));
}

void TCanvas::LineTo(int x, int y)
{
    TPoint from = PenPos;
    PenPos = {x, y};
    if (!Painter() || Pen.Style == psClear)
        return;
    ApplyPen();
    if (from.X == x && from.Y == y)
        return;
    if (Pen.Width > 1) {
        painter_->drawLine(from.X, from.Y, x, y);
        return;
    }
    if (Pen.Style == psSolid && Pen.Mode == pmCopy && (from.X == x || from.Y == y)) {
        // A straight solid line is a one-pixel rectangle; filling it is far cheaper than stroking.
        QRect line = from.Y == y ? QRect(std::min(from.X, x < from.X ? x + 1 : x), y, std::abs(x - from.X), 1)
                                 : QRect(x, std::min(from.Y, y < from.Y ? y + 1 : y), 1, std::abs(y - from.Y));
        painter_->fillRect(line, ToQColor(Pen.Color));
        return;
    }
    // A one-pixel line stops one pixel short of its end, along its longer direction, whichever
    // way it runs; Qt's own flat cap drops the end of the line as it orders the points.
    QPen pen = painter_->pen();
    pen.setCapStyle(Qt::SquareCap);
    painter_->setPen(pen);
    int dx = x - from.X, dy = y - from.Y;
    int ex, ey;
    if (std::abs(dx) >= std::abs(dy)) {
        ex = x - (dx > 0 ? 1 : -1);
        ey = from.Y + static_cast<int>(std::lround(double(dy) * (ex - from.X) / dx));
    } else {
        ey = y - (dy > 0 ? 1 : -1);
        ex = from.X + static_cast<int>(std::lround(double(dx) * (ey - from.Y) / dy));
    }
    if (ex == from.X && ey == from.Y)
        painter_->drawPoint(ex, ey);
    else
        painter_->drawLine(from.X, from.Y, ex, ey);
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    if (count < 1)
        return;
    MoveTo(points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!Painter())
        return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    if (Brush.Style != bsClear) {
        ApplyBrush();
        painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), painter_->brush());
    }
    if (Pen.Style != psClear) {
        ApplyPen();
        painter_->setBrush(Qt::NoBrush);
        int w = std::max(1, Pen.Width);
        if (w == 1)
            painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        else
            painter_->drawRect(QRectF(x1 + w / 2.0, y1 + w / 2.0, x2 - x1 - w, y2 - y1 - w));
    }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!Painter())
        return;
    ApplyPen();
    ApplyBrush();
    painter_->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    if (!Painter() || count < 2)
        return;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].X, points[i].Y);
    ApplyPen();
    ApplyBrush();
    painter_->drawPolygon(poly);
}

void TCanvas::FillBackground(const TRect& r, TColor c)
{
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->fillRect(ToQRect(r), ToQColor(c));
}

void TCanvas::FillRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty() || Brush.Style == bsClear)
        return;
    ApplyBrush();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->fillRect(ToQRect(r), painter_->brush());
}

void TCanvas::FrameRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty())
        return;
    QColor c = ToQColor(Brush.Color);
    painter_->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    painter_->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    painter_->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    painter_->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (!Painter() || r.IsEmpty())
        return;
    // A dotted frame drawn by inverting every other pixel, so a second call takes it away.
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->setPen(Qt::NoPen);
    QColor white(255, 255, 255);
    for (int x = r.Left; x < r.Right; x += 2) {
        painter_->fillRect(QRect(x, r.Top, 1, 1), white);
        if (r.Bottom - 1 != r.Top)
            painter_->fillRect(QRect(x, r.Bottom - 1, 1, 1), white);
    }
    for (int y = r.Top + 2; y < r.Bottom - 1; y += 2) {
        painter_->fillRect(QRect(r.Left, y, 1, 1), white);
        if (r.Right - 1 != r.Left)
            painter_->fillRect(QRect(r.Right - 1, y, 1, 1), white);
    }
    painter_->restore();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic)
{
    StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic)
{
    if (!Painter() || graphic.Empty())
        return;
    graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src)
{
    if (!Painter())
        return;
    QImage* img = source.device_ ? dynamic_cast<QImage*>(source.device_) : nullptr;
    if (!img && source.painter_)
        img = dynamic_cast<QImage*>(source.painter_->device());
    if (!img)
        return;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(ToQRect(dest), *img, ToQRect(src));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

static QImage* ImageOf(QPaintDevice* d) { return d ? dynamic_cast<QImage*>(d) : nullptr; }

TColor TCanvas::Pixel(int x, int y)
{
    QImage* img = ImageOf(device_ ? device_ : (painter_ ? painter_->device() : nullptr));
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height())
        return -1;
    QRgb c = img->pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    if (!Painter())
        return;
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(QRect(x, y, 1, 1), ToQColor(c));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawKeyed(int x, int y, const TBitmap& bitmap, TColor key)
{
    if (!Painter())
        return;
    const int step = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    const QTransform& t = painter_->worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy())) {
        // Scaled or moved by parts of a pixel, a drawn image would be resampled: pixel by pixel.
        for (int row = 0; row < bitmap.Height(); ++row) {
            const uint8_t* p = bitmap.ScanLine(row);
            for (int col = 0; col < bitmap.Width(); ++col, p += step)
                if (const TColor c = RGB(p[2], p[1], p[0]); c != key)
                    SetPixel(x + col, y + row, c);
        }
        return;
    }
    // One image whose key pixels are see-through: an opaque pixel drawn over another replaces it
    // exactly, as setting it does, and the others stay as they are.
    QImage keyed(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < bitmap.Height(); ++row) {
        const uint8_t* p = bitmap.ScanLine(row);
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(row));
        for (int col = 0; col < bitmap.Width(); ++col, p += step)
            out[col] = RGB(p[2], p[1], p[0]) == key ? 0 : qRgb(p[2], p[1], p[0]);
    }
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->drawImage(QPoint(x, y), keyed);
}

void TCanvas::SetClipRect(const TRect& r)
{
    clipped_ = true;
    clip_ = r;
    if (painter_)
        painter_->setClipRect(ToQRect(r));
}

void TCanvas::ClearClip()
{
    clipped_ = false;
    if (painter_)
        painter_->setClipping(false);
}

TRect TCanvas::ClipRect() const
{
    if (clipped_)
        return clip_;
    QPaintDevice* d = device_ ? device_ : (painter_ ? painter_->device() : nullptr);
    return d ? TRect{0, 0, d->width(), d->height()} : TRect{};
}
