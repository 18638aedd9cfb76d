// shoulu_embed --namespace NS --header OUT.h --include INC --source OUT.cpp NAME=FILE...
// Turns files into a C++ header and source that give each file's bytes as a span.

#include <string>
#include <vector>

#include "tools/embed/embed_run.h"

int main(int argc, char** argv) {
  return embed::RunEmbed({argv + 1, argv + argc});
}
