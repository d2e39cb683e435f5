// The cover search of the main window: the request to the catalogue, the reply saved as
// "Search.xml" beside the program, one mark-up line per title in the result list and the
// preview of the picture under the mouse.
#include "Catalogue.h"
#include "CoverReply.h"
#include "ExtActns.h"
#include "PrintUnit.h"
#include "RegularFile.h"
#include "Shell.h"

#include <climits>
#include <cstring>
#include <filesystem>

namespace {

// The extension as the run-time takes it: from the last full stop after the last backslash
// or colon.
String AnchorExtension(const String& anchor)
{
    const size_t dot = anchor.find_last_of('.');
    const size_t delimiter = anchor.find_last_of("\\:");
    if (dot == String::npos || (delimiter != String::npos && dot < delimiter))
        return String();
    return anchor.substr(dot);
}

bool IsPictureAddress(const String& anchor)
{
    const String lower = LowerCase(anchor.substr(0, 8));
    return lower.compare(0, 7, "http://") == 0 || lower.compare(0, 8, "https://") == 0;
}

}  // namespace

void TDVDForm::Button1Click(TObject*)
{
    SetStatus("Scanning " + CatalogueSettings().DomainName + " for Cover..");
    bool found = false;
    try {
        found = Search();
    } catch (const Exception& e) {
        // The error is still shown; the status no longer claims the search goes on.
        SetStatus("Search failed : " + e.Message);
        throw;
    }
    // A failed download leaves its own status, saying what failed.
    if (found)
        SetStatus("OK Done!");
}

void TDVDForm::SearchBoxKeyDown(TObject* sender, int& key, TShiftState)
{
    if (key == VK_RETURN)
        Button1Click(sender);
}

bool TDVDForm::Search()
{
    MarkupListBox->Clear();
    String category;
    if (!StyleCombo->SelectedLookUp(category))
        category.clear();
    const TCatalogue catalogue = CatalogueSettings();
    if (catalogue.Host.empty()) {
        // Ombrelle names no catalogue of its own: the user is told where to name one.
        SetStatus("Search failed : no catalogue host set (Host= in the [Catalogue] section of " +
                  CatalogueFileName() + ")");
        ShowMessage("There was an error with the xml");
        return false;
    }
    const String address = CatalogueSearchAddress(catalogue.Host, SearchBox->Text(), category);
    if (DownloadToFile(address, "Search.xml")) {
        // The reply's own bytes rather than XmlText's lines, so that the parser honours the
        // reply's encoding declaration.
        const std::vector<uint8_t> bytes = ReadRegularFile(AppDir + "Search.xml", kMaxDownloadSize);
        ParseReply(std::string(bytes.begin(), bytes.end()));
        return true;
    }
    SetStatus("Search failed : " + downloadFailure_);
    ShowMessage("There was an error with the xml");
    return false;
}

bool TDVDForm::DownloadToFile(const String& url, const String& fileName)
{
    const String destination = AppDir + fileName;
    downloadFailure_ = "no reply";
    try {
        std::error_code ignored;
        std::filesystem::remove(destination, ignored);
        // A failed download is a failure even when an old reply could not be deleted.
        if (!DownloadURL(url, destination) || !std::filesystem::exists(destination)) {
            XmlText->Clear();
            return false;
        }
        const std::vector<uint8_t> bytes = ReadRegularFile(destination, kMaxDownloadSize);
        XmlText->SetText(AnsiToUtf8(std::string(bytes.begin(), bytes.end())));
        return true;
    } catch (const std::exception& e) {
        downloadFailure_ = e.what();
        XmlText->Clear();
        return false;
    }
}

bool TDVDForm::DownloadURL(const String& url, const String& fileName)
{
    try {
        TDownLoadURL action;
        action.URL = url;
        action.Filename = fileName;
        action.ExecuteTarget();
        return true;
    } catch (const EDownloadError& e) {
        downloadFailure_ = e.Reason;
        return false;
    } catch (const Exception& e) {
        downloadFailure_ = e.Message;
        return false;
    }
}

void TDVDForm::ParseReply(const std::string& reply)
{
    if (reply.empty())
        return;
    MarkupListBox->Clear();
    struct UpdateBracket {
        TMarkupListBox& list;
        explicit UpdateBracket(TMarkupListBox& l) : list(l) { list.BeginUpdate(); }
        ~UpdateBracket() { list.EndUpdate(); }
    } bracket(*MarkupListBox);
    // A list that refuses a line keeps the lines it took, and the search ends normally.
    struct ListFull {};
    try {
        ReplyLines(reply, [this](const String& line) {
            try {
                MarkupListBox->Items().Add(line);
            } catch (const EListError&) {
                throw ListFull{};
            }
        });
    } catch (const ListFull&) {
    }
}

void TDVDForm::MarkupListBoxAnchorHint(TObject*, int, String& anchor)
{
    // Only web pictures are previewed: never a file or a resource a server names.
    if (AnchorExtension(anchor) != ".html" && IsPictureAddress(anchor)) {
        WebImage->SetAnimate(true);
        // The picture drops an address given while it downloads: the running download is
        // stopped at once instead, and the link last pointed at follows it, so that the
        // picture shown is always that link's. A kept picture needs no download: it shows at
        // once, whatever runs.
        TWebPicture& picture = WebImage->WebPicture();
        if (picture.Busy() && !WebImage->Keeps(anchor)) {
            // Back on the link being downloaded: let it finish.
            if (anchor == picture.DownloadURL() && !picture.DownloadCancelled()) {
                PendingPreview.clear();
                return;
            }
            PendingPreview = anchor;
            picture.CancelDownload();
            return;
        }
        // A kept picture stops the download that runs: its progress is over.
        if (picture.Busy())
            VeskGauge1->SetProgress(0);
        PendingPreview.clear();
        ShowPreview(anchor);
    }
}

void TDVDForm::ShowPreview(const String& anchor)
{
    const bool kept = WebImage->Keeps(anchor);
    WebImage->SetURL(anchor);
    if (kept)
        PreviewShown();
}

void TDVDForm::MarkupListBoxAnchorClick(TObject*, int, const String& anchor)
{
    SetStatus("Downloading Cover from " + CatalogueSettings().DomainName);
    ShellOpenWebLink(anchor);
    SetStatus("OK Done!");
}

void TDVDForm::WebImageDownLoadProgress(TObject*, uint32_t dwSize, uint32_t dwTotSize)
{
    // The gauge counts in signed 32 bits: a larger total is halved together with the count.
    uint32_t total = dwTotSize, size = dwSize;
    while (total > INT_MAX) {
        total >>= 1;
        size >>= 1;
    }
    VeskGauge1->SetMaxValue(static_cast<int>(total));
    VeskGauge1->SetProgress(static_cast<int>(size));
}

void TDVDForm::WebImageDownLoadComplete(TObject*)
{
    VeskGauge1->SetProgress(0);
    PreviewShown();
}

void TDVDForm::WebImageDownLoadEnd(TObject*)
{
    // The end of an earlier download may arrive while another runs: that one's end follows.
    if (PendingPreview.empty() || WebImage->WebPicture().Busy())
        return;
    VeskGauge1->SetProgress(0);
    const String next = PendingPreview;
    PendingPreview.clear();
    ShowPreview(next);
}

namespace {
const char* const kPreviewFailed = "Preview failed : ";

bool SaysPreviewFailed(const String& status) { return status.compare(0, std::strlen(kPreviewFailed), kPreviewFailed) == 0; }
}  // namespace

void TDVDForm::PreviewShown()
{
    if (SaysPreviewFailed(StatusBar->SimpleText()))
        SetStatus(StatusBeforePreviewFailure);
}

void TDVDForm::WebImageDownLoadError(TObject*, const String& error)
{
    if (!SaysPreviewFailed(StatusBar->SimpleText()))
        StatusBeforePreviewFailure = StatusBar->SimpleText();
    SetStatus(kPreviewFailed + error);
    // A full gauge would say the picture came.
    VeskGauge1->SetProgress(0);
}
