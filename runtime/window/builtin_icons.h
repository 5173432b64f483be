// The program's own icons, drawn from pixel rules rather than shipped as files: the program
// icon "RUDIV.ICO" (32 x 32, a white cross on a rounded blue tile), the browse arrows
// "PREVIOUS.ICO" and "NEXT.ICO" and the smaller calendar arrows "PREVSMAL.ICO" and "NEXTSMAL.ICO"
// (all 16 x 16). tools/carelog-icons writes them as .ICO files.
// Image controls load a named file from the current directory first and fall back to these.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/image/image.h"

namespace carelog::window {

// Names of the built-in icons.
std::vector<std::string> BuiltinIconNames();
// The icon's pixels; false for an unknown name (compared without regard to case).
bool BuiltinIcon(const std::string& name, image::Image* out);

// The bitmap an image control shows for `name`: the decoded file, else the built-in icon of
// that name; nullptr when neither exists.
std::shared_ptr<host::Surface> LoadControlImage(const std::string& name);

}  // namespace carelog::window
