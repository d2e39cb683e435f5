// Fetching the track list of an audio CD with the track finder, for the overlay.
#include "PrintUnit.h"

#include "ripunit.h"

void TDVDForm::OverlayCDDBTrackList1Click(TObject*)
{
    // A pending list goes even when the user then cancels.
    TrackList->Clear();
    OverlayTrackList = false;
    auto finder = std::make_unique<TCDRipform>(this);
    if (finder->ShowModal() == mrOk) {
        TrackList->SetText(finder->markupListBox1->Items().Text());
        if (TrackList->Count() > 0)
            OverlayTrackList = true;
    }
}
