#pragma once
// The system's warning sound.
#include <functional>

void MessageBeep(unsigned type);
// Tests listen for beeps instead of hearing them; an empty handler restores the sound.
void SetBeepHandler(std::function<void(unsigned)> handler);
