#include "web/fast_text_length.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "web/cpu_flags.h"

namespace web {
namespace {

enum class Path { kPortable, kSse2, kAvx2 };

// Selects one path through the processor flags and restores them afterwards.
class FastTextLengthPath : public testing::TestWithParam<Path> {
 protected:
  void SetUp() override {
    saved_ = {CpuHasSse2, CpuHasAvx2};
    if (GetParam() == Path::kAvx2 && !__builtin_cpu_supports("avx2")) {
      GTEST_SKIP() << "no AVX2 on this processor";
    }
    CpuHasSse2 = GetParam() != Path::kPortable;
    CpuHasAvx2 = GetParam() == Path::kAvx2;
  }
  void TearDown() override {
    CpuHasSse2 = saved_.first;
    CpuHasAvx2 = saved_.second;
  }

 private:
  std::pair<bool, bool> saved_;
};

TEST_P(FastTextLengthPath, CountsEveryLengthAtEveryAlignment) {
  // Exactly sized heap blocks: the text's zero is the block's last byte, so under the address
  // checker any read past it that is not within the aligned block would be reported.
  for (std::size_t length = 0; length <= 300; ++length) {  // past two four-block runs
    for (std::size_t offset = 0; offset < 32; ++offset) {
      auto block = std::make_unique<char[]>(offset + length + 1);
      std::memset(block.get(), 'x', offset + length);
      block[offset + length] = '\0';
      ASSERT_EQ(FastTextLength(block.get() + offset), length) << "offset " << offset;
    }
  }
}

TEST_P(FastTextLengthPath, StopsAtTheFirstZeroAndIgnoresZerosBeforeTheText) {
  alignas(32) char buffer[96] = {};
  std::memset(buffer + 1, 'a', 70);  // zeros at 0 and from 71 on
  EXPECT_EQ(FastTextLength(buffer + 5), 66u);
  buffer[40] = '\0';
  EXPECT_EQ(FastTextLength(buffer + 5), 35u);
  EXPECT_EQ(FastTextLength(buffer + 40), 0u);
  EXPECT_EQ(FastTextLength(nullptr), 0u);
}

TEST_P(FastTextLengthPath, HighBytesAreNotZeros) {
  const std::string text = "\xD6\xD0\xFF\x80\x01" + std::string(40, '\xB0');
  EXPECT_EQ(FastTextLength(text.c_str()), text.size());
}

INSTANTIATE_TEST_SUITE_P(Paths, FastTextLengthPath,
                         testing::Values(Path::kPortable, Path::kSse2, Path::kAvx2),
                         [](const testing::TestParamInfo<Path>& info) {
                           switch (info.param) {
                             case Path::kPortable:
                               return "portable";
                             case Path::kSse2:
                               return "sse2";
                             default:
                               return "avx2";
                           }
                         });

}  // namespace
}  // namespace web
