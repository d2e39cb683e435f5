#pragma once
// Windows metafiles as pictures. A metafile is turned into SVG by its library (libwmf for the
// 16-bit ".wmf", libemf2svg for the enhanced ".emf") and drawn by Qt's SVG renderer at the
// picture's own size, which comes from the metafile's header and its units per inch.
#include "Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

// Limits on what a file may ask for: both libraries parse untrusted files record by record,
// and the picture is drawn into memory at its own size.
constexpr int64_t kMetafileMaxBytes = 64 << 20;
constexpr int kMetafileMaxRecords = 500000;
constexpr int kMetafileMaxSide = 16384;
constexpr int64_t kMetafileMaxPixels = 32 << 20;

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // True for an enhanced metafile, false for a 16-bit one.
    bool Enhanced() const { return enhanced_; }
    // Raises EInvalidGraphic for a file that is no metafile, is damaged, or asks for too much.
    void LoadFromStream(TStream& stream) override;
    // Writes the metafile as it was read.
    void SaveToStream(TStream& stream) const override;
    QImage ToImage() const override;
    void Assign(const TPersistent& source) override;

private:
    std::vector<uint8_t> data_;
    std::unique_ptr<QImage> image_;
    int width_ = 0;
    int height_ = 0;
    bool enhanced_ = false;
};
