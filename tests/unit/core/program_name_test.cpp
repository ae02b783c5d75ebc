#include "platform/program_name.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramName, FileNameWithoutFolderAndLastExtension) {
  EXPECT_EQ(platform::ProgramName(L"C:\\Apps\\tool.exe"), L"tool");
  EXPECT_EQ(platform::ProgramName(L"C:\\v1.2\\my.tool.exe"), L"my.tool");
  EXPECT_EQ(platform::ProgramName(L"C:/Apps/清除器.exe"), L"清除器");
  EXPECT_EQ(platform::ProgramName(L"C:\\v1.2\\tool"), L"tool");
  EXPECT_EQ(platform::ProgramName(L"tool.exe"), L"tool");
  EXPECT_EQ(platform::ProgramName(L""), L"");
}

}  // namespace
