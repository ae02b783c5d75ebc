#include "process/get_arguments.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/unique_handle.h"
#include "process/shell_wait.h"
#include "test_support.h"

namespace process {
namespace {

using Args = std::vector<std::wstring>;

// Starts the probe program with `commandLine` and returns what its GetArgumentsJoined of the
// reserved source saw.
std::wstring ProbeArguments(const std::wstring& commandLine, const std::wstring& outFile) {
  DeleteFileW(outFile.c_str());
  SetEnvironmentVariableW(L"QUELLIN_PROBE_OUT", outFile.c_str());
  StartedProcess child = StartProcess(commandLine, SW_HIDE);
  SetEnvironmentVariableW(L"QUELLIN_PROBE_OUT", nullptr);
  if (!child.handle) return L"<not started>";
  WaitForSingleObject(child.handle.Get(), 30000);
  const std::string bytes = testing_win::ReadBytes(outFile);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

TEST(GetArguments, ReservedSourceReadsTheProgramsOwnArguments) {
  testing_win::ScratchFolder root;
  const std::wstring out = root / L"args.bin";
  const std::wstring probe = testing_win::SiblingProgram(L"test_child.exe");

  // As Explorer's right-click entry starts the program: quoted name, two blanks, quoted file.
  EXPECT_EQ(ProbeArguments(L"\"" + probe + L"\"  \"D:\\My Films\\电影 a.rm\"", out),
            L"D:\\My Films\\电影 a.rm");
  EXPECT_EQ(ProbeArguments(L"\"" + probe + L"\" a  b ", out), L"a\r\n\r\nb\r\n");
  EXPECT_EQ(ProbeArguments(L"\"" + probe + L"\"", out), L"");
  if (probe.find(L' ') == std::wstring::npos) {
    EXPECT_EQ(ProbeArguments(probe + L" x\"y z\"", out), L"xy z");
  }
}

TEST(GetArguments, OnlyTheExactReservedTextStandsForTheCommandLine) {
  EXPECT_EQ(GetArguments(L"$:command()"), Args{L"$:command()"});
  EXPECT_EQ(GetArgumentsJoined(L" $:Command()"), L"\r\n$:Command()");
}

}  // namespace
}  // namespace process
