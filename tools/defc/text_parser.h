// Parses the text form of a definition module into its model (runtime/window/
// definition_model.h). One statement per line; indentation is for the reader only.
//
//   module    = "module" STRING NL { entry }             top level: windows and reports
//   entry     = KIND [STRING] { property } NL [ block ]  a block follows exactly when the
//                                                        kind holds children
//   block     = { entry | property { property } NL } "end" NL
//   property  = "id" INT | "attr" INT | "units" UNIT | "default"
//             | "at" coord coord coord coord
//             | "use" ("long" | "byte" | "string" INT | "longstring" INT | "type" INT INT)
//             | "font" STRING INT | "fontcolor" INT | "fontstyle" INT
//             | "alert" INT { INT } | "status" INT { INT }
//             | "action" (NAME | INT) | PICTURE | "picture" STRING
//             | KEYWORD (STRING | INT | REAL)             any other field of the kind
//   coord     = INT | "-"                                 '-' leaves the value open
//
// KIND is a kind name of the layout table ("window", "button", "menu" ...), plus "separator"
// for a menu item without text. The STRING after KIND is the label of a window or report and
// the text (or image file) of a control. Lines inside a block that start with a property
// keyword set properties of the block's own entry.
//
// Structural rules: windows and reports stand only at the top level; a window holds at most
// one menu bar; menu bars hold menus, menus hold menus and items, and menus and items stand
// nowhere else. Every violation, like every malformed line, is a ParseError naming the line.
#pragma once

#include <string>
#include <string_view>

#include "runtime/window/definition_model.h"

namespace carelog::defc {

struct ParseError {
  int line = 0;
  std::string message;
};

bool ParseModule(std::string_view source, window::Module* module, ParseError* error);

}  // namespace carelog::defc
