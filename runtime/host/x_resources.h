// What the X server's resource database says about the desktop, read over a connection of
// its own so that nothing else in this layer includes the X headers.
#pragma once

#include <string>
#include <string_view>

namespace carelog::host::internal {

// The desktop's chosen density, "Xft.dpi" of the X server's resources; 0 when the server has
// none or cannot be reached.
double XftDpi();
// The Xft.dpi line of a resource string ("Xft.dpi:\t192\n..."); 0 when there is none.
double XftDpiOf(std::string_view resources);

// Points the X input method's compose table cache (XCOMPOSECACHE) at the program's own cache
// directory, `$XDG_CACHE_HOME/carelog/compose` or `~/.cache/carelog/compose`, creating it, so
// that the table of dead keys and compose sequences is parsed at the first start only and
// mapped from the cache after that. A cache the user chose (XCOMPOSECACHE, ~/.compose-cache)
// stays in force. Call before the display starts and before other threads read the
// environment. The directory, or "" when none was set up.
std::string UseComposeCache();
// The directory UseComposeCache picks for this environment; "" when it leaves things alone.
std::string ComposeCacheDirectory(const char* xcomposecache, const char* xdg_cache_home,
                                  const char* home, bool home_has_own_cache);

}  // namespace carelog::host::internal
