#pragma once
// The up-down control: a pair of arrow buttons that step a position between Min and Max.
#include "Controls.h"

enum TUDOrientation { udVertical, udHorizontal };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;

class TUpDown : public TCustomControl {
public:
    explicit TUpDown(TComponent* owner);
    int Min = 0;
    int Max = 100;
    int Increment = 1;
    // Stepping past one end goes on from the other.
    bool Wrap = false;
    int Position() const { return position_; }
    void SetPosition(int value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation value);
    TUDClickEvent OnClick;

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // The button under a point of the client area: the upper (or right) one steps up.
    TUDBtnType ButtonAt(int x, int y) const;
    TRect ButtonRect(TUDBtnType button) const;
    int position_ = 0;
    TUDOrientation orientation_ = udVertical;
    bool pressed_ = false;
    TUDBtnType pressedButton_ = btNext;
};
