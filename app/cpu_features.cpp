#include "app/cpu_features.h"

#include "web/cpu_flags.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace app {
namespace {

constexpr bool Bit(std::uint64_t value, int bit) {
  return ((value >> bit) & 1u) != 0;
}

constexpr int kLeaf1EdxSse2 = 26;
constexpr int kLeaf1EcxSse42 = 20;
constexpr int kLeaf1EcxOsxsave = 27;
constexpr int kLeaf1EcxAvx = 28;
constexpr int kLeaf7EbxAvx2 = 5;
constexpr int kXcr0SseState = 1;
constexpr int kXcr0AvxState = 2;

}  // namespace

CpuFeatures CpuFeaturesFrom(const CpuRegisterValues& r) {
  CpuFeatures features;
  if (r.max_leaf < 1) return features;
  features.sse2 = Bit(r.leaf1_edx, kLeaf1EdxSse2);
  features.sse42 = Bit(r.leaf1_ecx, kLeaf1EcxSse42);
  const bool osxsave = Bit(r.leaf1_ecx, kLeaf1EcxOsxsave);
  const bool avx = Bit(r.leaf1_ecx, kLeaf1EcxAvx);
  const bool avx2 = r.max_leaf >= 7 && Bit(r.leaf7_ebx, kLeaf7EbxAvx2);
  const bool state_saved = osxsave && Bit(r.xcr0, kXcr0SseState) && Bit(r.xcr0, kXcr0AvxState);
  features.avx2 = osxsave && avx && avx2 && state_saved;
  return features;
}

CpuRegisterValues ReadCpuRegisters() {
  CpuRegisterValues r;
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  r.max_leaf = __get_cpuid_max(0, nullptr);
  if (r.max_leaf >= 1 && __get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    r.leaf1_ecx = ecx;
    r.leaf1_edx = edx;
  }
  if (r.max_leaf >= 7 && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) r.leaf7_ebx = ebx;
  if (Bit(r.leaf1_ecx, kLeaf1EcxOsxsave)) {
    std::uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    r.xcr0 = (std::uint64_t{high} << 32) | low;
  }
#endif
  return r;
}

void DetectCpuFeatures() {
  const CpuFeatures features = CpuFeaturesFrom(ReadCpuRegisters());
  web::CpuHasSse2 = features.sse2;
  web::CpuHasSse42 = features.sse42;
  web::CpuHasAvx2 = features.avx2;
}

}  // namespace app
