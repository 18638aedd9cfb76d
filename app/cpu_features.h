#pragma once

#include <cstdint>

namespace app {

// The processor registers the feature flags are decided from.
struct CpuRegisterValues {
  std::uint32_t max_leaf = 0;   // EAX of CPUID leaf 0: the highest basic leaf
  std::uint32_t leaf1_ecx = 0;  // CPUID leaf 1
  std::uint32_t leaf1_edx = 0;
  std::uint32_t leaf7_ebx = 0;  // CPUID leaf 7, sub-leaf 0
  std::uint64_t xcr0 = 0;       // XGETBV with ECX 0; only read when the system enabled XSAVE
};

struct CpuFeatures {
  bool sse2 = false;
  bool sse42 = false;
  bool avx2 = false;
  friend bool operator==(const CpuFeatures&, const CpuFeatures&) = default;
};

// SSE2: bit 26 of leaf 1 EDX. SSE4.2: bit 20 of leaf 1 ECX. AVX2 only when leaf 1 ECX has both
// OSXSAVE (27) and AVX (28), leaf 7 EBX has bit 5, and XCR0 says the system saves the SSE (1)
// and AVX (2) register state. Leaf 7 counts only when the processor has it, and XCR0 only with
// OSXSAVE (without it the register cannot be read).
CpuFeatures CpuFeaturesFrom(const CpuRegisterValues& registers);

// The registers of the running processor (all zero on other architectures).
CpuRegisterValues ReadCpuRegisters();

// Sets CpuHasSse2, CpuHasSse42 and CpuHasAvx2 for the fast text routines.
void DetectCpuFeatures();

}  // namespace app
