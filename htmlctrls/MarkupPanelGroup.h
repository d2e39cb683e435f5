#pragma once
// A panel that arranges the collapsible panels placed on it in columns or in a row.
#include "MarkupPanel.h"
#include "ScrollBar.h"

enum TGroupStyle { gsVertical, gsHorizontal };

class TMarkupPanelGroup : public TMarkupPanel {
public:
    explicit TMarkupPanelGroup(TComponent* owner);

    int HorzPadding() const { return horzPadding_; }
    void SetHorzPadding(int v) { if (v != horzPadding_) { horzPadding_ = v; Arrange(); } }
    int VertPadding() const { return vertPadding_; }
    void SetVertPadding(int v) { if (v != vertPadding_) { vertPadding_ = v; Arrange(); } }
    TGroupStyle GroupStyle() const { return groupStyle_; }
    void SetGroupStyle(TGroupStyle v);
    int Columns() const { return columns_; }
    // Values below 1 are ignored.
    void SetColumns(int v);
    TMarkupPanelSettings& DefaultPanel() { return defaultPanel_; }

    // The group's own scroll bar: vertical at the right edge or horizontal at the bottom.
    TScrollBar& ScrollBar() { return *scrollBar_; }

    void Arrange();
    void UpdateScrollBar();
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void Resize() override;
    // Scrolls the arrangement by two small changes a notch.
    bool MouseWheel(TShiftState shift, int delta, const TPoint& screenPos) override;

protected:
    void StateChanged() override;

private:
    std::vector<TCustomMarkupPanel*> Members() const;

    int horzPadding_ = 8;
    int vertPadding_ = 8;
    TGroupStyle groupStyle_ = gsVertical;
    int columns_ = 1;
    bool arranging_ = false;
    TMarkupPanelSettings defaultPanel_;
    TScrollBar* scrollBar_;
    static constexpr int kScrollBarSize = 16;
};
