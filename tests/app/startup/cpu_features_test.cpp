#include "app/cpu_features.h"

#include <gtest/gtest.h>

#include "web/cpu_flags.h"

namespace app {
namespace {

constexpr std::uint32_t kSse2 = 1u << 26;      // leaf 1 EDX
constexpr std::uint32_t kSse42 = 1u << 20;     // leaf 1 ECX
constexpr std::uint32_t kOsxsave = 1u << 27;   // leaf 1 ECX
constexpr std::uint32_t kAvx = 1u << 28;       // leaf 1 ECX
constexpr std::uint32_t kAvx2 = 1u << 5;       // leaf 7 EBX
constexpr std::uint64_t kSseAvxState = 0b110;  // XCR0 bits 1 and 2
constexpr std::uint32_t kAllEcx = kSse42 | kOsxsave | kAvx;

TEST(CpuFeaturesTest, FlagsFollowTheRegisterBits) {
  struct Case {
    const char* name;
    CpuRegisterValues registers;
    CpuFeatures expected;
  };
  const Case cases[] = {
      {"everything", {7, kAllEcx, kSse2, kAvx2, kSseAvxState}, {true, true, true}},
      {"nothing", {7, 0, 0, 0, 0}, {false, false, false}},
      {"sse2 alone", {7, 0, kSse2, 0, 0}, {true, false, false}},
      {"sse4.2 alone", {7, kSse42, 0, 0, 0}, {false, true, false}},
      {"other bits set",
       {7, ~(kSse42 | kOsxsave | kAvx), ~kSse2, ~kAvx2, ~kSseAvxState},
       {false, false, false}},
      {"no AVX2 bit", {7, kAllEcx, kSse2, 0, kSseAvxState}, {true, true, false}},
      {"no AVX bit", {7, kSse42 | kOsxsave, kSse2, kAvx2, kSseAvxState}, {true, true, false}},
      {"no OSXSAVE", {7, kSse42 | kAvx, kSse2, kAvx2, kSseAvxState}, {true, true, false}},
      {"XCR0 without the AVX state", {7, kAllEcx, kSse2, kAvx2, 0b010}, {true, true, false}},
      {"XCR0 without the SSE state", {7, kAllEcx, kSse2, kAvx2, 0b100}, {true, true, false}},
      {"XCR0 with more states", {13, kAllEcx, kSse2, kAvx2, 0xE7}, {true, true, true}},
      {"no leaf 7 on the processor", {6, kAllEcx, kSse2, kAvx2, kSseAvxState}, {true, true, false}},
      {"no leaf 1 either", {0, kAllEcx, kSse2, kAvx2, kSseAvxState}, {false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CpuFeatures got = CpuFeaturesFrom(c.registers);
    EXPECT_EQ(got.sse2, c.expected.sse2);
    EXPECT_EQ(got.sse42, c.expected.sse42);
    EXPECT_EQ(got.avx2, c.expected.avx2);
  }
}

TEST(CpuFeaturesTest, DetectSetsTheFlagsTheTextRoutinesRead) {
  const CpuFeatures expected = CpuFeaturesFrom(ReadCpuRegisters());
  web::CpuHasSse2 = !expected.sse2;
  web::CpuHasSse42 = !expected.sse42;
  web::CpuHasAvx2 = !expected.avx2;
  DetectCpuFeatures();
  EXPECT_EQ(web::CpuHasSse2, expected.sse2);
  EXPECT_EQ(web::CpuHasSse42, expected.sse42);
  EXPECT_EQ(web::CpuHasAvx2, expected.avx2);
#if defined(__x86_64__)
  EXPECT_TRUE(web::CpuHasSse2) << "every x86-64 processor has SSE2";
#endif
}

}  // namespace
}  // namespace app
