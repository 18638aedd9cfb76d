#pragma once

#include <string>
#include <vector>

namespace embed {

// The whole tool on its arguments (without the program name): 0 when both files were written,
// 1 when an input cannot be read, a name is unusable or an output cannot be written, 2 for a
// malformed command line. Reasons go to standard error.
int RunEmbed(const std::vector<std::string>& arguments);

}  // namespace embed
