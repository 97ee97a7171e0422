// What the window details dialog shows for one window record.
#pragma once

#include "app/pure/DetailsText.h"
#include "engine/pure/OXI_Records.h"

namespace orvex {

// The name field: "\"%s\": %s" of the window text and the class name.
std::string WindowTitleText(const TWindowInfo& window);

// The General page: identity, owner process and thread, geometry. Process and
// thread identifiers are decimal on the NT family and "0x%x" on the 9x family.
TPropertyRows WindowGeneralRows(const TWindowInfo& window, bool nt);
// The Styles page: the window style and each of its names, then the
// extended style and its names.
TPropertyRows WindowStyleRows(const TWindowInfo& window);
// The Class Info page: the class's identity, its brush, cursor and icon, its
// style and the style's names.
TPropertyRows WindowClassRows(const TWindowInfo& window);

inline constexpr int WindowGeneralWidths[] = {150, 200};
inline constexpr int WindowStyleWidths[] = {200, 160};
inline constexpr int WindowClassWidths[] = {150, 200};

}  // namespace orvex
