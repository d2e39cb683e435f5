#pragma once
// The hook of one standard control on behalf of a TXPLook: it follows the control's hover,
// focus and pressed state and, after the control painted itself, has a painter draw a flat
// frame or button face over it with the look's colours.
#include "ButtonLayout.h"
#include "Controls.h"

#include <memory>

class TXPLook;
class TControlHook;

// The speed-button kinds the look decorates.
bool IsFlatSpeedButton(TControl* control);
bool IsGlyphSpeedButton(TControl* control);

class TControlSubClass : public TComponent {
public:
    // Hooks control; the settings the painters change are saved first.
    TControlSubClass(TXPLook* owner, TControl* control);
    // Takes over another hook's control and saved settings (its own hook is removed).
    TControlSubClass(TXPLook* owner, TControlSubClass& from);
    ~TControlSubClass() override;

    TControl* Control = nullptr;
    TXPLook* XPLook = nullptr;
    bool FMouseInControl = false;
    bool FMouseDown = false;
    bool FSpaceDown = false;
    bool FSpacePainted = false;
    bool FFocused = false;
    // The control's settings when it was hooked, which painters change.
    bool FCtl3D = true;
    TBorderStyle FBorderStyle = bsNone;
    int FBorderWidth = 0;

    // Draws the control's XP look over it.
    void PaintControlXP(TCanvas& canvas);
    // Gives the control its own handling and its saved settings back; the object stays.
    void Restore();
    // The hook still stands between the control and its own handling.
    bool Hooked() const { return hook_ != nullptr; }

private:
    void Message(int message, TCanvas* canvas);
    void Hook();
    // Gives the control its own handling back, settings as they are.
    void Unhook();
    void RestoreSettings();
    // Turns a setting the painters change, once.
    void FlattenBorder();
    void PaintEdit(TCanvas& canvas);
    void PaintRichEdit(TCanvas& parentCanvas);
    void PaintButton(TCanvas& canvas);
    // The rounded face of push and bit buttons on the parent's colour, with its darker edge.
    void PaintRoundFace(TCanvas& canvas, const TRect& r, TColor face, TColor frame, bool edge, bool pressed);
    // The dotted focus frame inside a push button's face.
    void PaintButtonFocus(TCanvas& canvas, const TRect& r);
    void PaintBitButton(TCanvas& canvas);
    void PaintCombo(TCanvas& canvas);
    void PaintLookupCombo(TCanvas& canvas);
    void PaintUpDown(TCanvas& canvas);
    void PaintPanel(TCanvas& canvas);
    void PaintGroupBox(TCanvas& canvas);
    void PaintCheckBox(TCanvas& canvas);
    void PaintRadioButton(TCanvas& canvas);
    void PaintListBorder(TCanvas& canvas);
    void PaintProgressBar(TCanvas& canvas);
    void PaintHotKey(TCanvas& canvas);
    // The two speed-button kinds: false when the control is not of that kind.
    bool PaintFlatSpeedButton(TCanvas& canvas);
    bool PaintGlyphSpeedButton(TCanvas& canvas);
    // What the speed-button painters need of either kind of button.
    struct TSpeedFace {
        const TBitmap& glyph;
        int numGlyphs;
        TButtonLayout layout;
        int margin, spacing;
        bool down, flat;
        // The button itself finds the cursor inside it.
        bool reallyInside;
        bool transparent;
        // The glyph layout mirrored, left for right.
        bool rtl;
        // A drop-down mark at the right.
        bool mark;
    };
    bool SpeedButtonHot(const TSpeedFace& button) const;
    // Face, frame and edge of a speed button; true when the button counts as pressed.
    bool PaintSpeedFace(TCanvas& canvas, const TSpeedFace& button);
    // The glyph image for the state and the caption, placed as the button places them.
    void PaintSpeedContent(TCanvas& canvas, const TSpeedFace& button, bool pressed);
    std::unique_ptr<TControlHook> hook_;
};
