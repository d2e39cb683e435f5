#pragma once
// Multi-line edits: the plain memo and the rich edit, which also takes formatted text.
#include "Controls.h"

class QTextEdit;

class TCustomMemo : public TWinControl {
public:
    explicit TCustomMemo(TComponent* owner);
    String Text() const;
    void SetText(const String& text);
    // The lines of the text; changing them changes the text.
    int LineCount() const;
    String Line(int index) const;
    void AddLine(const String& line);
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    TNotifyEvent OnChange;

protected:
    QTextEdit* edit_;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

class TRichEdit : public TCustomMemo {
public:
    explicit TRichEdit(TComponent* owner);
};
