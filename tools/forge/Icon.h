// The program's icon for desktop menus (the desktop entry's "vessara"): the
// group's logo as the show has it in ShinyCross, the extruded word of
// "quarnel.vxm" in chrome reflecting "bgenv.jpg", seen from the front and a
// little above, on a rounded dark-blue tile, transparent outside it.
//
// Use:
//   Image icon = programIcon(256);     size x size RGBA, the same every run
//   encodePng(icon, true)              the icon file
// Made from the assets' own make functions, so no data folder is needed.
#pragma once

#include "Image.h"

namespace Forge {

Image programIcon(int size);

}  // namespace Forge
