// The payload in the packing test: any Windows program of this build stands in for rmevents.
#include <cstdio>

int main() {
  std::puts("payload stub");
  return 0;
}
