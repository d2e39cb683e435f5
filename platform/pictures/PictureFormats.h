#pragma once
// Registers the formats this program reads (bmp, ico, emf, wmf, jpg, jpeg); safe to call again.
void RegisterPictureFormats();
