#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "fixtures/embedded.h"
#include "resources/pictures.h"
#include "tools/embed/embed_writer.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> ToVector(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(EmbedTest, KeepsEveryByteValueInOrder) {
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 256; ++i) expected.push_back(static_cast<std::uint8_t>(i));
  for (int i = 255; i >= 0; --i) expected.push_back(static_cast<std::uint8_t>(i));
  EXPECT_EQ(ToVector(fixtures::AllByteValues()), expected);
}

TEST(EmbedTest, EmptyFileGivesEmptySpan) {
  EXPECT_TRUE(fixtures::Empty().empty());
}

TEST(EmbedTest, EmbeddedPicturesMatchTheirFiles) {
  const struct {
    const char* file;
    std::span<const std::uint8_t> bytes;
  } cases[] = {
      {"caption_buttons.png-nosig", resources::CaptionButtons()},
      {"check_boxes.png-nosig", resources::CheckBoxes()},
      {"check_mark.png", resources::CheckMark()},
      {"menu_top_most.png", resources::MenuIconTopMost()},
      {"menu_not_top_most.png", resources::MenuIconNotTopMost()},
      {"menu_contact_qq.png", resources::MenuIconContactQq()},
      {"menu_contact_ww.png", resources::MenuIconContactWw()},
      {"menu_open_site.png", resources::MenuIconOpenSite()},
      {"program_icon_20.png", resources::ProgramIcon20()},
      {"program_icon_32.png", resources::ProgramIcon32()},
      {"program_icon_48.png", resources::ProgramIcon48()},
      {"window_background.jpg", resources::WindowBackground()},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> on_disk =
        ReadFile(std::string(SHOULU_PICTURES_DIR) + "/" + c.file);
    ASSERT_FALSE(on_disk.empty()) << c.file;
    EXPECT_EQ(ToVector(c.bytes), on_disk) << c.file;
  }
}

TEST(EmbedTest, AcceptsOnlyIdentifiersAsNames) {
  const struct {
    const char* name;
    bool valid;
  } cases[] = {
      {"CaptionButtons", true}, {"_icon2", true},     {"", false},
      {"2icons", false},        {"menu-icon", false}, {"name space", false},
  };
  for (const auto& c : cases) EXPECT_EQ(embed::IsValidIdentifier(c.name), c.valid) << c.name;
}

}  // namespace
