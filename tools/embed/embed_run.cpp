#include "tools/embed/embed_run.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/embed/embed_writer.h"

namespace {

struct Arguments {
  std::string name_space;
  std::string header_path;
  std::string header_include;
  std::string source_path;
  std::vector<std::pair<std::string, std::string>> entries;  // name, file path
};

std::optional<Arguments> ParseArguments(const std::vector<std::string>& argv) {
  Arguments args;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    const bool has_value = i + 1 < argv.size();
    if (arg == "--namespace" && has_value) {
      args.name_space = argv[++i];
    } else if (arg == "--header" && has_value) {
      args.header_path = argv[++i];
    } else if (arg == "--include" && has_value) {
      args.header_include = argv[++i];
    } else if (arg == "--source" && has_value) {
      args.source_path = argv[++i];
    } else if (const auto eq = arg.find('='); eq != std::string::npos && arg[0] != '-') {
      args.entries.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    } else {
      std::fprintf(stderr, "shoulu_embed: unexpected argument '%s'\n", arg.c_str());
      return std::nullopt;
    }
  }
  if (!embed::IsValidIdentifier(args.name_space) || args.header_path.empty() ||
      args.header_include.empty() || args.source_path.empty()) {
    std::fprintf(stderr,
                 "usage: shoulu_embed --namespace NS --header OUT.h --include INC "
                 "--source OUT.cpp NAME=FILE...\n");
    return std::nullopt;
  }
  return args;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

namespace embed {

int RunEmbed(const std::vector<std::string>& arguments) {
  const std::optional<Arguments> args = ParseArguments(arguments);
  if (!args) return 2;

  std::vector<embed::EmbeddedFile> files;
  std::set<std::string> names;
  for (const auto& [name, path] : args->entries) {
    if (!embed::IsValidIdentifier(name) || !names.insert(name).second) {
      std::fprintf(stderr, "shoulu_embed: '%s' is not a usable, unique name\n", name.c_str());
      return 1;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadFile(path);
    if (!bytes) {
      std::fprintf(stderr, "shoulu_embed: cannot read '%s'\n", path.c_str());
      return 1;
    }
    files.push_back({name, std::move(*bytes)});
  }

  if (!WriteFile(args->header_path, embed::WriteHeader(args->name_space, files)) ||
      !WriteFile(args->source_path,
                 embed::WriteSource(args->name_space, args->header_include, files))) {
    std::fprintf(stderr, "shoulu_embed: cannot write the output files\n");
    return 1;
  }
  return 0;
}

}  // namespace embed
