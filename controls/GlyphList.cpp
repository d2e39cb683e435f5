#include "GlyphList.h"

#include <QImage>

#include <algorithm>

int TGlyphList::AllocSlot()
{
    auto free = std::find(slotsInUse_.begin(), slotsInUse_.end(), false);
    const int index = static_cast<int>(free - slotsInUse_.begin());
    if (free == slotsInUse_.end()) {
        TBitmap blank(Width, Height, pf24bit);
        Add(blank);
        slotsInUse_.push_back(false);
    }
    slotsInUse_[index] = true;
    return index;
}

int TGlyphList::AddImage(const TBitmap& image, const TBitmap& mask)
{
    const int index = AllocSlot();
    QImage picture = image.ToImage().convertToFormat(QImage::Format_ARGB32);
    const QImage holes = mask.ToImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height() && y < holes.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const auto* bits = reinterpret_cast<const QRgb*>(holes.constScanLine(y));
        for (int x = 0; x < picture.width() && x < holes.width(); ++x)
            if (qGray(bits[x]) >= 128)
                row[x] = 0;
    }
    ReplaceImage(index, picture);
    ++liveCount_;
    return index;
}

int TGlyphList::AddMaskedImage(const TBitmap& image, TColor maskColor)
{
    const int index = AllocSlot();
    ReplaceMasked(index, image, maskColor);
    ++liveCount_;
    return index;
}

void TGlyphList::FreeSlot(int index)
{
    if (index >= 0 && index < static_cast<int>(slotsInUse_.size()) && slotsInUse_[index]) {
        slotsInUse_[index] = false;
        --liveCount_;
    }
}

TGlyphCache::~TGlyphCache()
{
    for (TGlyphList* list : lists_)
        delete list;
}

TGlyphList* TGlyphCache::ListFor(int width, int height)
{
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width == width && (*it)->Height == height)
            return *it;
    lists_.push_back(new TGlyphList(width, height));
    return lists_.back();
}

void TGlyphCache::ReleaseList(TGlyphList* list)
{
    if (!list || list->LiveCount() != 0)
        return;
    auto it = std::find(lists_.begin(), lists_.end(), list);
    if (it != lists_.end()) {
        lists_.erase(it);
        delete list;
    }
}

namespace {
TGlyphCache* cache = nullptr;
int renderers = 0;
}  // namespace

TGlyphCache* GlyphCache()
{
    if (!cache)
        cache = new TGlyphCache;
    return cache;
}

TGlyphCache* ExistingGlyphCache() { return cache; }

void GlyphRendererCreated()
{
    ++renderers;
    GlyphCache();
}

void GlyphRendererDestroyed()
{
    if (--renderers == 0 && cache && cache->IsEmpty()) {
        delete cache;
        cache = nullptr;
    }
}
