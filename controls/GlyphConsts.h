#pragma once
// The two cursors of the glyph controls, in the screen's cursor table from program start.

enum : int { HandCursorSlot = 14000, DragCursorSlot = 14001 };

// Puts the pointing-hand ("GL_HANDCUR") and dragging ("GL_DRAGCUR") cursors in their slots.
void RegisterGlyphCursors();
