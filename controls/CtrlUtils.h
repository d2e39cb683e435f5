#pragma once
// Drawing routines and command-line splitting shared by the glyph button and the file-name edit.
#include "Graphics.h"
#include "Types.h"

class TControl;
class TImageList;

#include <cstddef>
#include <memory>

inline int WidthOfRect(const TRect& R) { return R.Right - R.Left; }
inline int HeightOfRect(const TRect& R) { return R.Bottom - R.Top; }

// The embossed disabled look of Source: ShadowColor wherever Source shows OutlineColor, over a
// HighlightColor copy one pixel right and down (when DrawHighlight), on BackColor. 24-bit.
std::unique_ptr<TBitmap> DisabledBitmap(const TBitmap& Source, TColor OutlineColor, TColor BackColor,
                                        TColor HighlightColor, TColor ShadowColor, bool DrawHighlight);
std::unique_ptr<TBitmap> DisabledBitmapStd(const TBitmap& Source, TColor OutlineColor);

// S, or a prefix of S followed by "...", whose width on Canvas is at most MaxWidth; "..." alone
// is the shortest answer, returned even when it does not fit.
String FitTextWithEllipsis(const String& S, TCanvas& Canvas, int MaxWidth);

// One parameter of a command line read from byte position P (blanks, control characters and
// pairs of adjacent double quotes skipped before it; quotes group blanks and are removed).
// Returns the position after it. A parameter is kept to its first 256 characters.
size_t NextParam(const String& Text, size_t P, String& Param);
int CountParams(const String& Text, size_t P = 0);
// The parameter with that index (0 = first) read from position P; empty when there are fewer.
void ParamAt(const String& Text, size_t P, int Index, String& Param);
// ExeName := parameter 0; Params := the others joined by single blanks, each holding a blank
// wrapped in double quotes.
void SplitCmdLine(const String& CmdLine, String& ExeName, String& Params);

// Draws what lies under Control (its parent's face and the window-less controls before it)
// into Dest at Control's own co-ordinates; nothing without a control or a parent.
void PaintParentBackground(TControl* Control, TCanvas& Dest);
// Image Index of Images at (X, Y) in the disabled look: the image's shape in ShadowColor over a
// HighlightColor copy one pixel right and down (when DrawHighlight).
void DrawListImageDisabled(const TImageList& Images, TCanvas& Canvas, int X, int Y, int Index,
                           TColor HighlightColor, TColor ShadowColor, bool DrawHighlight);
// True while one of the program's own windows is the active window.
bool AppIsForeground();
// The messages DropQueuedMessage can remove: presses and double clicks of the left button.
enum : unsigned { WM_LBUTTONDOWN = 0x0201, WM_LBUTTONDBLCLK = 0x0203 };
// Removes a queued press (WM_LBUTTONDOWN) or double click (WM_LBUTTONDBLCLK) of Wnd.
void DropQueuedMessage(TControl* Wnd, unsigned Msg);
