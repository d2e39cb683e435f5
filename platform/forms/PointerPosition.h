#pragma once
// Where the mouse pointer is on the screen.

#include <QPoint>

// The pointer's position now. On X each question is a round trip to the server and a window's
// buttons all ask while it paints, so there one answer serves a run of paint events: the first
// event of any other kind asks again.
QPoint PointerPosition();
