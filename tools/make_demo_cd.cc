// Writes the demo installation CD into a folder: make_demo_cd FOLDER.
#include <cstdio>
#include <string>

#include "tools/demo_cd.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_cd FOLDER\n");
    return 2;
  }
  std::string error;
  if (!qov::demo::write_demo_cd(argv[1], &error)) {
    std::fprintf(stderr, "make_demo_cd: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
