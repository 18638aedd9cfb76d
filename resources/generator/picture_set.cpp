#include "resources/generator/picture_set.h"

#include "resources/generator/caption_strip.h"
#include "resources/generator/check_pictures.h"
#include "resources/generator/menu_icons.h"
#include "resources/generator/program_icon.h"
#include "resources/generator/window_background.h"

namespace picgen {

const std::vector<PictureRecipe>& AllPictures() {
  static const std::vector<PictureRecipe> recipes = {
      {"caption_buttons.png-nosig", DrawCaptionStrip},
      {"check_boxes.png-nosig", DrawCheckBoxStrip},
      {"check_mark.png", DrawCheckMark},
      {"menu_top_most.png", DrawTopMostIcon},
      {"menu_not_top_most.png", DrawNotTopMostIcon},
      {"menu_contact_qq.png", DrawContactQqIcon},
      {"menu_contact_ww.png", DrawContactWwIcon},
      {"menu_open_site.png", DrawOpenSiteIcon},
      {"program_icon_20.png", DrawProgramIcon20},
      {"program_icon_32.png", DrawProgramIcon32},
      {"program_icon_48.png", DrawProgramIcon48},
      {"window_background.jpg", DrawWindowBackground},
  };
  return recipes;
}

}  // namespace picgen
