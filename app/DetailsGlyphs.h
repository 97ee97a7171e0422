// The pictures the details dialogs carry: default icons of the icon images
// and the small glyphs of their trees, drawn when they are made.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Orvex_Resources.h"
#include "ui/Orvex_GuiResources.h"

namespace orvex {

// The first icon of an existing file (or the shell's icon for it); empty when
// no file of that name exists.
TIcon ExistingFileIcon(const std::string& fileName);

// A service: a gear. Size is 16 or 32.
TIcon MakeServiceIcon(int size);
// A kernel driver: a chip with its pins.
TIcon MakeDriverIcon(int size);

// The two 16 x 16 glyphs of the window tree: 0 a grey window (hidden), 1 a
// blue window (visible).
inline constexpr int HiddenWindowGlyph = 0;
inline constexpr int VisibleWindowGlyph = 1;
TImageList MakeWindowGlyphs();

// The one 16 x 16 glyph of the dependency trees' nodes.
TImageList MakeServiceGlyphs();

}  // namespace orvex
