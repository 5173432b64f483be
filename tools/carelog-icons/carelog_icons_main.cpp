// Writes the program's built-in icons as .ICO files into a directory:
//   carelog-icons DIRECTORY
#include <cstdio>
#include <fstream>

#include "runtime/image/image.h"
#include "runtime/window/builtin_icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: carelog-icons DIRECTORY\n");
    return 2;
  }
  for (const std::string& name : carelog::window::BuiltinIconNames()) {
    carelog::image::Image icon;
    carelog::window::BuiltinIcon(name, &icon);
    std::vector<uint8_t> bytes = carelog::image::EncodeIco(icon);
    std::string path = std::string(argv[1]) + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
