#pragma once
// The XP look as the program's windows set it: every kind but combo and list boxes, shiny
// blue tool bars, switched on and registered.
#include "XPLook.h"

inline TXPLook* CreateProgramXPLook(TForm* form)
{
    auto* look = new TXPLook(form);
    look->Name = "XPLook1";
    look->AutoDetect = true;
    look->SetXPControls(AllXPControls & ~(XPBit(xcCombo) | XPBit(xcListBox)));
    look->Shiny = true;
    look->GradientTopEnd = 0xFFDAC1;
    look->GradientTopStart = 0xFFE9D9;
    look->GradientBottomStart = 0xFFCDA8;
    look->GradientBottomEnd = 0xFFDBBE;
    look->SetActive(true);
    look->Loaded();
    return look;
}
