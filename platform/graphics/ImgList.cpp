#include "ImgList.h"

#include <QPainter>

TImageList::TImageList(TComponent* owner, int width, int height) : TComponent(owner), Width(width), Height(height) {}

int TImageList::AddImage(const QImage& image)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.width() != Width || img.height() != Height)
        img = img.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    images_.push_back(img);
    return Count() - 1;
}

void TImageList::ReplaceMasked(int index, const TGraphic& picture, TColor maskColor)
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    AddMasked(picture, maskColor);
    images_[index] = std::move(images_.back());
    images_.pop_back();
}

void TImageList::ReplaceImage(int index, const QImage& image)
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    AddImage(image);
    images_[index] = std::move(images_.back());
    images_.pop_back();
}

int TImageList::Add(const TGraphic& picture) { return AddImage(picture.ToImage()); }

int TImageList::AddMasked(const TGraphic& picture, TColor maskColor)
{
    QImage img = picture.ToImage().convertToFormat(QImage::Format_ARGB32);
    TColor rgb = ColorToRGB(maskColor);
    QRgb key = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                row[x] = 0;
    }
    return AddImage(img);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QImage img = images_[index];
    if (!enabled) {
        QImage grey = img.convertToFormat(QImage::Format_ARGB32);
        for (int yy = 0; yy < grey.height(); ++yy) {
            auto* row = reinterpret_cast<QRgb*>(grey.scanLine(yy));
            for (int xx = 0; xx < grey.width(); ++xx) {
                int g = 128 + qGray(row[xx]) / 2;
                row[xx] = qRgba(g, g, g, qAlpha(row[xx]));
            }
        }
        img = grey;
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(x, y, img);
}

void TImageList::DrawMasked(TCanvas& canvas, int x, int y, int index) const
{
    if (index < 0 || index >= Count())
        return;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    QImage img = images_[index].convertToFormat(QImage::Format_ARGB32);
    for (int yy = 0; yy < img.height(); ++yy) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(yy));
        for (int xx = 0; xx < img.width(); ++xx)
            row[xx] = qAlpha(row[xx]) >= 128 ? (row[xx] | 0xFF000000u) : 0u;
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(x, y, img);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const
{
    if (index < 0 || index >= Count())
        return;
    QImage on(Width, Height, QImage::Format_RGB32);
    on.fill(Qt::white);
    QPainter p(&on);
    p.drawImage(0, 0, images_[index]);
    p.end();
    bitmap.SetImage(on);
}
