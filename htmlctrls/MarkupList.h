#pragma once
// A list box whose items are lines of mark-up, measured, drawn and hit-tested by the mark-up
// renderer. Anchors in items are links: pressing one (with any mouse button) follows the anchor
// rule of the mark-up controls (MarkupEvents.h). Hints are plain text.
#include "ExtCtrls.h"
#include "ImgList.h"
#include "ListBoxes.h"
#include "MarkupGradient.h"
#include "MarkupPictureCache.h"

#include <memory>

class TPictureStore;

using TAnchorClick = std::function<void(TObject* sender, int index, const String& anchor)>;
using TAnchorHintEvent = std::function<void(TObject* sender, int index, String& anchor)>;

class EMarkupListBoxError : public Exception { using Exception::Exception; };

class TMarkupListBox : public TCustomListBox {
public:
    explicit TMarkupListBox(TComponent* owner);
    ~TMarkupListBox() override;

    bool AnchorHint = false;
    bool Ellipsis() const { return ellipsis_; }
    void SetEllipsis(bool on);
    bool EnableBlink() const { return enableBlink_; }
    void SetEnableBlink(bool on);
    bool HTMLHint = false;
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool IncrLookup = false;
    bool ItemHint = false;
    int LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(int spacing);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool on);
    TPictureStore* PictureStore() const { return pictureStore_; }
    void SetPictureStore(TPictureStore* store);
    bool ScrollHorizontal() const { return scrollHorizontal_; }
    void SetScrollHorizontal(bool on);
    TGradientStyle& SelectionColors() { return selectionColors_; }
    void SetSelectionColors(const TGradientStyle& style) { selectionColors_.Assign(style); }
    TColor SelectionFontColor() const { return selectionFontColor_; }
    void SetSelectionFontColor(TColor c);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int offset);
    bool ShowSelection = true;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    bool SortWithHTML = false;
    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor c);
    String Version() const { return "1.8.0.0"; }
    void SetVersion(const String&) {}

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;

    // While the count is above 0 the horizontal extent stays as it is and the items are laid
    // out once, at the EndUpdate that brings it back to 0.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // The item without its mark-up; EMarkupListBoxError "Item index out of range".
    String StrippedItems(int index) const;
    // The anchor under a point of the client area, empty when none; index is the item there.
    String AnchorAt(int x, int y, int& index);
    // Set while the control is read from a form description; Loaded ends it.
    bool Loading = false;
    void Loaded();
    // One tick of the blink and animation timer (every 100 ms while EnableBlink is on).
    void BlinkTick();
    bool BlinkTimerRunning() const { return blinkTimer_ != nullptr; }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    bool HandleEvent(QEvent* event) override;
    // A new size recomputes the horizontal extent; item heights stay as they were given.
    void Resize() override;

protected:
    // A destroyed image list or picture store is no longer drawn from.
    void Notification(TComponent* component, TOperation operation) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    bool HintAt(const TPoint& p, String& text, TPoint& screenPos) override;

private:
    struct Layout {
        String anchor;
        int width = 0, height = 0;
    };
    Layout Render(TCanvas& canvas, const String& text, const TRect& r, TPoint mouse, bool hitTest, bool measure,
                  bool selected, bool blinkVisible, TColor urlColor, int lineSpacing);
    TCanvas& MeasureCanvas();
    // The height an item gets when it is added (its mark-up's, capped, plus 4) and its width.
    Layout MeasureNewItem(int index);
    struct TItemChanges {
        bool removed = false;  // an item went (or was replaced)
        int widestNew = 0;     // the widest item that came, plus 6; measured with ScrollHorizontal only
    };
    TItemChanges KeepHeights();
    struct Measured {
        String text;
        int height = -1;
    };
    // The record of an item that came: measured at once with ScrollHorizontal, else when asked.
    Measured Arrived(int index, TItemChanges& changes);
    int WidestItem();
    void UpdateHorizontalExtent(int width);
    void Refresh();
    void AfterItemsChanged(const TItemChanges& changes);
    bool Find(int from, const String& buffer);

    bool blinkPhase_ = false;
    bool blinkShown_ = true;
    TCursor savedCursor_ = crDefault;
    String currentAnchor_;
    TImageList* images_ = nullptr;
    bool multiline_ = false;
    TColor urlColor_ = clBlue;
    TGradientStyle selectionColors_;
    TColor selectionFontColor_ = clHighlightText;
    std::unique_ptr<TTimer> blinkTimer_;
    bool enableBlink_ = false;
    int shadowOffset_ = 1;
    TColor shadowColor_ = 0x808080;
    bool sorted_ = false;
    String lookup_;
    bool scrollHorizontal_ = false;
    int widest_ = 0;
    int updateCount_ = 0;
    TMarkupPictureCache cache_;
    int blinkTicks_ = 0;
    bool ellipsis_ = false;
    int hintItem_ = -1;
    TPictureStore* pictureStore_ = nullptr;
    int lineSpacing_ = 0;
    TPoint mouse_{};
    std::unique_ptr<TBitmap> measureBitmap_;
    std::vector<Measured> heights_;  // by item; -1 not measured yet
};
