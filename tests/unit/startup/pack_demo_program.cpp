// A stand-in program for packing tests: the image and the payload are two builds of this file.
#include <cstdio>

int main() {
  std::puts("quellin pack demo: " DEMO_ROLE);
  return 0;
}
