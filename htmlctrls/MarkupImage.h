#pragma once
// What the renderer needs of the pictures that mark-up names by address or by name; the picture
// layer provides them, and the renderer never sees how they are decoded.
#include "Graphics.h"

class TMarkupImage {
public:
    virtual ~TMarkupImage() = default;
    virtual bool IsEmpty() const = 0;
    // Natural size in pixels at 96 pixels per inch.
    virtual int DisplayWidth() = 0;
    virtual int DisplayHeight() = 0;
    // Position of the frame shown within the picture.
    virtual TPoint FrameOffset() const = 0;
    // Stretched into r, or at r's top-left corner at natural size.
    virtual void DrawImage(TCanvas& canvas, const TRect& r, bool stretch) = 0;
};

// A place pictures are found in: a control's cache of pictures by address, a store by name.
class TMarkupImageSource {
public:
    virtual ~TMarkupImageSource() = default;
    // The picture the mark-up calls source, or nullptr.
    virtual TMarkupImage* FindImage(const String& source) = 0;
};
