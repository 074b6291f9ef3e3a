#include <cstdio>

int main(int, char**) {
  std::fprintf(stderr, "usage: tessaly-cli COMMAND ...\n");
  return 2;
}
