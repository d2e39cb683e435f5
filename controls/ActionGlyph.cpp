#include "ActionGlyph.h"

#include "ImgList.h"

std::unique_ptr<TBitmap> ActionGlyph(const TBasicAction& action)
{
    const auto* custom = dynamic_cast<const TCustomAction*>(&action);
    if (!custom || !custom->ActionList || !custom->ActionList->Images)
        return nullptr;
    const TImageList& images = *custom->ActionList->Images;
    const int index = custom->ImageIndex();
    if (index < 0 || index >= images.Count())
        return nullptr;
    const TColor key = 0xFF00FF;
    auto glyph = std::make_unique<TBitmap>(images.Width, images.Height, pf24bit);
    TCanvas& canvas = glyph->Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = key;
    canvas.FillRect(TRect{0, 0, images.Width, images.Height});
    images.Draw(canvas, 0, 0, index, true);
    canvas.Release();
    glyph->SetTransparentColor(key);
    return glyph;
}
