#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

#include "fixtures/embedded.h"
#include "resources/pictures.h"
#include "tools/embed/embed_run.h"
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

class EmbedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("shoulu_embed_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    input_ = (dir_ / "input.bin").string();
    std::ofstream(input_, std::ios::binary) << "abc";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::vector<std::string> Command(std::vector<std::string> entries) const {
    std::vector<std::string> args = {"--namespace", "ns",       "--header", Out("out.h"),
                                     "--include",   "ns/out.h", "--source", Out("out.cpp")};
    args.insert(args.end(), entries.begin(), entries.end());
    return args;
  }
  std::string Out(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  std::string input_;
};

TEST_F(EmbedRunTest, WritesHeaderAndSourceForReadableFiles) {
  EXPECT_EQ(embed::RunEmbed(Command({"First=" + input_, "Second=" + input_})), 0);
  EXPECT_GT(std::filesystem::file_size(Out("out.h")), 0u);
  EXPECT_GT(std::filesystem::file_size(Out("out.cpp")), 0u);
}

TEST_F(EmbedRunTest, RefusesBadInputWithoutWritingAnything) {
  const struct {
    const char* what;
    std::vector<std::string> entries;
  } cases[] = {
      {"missing file", {"Missing=" + (dir_ / "nowhere.bin").string()}},
      {"name that is no identifier", {"two words=" + input_}},
      {"empty name", {"=" + input_}},
      {"same name twice", {"Same=" + input_, "Same=" + input_}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(embed::RunEmbed(Command(c.entries)), 1) << c.what;
    EXPECT_FALSE(std::filesystem::exists(Out("out.h"))) << c.what;
  }
}

TEST_F(EmbedRunTest, MalformedCommandLineIsAUsageError) {
  const std::vector<std::string> cases[] = {
      {},
      {"--namespace", "ns", "--header", Out("out.h"), "--include", "ns/out.h"},  // no source
      {"--namespace", "not valid", "--header", Out("out.h"), "--include", "i", "--source", "s"},
      {"--namespace"},
      {"--colour", "red"},
  };
  for (const auto& args : cases) EXPECT_EQ(embed::RunEmbed(args), 2);
}

TEST_F(EmbedRunTest, UnwritableOutputIsReported) {
  std::vector<std::string> args = Command({"Name=" + input_});
  args[3] = (dir_ / "no_such_folder" / "out.h").string();
  EXPECT_EQ(embed::RunEmbed(args), 1);
}

}  // namespace
