#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

struct PictureRecipe {
  const char* file_name;
  std::vector<std::uint8_t> (*draw)();
};

// Every picture the program embeds, with the file it is kept in.
const std::vector<PictureRecipe>& AllPictures();

}  // namespace picgen
