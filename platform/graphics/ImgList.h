#pragma once
// Image lists: equally sized pictures drawn by index.
#include "Graphics.h"

#include <QImage>
#include <vector>

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr, int width = 16, int height = 16);
    int Width = 16;
    int Height = 16;
    int Count() const { return static_cast<int>(images_.size()); }
    // Adds a picture (scaled to the list's size); returns its index.
    int Add(const TGraphic& picture);
    // Pixels of maskColor become transparent.
    int AddMasked(const TGraphic& picture, TColor maskColor);
    int AddImage(const QImage& image);
    // Puts a masked picture into an existing slot.
    void ReplaceMasked(int index, const TGraphic& picture, TColor maskColor);
    // Puts an image (its alpha the mask) into an existing slot.
    void ReplaceImage(int index, const QImage& image);
    void Clear() { images_.clear(); }
    // Draws with transparency; a disabled picture is drawn greyed. Out-of-range indexes draw nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Draws through a one-bit mask: each pixel either covers the canvas or leaves it, so
    // that drawing onto a key colour leaves no blend of picture and key behind.
    void DrawMasked(TCanvas& canvas, int x, int y, int index) const;
    void GetBitmap(int index, TBitmap& bitmap) const;
    const QImage& Image(int index) const { return images_.at(index); }

private:
    std::vector<QImage> images_;
};
