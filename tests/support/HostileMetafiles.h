#pragma once
// Metafiles built to break the player's promises: fonts at every extreme, clip regions whose
// union multiplies, shapes that cross themselves, gradients, paths and text that put all the
// work in few records. Each comes just under and just over what the player allows; the tests
// open some, the worst-case bench opens them all and writes them out as fuzzing seeds.
#include "MetafileBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

// A font made and chosen, then TextOut of text (16-bit metafile, 100 x 50 picture).
std::vector<uint8_t> WmfFontText(int height, int width, int escapement, int weight, const std::string& text);
// The same in an enhanced metafile, with UTF-16 text; dx gives each character its own advance,
// which draws the characters one by one.
std::vector<uint8_t> EmfFontText(int height, int width, int escapement, int weight, const std::u16string& text,
                                 int records = 1, bool dx = false, int side = 100);
// A clip region of n vertical and n horizontal bars one pixel wide, two apart, whose union
// holds about n * n rectangles, then a fill through it; on a side x side picture.
std::vector<uint8_t> EmfBars(int n, int side);
std::vector<uint8_t> WmfBars(int n);
// The points of a star on a circle filling a side x side picture, each joined to one almost
// opposite: every edge runs across the picture and crosses nearly every other.
std::vector<std::pair<int, int>> StarPoints(int points, int side);
// count polygons of points points each, every edge running across the whole side x side
// picture and crossing the others; with a pen of penWidth pixels.
std::vector<uint8_t> EmfCrossingPolygons(int count, int points, int side, int penWidth = 0, bool polyline = false);
// A path of points points zig-zagging across the picture, then made the clip (or stroked with a
// pen of penWidth pixels) and a rectangle filled through it.
std::vector<uint8_t> EmfZigZagPath(int points, int side, bool clip, int penWidth = 1);
// fills fill records of a region of rects rectangles as high as the picture.
std::vector<uint8_t> EmfRegionFills(int fills, int rects, int side);
// One gradient of meshes rectangles, each the whole picture.
std::vector<uint8_t> EmfGradient(int meshes, int side, bool triangles = false);

struct HostileMetafile {
    std::string Name;  // a file name without its extension
    bool Enhanced;
    std::vector<uint8_t> Bytes;
};
// Every case; small ones only (each file under 64 KB), for a corpus, when small.
std::vector<HostileMetafile> HostileMetafiles(bool small);
