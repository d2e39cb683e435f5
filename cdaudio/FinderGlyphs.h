#pragma once
// The pictures of the track finder's tool buttons: quiet in the first list, in full colour in the
// second, which the tool bar shows under the pointer.
#include "ImgList.h"

enum { kFinderScan, kFinderLookUp, kFinderClear, kFinderWrite, kFinderRead, kFinderClose };

void DrawFinderGlyphs(TImageList& images, TImageList& hotImages);
