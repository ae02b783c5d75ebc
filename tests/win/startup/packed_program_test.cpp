// A program linking the start-up module, packed by the build's own packer, divides itself into
// exactly its image and the tool, and extracts at its first start only.
#include <gtest/gtest.h>

#include "startup_win_support.h"
#include "test_support.h"

namespace startup_win_test {
namespace {

using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::SiblingProgram;

const std::wstring kPacked = SiblingProgram(L"startup_self_divider_packed.exe");

std::wstring Command(const wchar_t* mode, const std::wstring& folder) {
  return L"\"" + kPacked + L"\" " + mode + L" \"" + folder + L"\"";
}

TEST(PackedProgram, DividesIntoItsImageAndTheTool) {
  ScratchFolder scratch;
  const std::string image = ReadBytes(SiblingProgram(L"startup_self_divider.exe"));
  const std::string tool = ReadBytes(SiblingProgram(L"startup_payload_stub.exe"));
  ASSERT_FALSE(image.empty());
  ASSERT_FALSE(tool.empty());
  EXPECT_EQ(ReadBytes(kPacked).size(), image.size() + tool.size() + 2 * 16 + 17 + 12);

  // The marker occurs nowhere in an image that carries the dividing code: exactly two files.
  EXPECT_EQ(RunProgram(Command(L"divide", scratch.Path())), 2);
  EXPECT_EQ(ReadBytes(scratch / L"startup.image.exe"), image);
  EXPECT_EQ(ReadBytes(scratch / L"rmevents.exe"), tool);
}

TEST(PackedProgram, ExtractsAtItsFirstStartOnly) {
  ScratchFolder scratch;
  const std::wstring application = L"QXPW_startup_self_divider_packed";
  DeleteRecords(application);
  EXPECT_EQ(RunProgram(Command(L"auto", scratch.Path())), 1);
  EXPECT_EQ(ReadBytes(scratch / L"rmevents.exe"),
            ReadBytes(SiblingProgram(L"startup_payload_stub.exe")));
  EXPECT_TRUE(Record(application, L"rmevents.exe"));
  EXPECT_TRUE(Record(application, L"主程序"));
  EXPECT_EQ(RunProgram(Command(L"auto", scratch.Path())), 0);
  DeleteRecords(application);
}

}  // namespace
}  // namespace startup_win_test
