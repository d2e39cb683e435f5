#pragma once
// Events of a picture download, shared by the web picture and the mark-up pictures.
#include "Classes.h"

#include <cstdint>
#include <functional>

using TDownloadErrorEvent = std::function<void(TObject* sender, const String& err)>;
using TDownloadCompleteEvent = std::function<void(TObject* sender)>;
using TDownloadCancelEvent = std::function<void(TObject* sender, bool& cancel)>;
using TDownloadProgressEvent = std::function<void(TObject* sender, uint32_t dwSize, uint32_t dwTotSize)>;
