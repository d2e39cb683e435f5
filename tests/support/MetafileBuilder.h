#pragma once
// Small metafiles written record by record: a red rectangle and a thick blue line on a
// 100 x 50 pixel picture, as 16-bit (.wmf) and enhanced (.emf) files.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct MetafileDrawing {
    int Width = 100, Height = 50;        // pixels at 96 per inch
    int RectLeft = 10, RectTop = 10, RectRight = 60, RectBottom = 40;
    int LineX = 80, LineTop = 5, LineBottom = 45, LineWidth = 4;
};

std::vector<uint8_t> BuildWmf(const MetafileDrawing& drawing = {}, bool placeable = true);
std::vector<uint8_t> BuildEmf(const MetafileDrawing& drawing = {});
