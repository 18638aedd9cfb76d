// Draws every embedded picture and writes it into the pictures folder (or the folder given as
// the only argument). Run by hand after changing a drawing; the written files are committed.

#include <cstdio>
#include <fstream>
#include <string>

#include "resources/generator/picture_set.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : SHOULU_PICTURES_DIR;
  int failures = 0;
  for (const picgen::PictureRecipe& recipe : picgen::AllPictures()) {
    const std::vector<std::uint8_t> bytes = recipe.draw();
    const std::string path = folder + "/" + recipe.file_name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (bytes.empty() || !out) {
      std::fprintf(stderr, "generate_pictures: could not write %s\n", path.c_str());
      ++failures;
      continue;
    }
    std::printf("%-28s %7zu bytes\n", recipe.file_name, bytes.size());
  }
  return failures == 0 ? 0 : 1;
}
