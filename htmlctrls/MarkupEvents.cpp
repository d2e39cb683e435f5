#include "MarkupEvents.h"

#include "Shell.h"

bool IsWebAnchor(const String& anchor) { return !ShellOpenTarget(anchor).empty(); }

void FollowAnchor(TObject* sender, int index, const String& anchor, const TAnchorClick& onAnchorClick)
{
    if (IsWebAnchor(anchor))
        ShellOpen(anchor);
    else
        Fire(onAnchorClick, sender, index, anchor);
}
