#include <cstdio>

int main(int, char**) {
  std::fprintf(stderr, "usage: tessaly-sim COMMAND ...\n");
  return 2;
}
