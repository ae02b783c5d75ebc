// The packer run by the build on two programs of this build: dividing its output gives back the
// image under the copy's name and the payload as rmevents.exe.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "container_fixtures.h"

namespace startup_test {
namespace {

Bytes ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PackedProgram, DividesIntoImageCopyAndTool) {
  const Bytes image = ReadFile(QUELLIN_PACK_IMAGE);
  const Bytes payload = ReadFile(QUELLIN_PACK_PAYLOAD);
  ASSERT_FALSE(image.empty());
  ASSERT_FALSE(payload.empty());
  const Division division = Divide(ReadFile(QUELLIN_PACK_OUTPUT));
  EXPECT_EQ(division.count, 2);
  EXPECT_EQ(division.entries,
            (std::vector<Entry>{{"startup.image.exe", image}, {"rmevents.exe", payload}}));
}

}  // namespace
}  // namespace startup_test
