// quellin_pack IMAGE IMAGE_COPY_NAME PAYLOAD PAYLOAD_NAME OUT
//
// Writes OUT as the program image, a trailer naming IMAGE_COPY_NAME, the payload and a trailer
// naming PAYLOAD_NAME. Runs on the build host only. Refuses (exit code 1, nothing written) an
// input that already contains the container marker, and names outside printable ASCII.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "pack/container_join.h"
#include "startup/hex_text.h"

namespace {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

// Written beside OUT first and renamed over it, so a failed run never leaves a half container
// that a later build step would take for a finished one.
bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::path partial = path;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) std::filesystem::remove(partial, error);
  return !error;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quellin_pack: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    return Fail("usage: quellin_pack IMAGE IMAGE_COPY_NAME PAYLOAD PAYLOAD_NAME OUT");
  }
  const std::filesystem::path imagePath = argv[1];
  const std::string imageName = argv[2];
  const std::filesystem::path payloadPath = argv[3];
  const std::string payloadName = argv[4];
  const std::filesystem::path outPath = argv[5];

  for (const std::string& name : {imageName, payloadName}) {
    if (const std::string problem = pack::NameProblem(name); !problem.empty()) {
      return Fail("cannot use \"" + name + "\": " + problem);
    }
  }
  const auto image = ReadWholeFile(imagePath);
  if (!image) return Fail("cannot read " + imagePath.string());
  const auto payload = ReadWholeFile(payloadPath);
  if (!payload) return Fail("cannot read " + payloadPath.string());
  const auto marker = startup::HexTextToBytes(startup::kDefaultMarkerText);
  if (!marker) return Fail("the marker text is not hexadecimal");

  const pack::Part parts[] = {{*image, imageName}, {*payload, payloadName}};
  std::vector<std::uint8_t> container;
  if (const std::string problem = pack::JoinContainer(parts, *marker, container);
      !problem.empty()) {
    return Fail(problem + " (" + imagePath.string() + ", " + payloadPath.string() + ")");
  }
  if (!WriteWholeFile(outPath, container)) return Fail("cannot write " + outPath.string());
  return 0;
}
