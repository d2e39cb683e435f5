#pragma once
// Where a collapsible panel keeps its bounds and collapsed state between runs, and how it
// fits itself to its text.
#include "Classes.h"

class TCustomMarkupPanel;

enum TPanelPositionLocation { clRegistry, clInifile };

class TPanelPosition : public TPersistent {
public:
    explicit TPanelPosition(TCustomMarkupPanel* owner) : owner_(owner) {}
    void Assign(const TPersistent& source) override;

    bool Save = false;
    String Key;
    String Section;
    TPanelPositionLocation Location = clRegistry;

    // Both do nothing unless Key and Section are set. A stored size below the caption's, or a
    // position that puts the caption off every screen, gives way to the designed one.
    void SavePosition();
    void LoadPosition();

private:
    bool CaptionOnScreen(int left, int top, int width, int captionHeight) const;
    TCustomMarkupPanel* owner_;
};

class TAutoSize : public TPersistent {
public:
    explicit TAutoSize(TCustomMarkupPanel* owner) : owner_(owner) {}
    void Assign(const TPersistent& source) override;

    bool Enabled() const { return enabled_; }
    // Switching on fits the panel at once.
    void SetEnabled(bool v);
    bool Height = true;
    bool Width = true;

private:
    TCustomMarkupPanel* owner_;
    bool enabled_ = false;
};
