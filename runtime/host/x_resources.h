// What the X server's resource database says about the desktop, read over a connection of
// its own so that nothing else in this layer includes the X headers.
#pragma once

#include <string_view>

namespace carelog::host::internal {

// The desktop's chosen density, "Xft.dpi" of the X server's resources; 0 when the server has
// none or cannot be reached.
double XftDpi();
// The Xft.dpi line of a resource string ("Xft.dpi:\t192\n..."); 0 when there is none.
double XftDpiOf(std::string_view resources);

}  // namespace carelog::host::internal
