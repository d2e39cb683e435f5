#include "MarkupEvents.h"

#include "Shell.h"

bool IsWebAnchor(const String& anchor)
{
    return anchor.find("://") != String::npos || anchor.find("mailto:") != String::npos;
}

void FollowAnchor(TObject* sender, int index, const String& anchor, const TAnchorClick& onAnchorClick)
{
    // The desktop only ever receives http, https, ftp and mailto targets (see ShellOpen).
    if (IsWebAnchor(anchor))
        ShellOpen(anchor);
    else
        Fire(onAnchorClick, sender, index, anchor);
}
