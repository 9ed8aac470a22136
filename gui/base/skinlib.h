// The outside skin library, loaded from the program directory at its first call; each
// function is bound when first called. A missing library or function makes the call do
// nothing.
#pragma once

#include "net/text.h"

namespace zv {

void SkinAttach(const Text& path);
void SkinSetAero(int on);
void SkinAdjustHSV(int hue, int saturation, int brightness);
void SkinAdjustAero(int alpha);

// The file the library is loaded from; tests load another one after unloading.
Text SkinLibraryPath();
void UnloadSkinLibrary();

// The saved skin and, when "Aero" is 1, its adjustments.
void ApplySavedSkin();

} // namespace zv
