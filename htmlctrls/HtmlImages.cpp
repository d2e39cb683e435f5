#include "HtmlRenderer.h"

#include "HtmlShellIcon.h"
#include "HtmlTextUtils.h"

#include <algorithm>

namespace {
constexpr int kMaxImagePixels = 4096;

struct Placed {
    int width = 0;
    int height = 0;
};
}  // namespace

THtmlRenderer::TagEffect THtmlRenderer::ImageTag(const String& tag, const String& upper, const TRect& r)
{
    int number = imageCount_ + 1;
    String source, alt, value;
    TagAttribute(upper, tag, "SRC", source);
    if (TagAttribute(upper, tag, "ALT", alt) && number == hoveredImage_)
        source = alt;  // an image in an anchor shows its ALT picture while the mouse is on it
    int wantWidth = 0, wantHeight = 0;
    if (TagAttribute(upper, upper, "WIDTH", value))
        wantWidth = LeadingNumber(value, 0, kMaxImagePixels, 0);
    if (TagAttribute(upper, upper, "HEIGHT", value))
        wantHeight = LeadingNumber(value, 0, kMaxImagePixels, 0);
    bool stretch = wantWidth >= 1 && wantHeight >= 1;

    // What the source names, and the room it takes.
    int listIndex = -1;
    bool shell = false, large = false;
    String shellPath;
    TMarkupImage* picture = nullptr;
    Placed size;
    if (StartsWithNoCase(source, "IDX:")) {
        int n = LeadingNumber(source.substr(4), 0, 1 << 30, -1);
        if (a_.images && n >= 0 && n < a_.images->Count()) {
            listIndex = n;
            size = {MulDiv(a_.images->Width, ppi_, 96), MulDiv(a_.images->Height, ppi_, 96)};
        }
    } else if (StartsWithNoCase(source, "SSYS:") || StartsWithNoCase(source, "LSYS:")) {
        shell = true;
        large = StartsWithNoCase(source, "LSYS:");
        shellPath = source.substr(5);
        int icon = 0;
        DrawShellIcon(canvas_, 0, 0, icon, a_.scale, a_.printMode, false, large, shellPath);
        size = {MulDiv(icon, ppi_, 96), MulDiv(icon, ppi_, 96)};
    } else {
        try {
            if (source.find(':') == String::npos)
                picture = a_.pictureStore ? a_.pictureStore->FindImage(source) : nullptr;
            else if (source.find("://") != String::npos)
                picture = a_.pictureCache ? a_.pictureCache->FindImage(source) : nullptr;
            if (picture && !picture->IsEmpty()) {
                if (stretch)
                    size = {MulDiv(wantWidth, ppi_, 96), MulDiv(wantHeight, ppi_, 96)};
                else
                    size = {MulDiv(picture->DisplayWidth(), ppi_, 96), MulDiv(picture->DisplayHeight(), ppi_, 96)};
            }
        } catch (const std::exception&) {
            picture = nullptr;  // a picture that cannot be decoded is not there
        }
        if (!picture || size.width < 1 || size.height < 1) {
            picture = nullptr;
            size = {};
        }
    }
    if (size.width < 1 || size.height < 1) {
        imageCount_ = number;
        return TagEffect::None;  // nothing to show takes no room
    }
    if (measuring_ && r.Left + lineWidth_ + size.width > r.Right && size.width < r.Width())
        return TagEffect::EndLineBefore;
    imageCount_ = number;

    int x = CurrentX(r), y = r.Top;
    if (inAnchor_ && a_.x >= x && a_.x < x + size.width && a_.y >= y && a_.y < y + size.height) {
        imageHit_ = true;
        out_.anchorUnderMouse = anchor_;
        hoveredImage_ = number;
    }
    if (draws_) {
        if (listIndex >= 0) {
            if (a_.printMode) {
                TBitmap image(a_.images->Width, a_.images->Height);
                image.Canvas().Brush.Color = clWhite;  // the page's colour behind transparent parts
                image.Canvas().FillRect({0, 0, a_.images->Width, a_.images->Height});
                a_.images->Draw(image.Canvas(), 0, 0, listIndex);
                canvas_.StretchDraw(Rect(x, y, x + static_cast<int>(Round(a_.images->Width * a_.scale)),
                                         y + static_cast<int>(Round(a_.images->Height * a_.scale))),
                                    image);
            } else {
                a_.images->Draw(canvas_, x, y, listIndex);
            }
        } else if (shell) {
            int icon = 0;
            DrawShellIcon(canvas_, x, y, icon, a_.scale, a_.printMode, true, large, shellPath);
        } else if (picture) {
            try {
                if (stretch) {
                    picture->DrawImage(canvas_, Bounds(x, y, size.width, size.height), true);
                } else {
                    TPoint offset = picture->FrameOffset();
                    picture->DrawImage(canvas_, Bounds(x + offset.X, y + offset.Y, size.width, size.height), false);
                }
            } catch (const std::exception&) {
                // Drawing never fails a paint: the picture is simply not shown.
            }
        }
        curX_ += size.width;
    }
    lineWidth_ += size.width;
    lineHeight_ = std::max(lineHeight_, size.height);
    String align;
    if (TagAttribute(upper, upper, "ALIGN", align)) {
        if (StartsWithNoCase(align, "TOP"))
            baselineOffset_ = lineHeight_ - GhHeight();
        else if (StartsWithNoCase(align, "MIDDLE"))
            baselineOffset_ = (lineHeight_ - GhHeight()) / 2;
    }
    return TagEffect::None;
}

THtmlRenderer::TagEffect THtmlRenderer::ListItem(const TRect& r)
{
    if (measuring_ && itemsOnLine_ > 0)
        return TagEffect::EndLineBefore;  // a second item starts the next line
    ++itemsOnLine_;
    if (!draws_) {
        lineWidth_ += listLevel_ * 12;
        return TagEffect::None;
    }
    curX_ += (listLevel_ - 1) * 12;
    if (!f_.hidden) {
        // The bullet of the "Symbol" font, written as its Unicode character.
        String bullet = listLevel_ % 2 == 1 ? "\xE2\x80\xA2" : "o";
        String name = canvas_.Font.Name();
        canvas_.Font.SetName("Symbol");
        TRect br{curX_, r.Top, curX_ + 12, baseBottom_ - baselineOffset_};
        canvas_.DrawText(bullet, br, DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        canvas_.Font.SetName(name);
    }
    curX_ += 12;
    return TagEffect::None;
}
