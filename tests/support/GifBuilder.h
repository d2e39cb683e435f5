#pragma once
// Writes small GIF files for tests: a four-colour global table (black, white, red, blue) and
// frames filled with one colour each (a frame of many megapixels takes a few kilobytes), every
// frame with its own control extension.
#include <cstdint>
#include <string>
#include <vector>

enum : uint8_t { kGifBlack = 0, kGifWhite = 1, kGifRed = 2, kGifBlue = 3 };

struct TGifTestFrame {
    uint16_t Left = 0, Top = 0, Width = 1, Height = 1;
    uint16_t Delay = 0;
    uint8_t Packed = 0;      // the control extension's packed field
    uint8_t Colour = kGifWhite;
};

std::string MakeGif(uint16_t screenWidth, uint16_t screenHeight, const std::vector<TGifTestFrame>& frames);

// The GIF with a looping application extension between the first frame's control extension
// and its image, where common tools put it.
std::string WithLoopExtensionInFirstFrame(const std::string& gif);
