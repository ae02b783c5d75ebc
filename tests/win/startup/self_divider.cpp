// A stand-in for the program image in the packing test: a Windows program that links the
// start-up module and, once packed, divides its own file the way the program does at start-up.
//   startup_self_divider divide FOLDER   DivideFile of its own file into FOLDER; exit code = count
//   startup_self_divider auto FOLDER     AutoExtract(FOLDER\, {"rmevents.exe"}); exit code 1 when
//                                        it extracted, 0 when everything was up to date
#include <cstdint>
#include <span>
#include <string>

#include "platform/own_program.h"
#include "startup/auto_extract.h"
#include "startup/divide_file.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 100;
  const std::wstring mode = argv[1];
  const std::wstring folder = argv[2];
  if (mode == L"divide") {
    std::wstring written;
    return startup::DivideFile(platform::OwnProgramFile(), folder, std::span<const std::uint8_t>(),
                               written);
  }
  if (mode == L"auto") return startup::AutoExtract(folder + L"\\", {L"rmevents.exe"}) ? 1 : 0;
  return 100;
}
