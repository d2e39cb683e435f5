#pragma once
// Windows metafiles as pictures: the 16-bit ".wmf" (with or without its placeable header) and the
// enhanced ".emf". Their records are played straight onto the picture, at the picture's own size,
// which comes from the metafile's header and its units per inch. What playing a file would cost
// is measured first, so a file that asks for too much is refused before memory is spent on it.
#include "Graphics.h"
#include "MetafileFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // True for an enhanced metafile, false for a 16-bit one.
    bool Enhanced() const { return enhanced_; }
    // Remembers the file's name for the messages that refuse it.
    void LoadFromFile(const String& fileName) override;
    // Raises EInvalidGraphic for a file that is no metafile, is damaged, or asks for too much.
    void LoadFromStream(TStream& stream) override;
    // Writes the metafile as it was read.
    void SaveToStream(TStream& stream) const override;
    QImage ToImage() const override;
    void Assign(const TPersistent& source) override;

    // What playing one picture may cost.
    TMetafileLimits Limits;

private:
    std::vector<uint8_t> data_;
    std::unique_ptr<QImage> image_;
    int width_ = 0;
    int height_ = 0;
    bool enhanced_ = false;
    String fileName_;
};
