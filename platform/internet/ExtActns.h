#pragma once
// The URL-to-file download action: fetches an http:// or https:// address and writes the body
// to a file. The file is written only for a 2xx reply, whole, through a temporary file and a
// rename, so a failed download never leaves a file (nor replaces one) that could be read back.
#include "Classes.h"

class EDownloadError : public Exception {
public:
    EDownloadError(String message, String reason) : Exception(std::move(message)), Reason(std::move(reason)) {}
    // What went wrong, for the status line: "timed out (example.org:80)".
    String Reason;
};

class TDownLoadURL : public TComponent {
public:
    explicit TDownLoadURL(TComponent* owner = nullptr) : TComponent(owner) {}
    String URL;
    String Filename;
    // Raises EDownloadError "Error downloading URL: %s" when the address cannot be fetched or
    // the server answers with another status, EFCreateError when the file cannot be written.
    // On the window thread the windows stay alive meanwhile and Escape cancels (WindowWait.h).
    void ExecuteTarget(TObject* target = nullptr);
};

// Replies larger than this are refused: the action keeps the body in memory until it is whole.
constexpr size_t kMaxDownloadSize = 64u << 20;
