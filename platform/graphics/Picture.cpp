#include "Graphics.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {
struct FormatEntry {
    String extension;  // lower case, no dot
    String description;
    TGraphicFactory factory;
};
std::mutex& RegistryMutex()
{
    static std::mutex m;
    return m;
}
std::vector<FormatEntry>& Registry()
{
    static std::vector<FormatEntry> formats;
    return formats;
}
}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::Changed() { Fire(OnChange, this); }

TBitmap& TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(graphic_.get()))
        SetGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory)
{
    std::lock_guard lock(RegistryMutex());
    String ext = LowerCase(extension);
    for (auto& e : Registry())
        if (e.extension == ext) {
            e = {ext, description, std::move(factory)};
            return;
        }
    Registry().push_back({ext, description, std::move(factory)});
}

void TPicture::UnregisterFileFormat(const String& extension)
{
    std::lock_guard lock(RegistryMutex());
    String ext = LowerCase(extension);
    auto& r = Registry();
    r.erase(std::remove_if(r.begin(), r.end(), [&](const FormatEntry& e) { return e.extension == ext; }), r.end());
}

std::vector<String> TPicture::RegisteredExtensions()
{
    std::lock_guard lock(RegistryMutex());
    std::vector<String> out;
    for (auto& e : Registry())
        out.push_back(e.extension);
    return out;
}

bool TPicture::HasRegisteredExtension(const String& fileName)
{
    String ext = LowerCase(ExtractFileExt(fileName));
    if (ext.empty())
        return false;
    ext.erase(0, 1);
    const std::vector<String> known = RegisteredExtensions();
    return std::find(known.begin(), known.end(), ext) != known.end();
}

String TPicture::GraphicFilter()
{
    std::lock_guard lock(RegistryMutex());
    String all, each;
    for (auto& e : Registry()) {
        String mask = "*." + e.extension;
        all += (all.empty() ? "" : ";") + mask;
        each += "|" + e.description + " (" + mask + ")|" + mask;
    }
    return "All (" + all + ")|" + all + each;
}

void TPicture::LoadFromFile(const String& fileName)
{
    String ext = LowerCase(ExtractFileExt(fileName));
    if (!ext.empty())
        ext.erase(0, 1);
    TGraphicFactory factory;
    {
        std::lock_guard lock(RegistryMutex());
        for (auto& e : Registry())
            if (e.extension == ext)
                factory = e.factory;
    }
    if (!factory)
        throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext.c_str()));
    std::unique_ptr<TGraphic> g = factory();
    g->LoadFromFile(fileName);
    SetGraphic(std::move(g));
}

void TPicture::SaveToFile(const String& fileName) const
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TPicture*>(&source)) {
        if (p == this)
            return;
        if (!p->graphic_) {
            SetGraphic(nullptr);
            return;
        }
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*p->graphic_);
        SetGraphic(std::move(copy));
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*g);
        SetGraphic(std::move(copy));
        return;
    }
    TPersistent::Assign(source);
}
