#pragma once
// One-line number edits with an up/down button pair inside their right edge.
#include "SpeedBtns.h"
#include "StdCtrls.h"

class TCustomSpinEdit : public TEdit {
public:
    explicit TCustomSpinEdit(TComponent* owner);

    TSpinButton* Button() const { return button_; }
    // When False the text cannot be typed, cut or pasted; only the buttons and arrow keys change it.
    bool EditorEnabled = true;
    bool UseRanges() const { return useRanges_; }
    void SetUseRanges(bool value);
    void SetEnabled(bool value);

    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    void SetBounds(int left, int top, int width, int height) override;
    // The up and down commands of the buttons and arrow keys.
    void UpClick(TObject* sender);
    void DownClick(TObject* sender);

protected:
    bool CanEditText(const String& before, String& after) override;
    virtual bool IsValidChar(char key) { return false; }
    virtual void DownClickValue() {}
    virtual void UpClickValue() {}
    virtual void CheckValueOnExit() {}
    virtual void CheckValueAlways() {}
    bool useRanges_ = false;

private:
    void PlaceButton();
    TSpinButton* button_;
};

class TFloatSpinEdit : public TCustomSpinEdit {
public:
    explicit TFloatSpinEdit(TComponent* owner);

    double Increment = 1.0;
    double MaxValue() const { return maxValue_; }
    // Ignored when below MinValue.
    void SetMaxValue(double value);
    double MinValue() const { return minValue_; }
    // Ignored when above MaxValue.
    void SetMinValue(double value);
    // Read from the text; a text that is not a number reads as MinValue.
    double Value() const;
    void SetValue(double value);
    // The value limited to the range when UseRanges is on; sets which buttons are enabled.
    double CheckValue(double value);

protected:
    bool IsValidChar(char key) override;
    void DownClickValue() override;
    void UpClickValue() override;
    void CheckValueOnExit() override;
    void CheckValueAlways() override;

private:
    double minValue_ = 0;
    double maxValue_ = 0;
};
