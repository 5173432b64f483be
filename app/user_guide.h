// Where The Care Log ships its help: the user guide (docs/guide/ in the sources), opened by the
// Help menu in place of the help file "CARELOG.HLP" when no such file is found by that name.
//
//   installed    PREFIX/bin/carelog  ->  PREFIX/share/doc/carelog/guide/index.html
//   build tree   BUILD/bin/carelog   ->  SOURCE/docs/guide/index.html, SOURCE being the source
//                                        directory that BUILD/CMakeCache.txt names
#pragma once

#include <string>
#include <vector>

namespace carelog::app {

// The guide's first page for the program at `executable`, installed place first; a place
// that does not apply (no build cache beside the program) is left out.
std::vector<std::string> UserGuidePlaces(const std::string& executable);

}  // namespace carelog::app
