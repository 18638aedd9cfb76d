#pragma once

namespace web {

// Processor features, set once by the application's start-up (DetectCpuFeatures) before any
// other thread runs, and only read afterwards. Until then the portable paths are used.
extern bool CpuHasSse2;
extern bool CpuHasSse42;
extern bool CpuHasAvx2;

}  // namespace web
