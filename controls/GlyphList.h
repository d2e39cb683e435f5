#pragma once
// The image lists that hold the built state pictures of button glyphs: one list per glyph size,
// shared by every button of both speed-button families, its slots handed out and given back.
#include "ImgList.h"

#include <vector>

class TGlyphList : public TImageList {
public:
    TGlyphList(int width, int height) : TImageList(nullptr, width, height) {}
    // The lowest free slot, a blank image appended when all are in use; the slot is taken.
    int AllocSlot();
    // Into a slot of its own: the image with the mask (a one-bit bitmap, white where the image
    // is see-through), or with the pixels of maskColor see-through. Returns the slot.
    int AddImage(const TBitmap& image, const TBitmap& mask);
    int AddMaskedImage(const TBitmap& image, TColor maskColor);
    // The picture stays until a later add takes the slot.
    void FreeSlot(int index);
    // One flag per slot, set while the slot holds a live picture, and their count.
    const std::vector<bool>& SlotsInUse() const { return slotsInUse_; }
    int LiveCount() const { return liveCount_; }

private:
    std::vector<bool> slotsInUse_;
    int liveCount_ = 0;
};

class TGlyphCache : public TObject {
public:
    ~TGlyphCache() override;
    // The newest list of exactly this size, or a new one.
    TGlyphList* ListFor(int width, int height);
    // Frees the list once it holds no live picture.
    void ReleaseList(TGlyphList* list);
    bool IsEmpty() const { return lists_.empty(); }

private:
    std::vector<TGlyphList*> lists_;
};

// The one cache of the program: made with the first glyph renderer (or the first picture built
// after it was freed), freed when the last renderer goes and finds it empty.
TGlyphCache* GlyphCache();
void GlyphRendererCreated();
void GlyphRendererDestroyed();
// For tests: the cache, without making one.
TGlyphCache* ExistingGlyphCache();
