#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace embed {

// One file to embed, reachable in C++ as `<namespace>::<name>()`.
struct EmbeddedFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// True for a name that can stand as a C++ identifier.
bool IsValidIdentifier(const std::string& name);

// The header declares one accessor per file; `header_include` is how the source includes it.
std::string WriteHeader(const std::string& name_space, const std::vector<EmbeddedFile>& files);
std::string WriteSource(const std::string& name_space, const std::string& header_include,
                        const std::vector<EmbeddedFile>& files);

}  // namespace embed
