#include "web/cpu_flags.h"

namespace web {

bool CpuHasSse2 = false;
bool CpuHasSse42 = false;
bool CpuHasAvx2 = false;

}  // namespace web
