// Dividing a 4 MiB payload container against reading the same file once in 600-byte blocks, and
// against the old division that searched its whole buffer again after every block, in one run.
//
//   divide_bench [MIB]      container size in MiB (default 4)
//
// The division timed is startup::DivideFile itself (busy pointer, folder checks, written-files
// list, the files written), and the reads go through the same file source it uses. Prints the
// best of several rounds, the ratio of the bests and of the medians; exits with 1 when dividing
// takes more than twice as long as reading.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "pack/container_join.h"
#include "startup/divide_stream.h"
#include "startup/hex_text.h"

#include "startup/divide_file.h"
#include "startup/file_block_source.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kRounds = 15;
constexpr double kTargetRatio = 2.0;

std::unique_ptr<startup::BlockSource> OpenSource(const fs::path& path) {
  return startup::FileBlockSource::Open(path.wstring());
}

bool WriteWhole(const fs::path& path, std::span<const std::uint8_t> bytes) {
  return startup::WriteBytesToFile(path.wstring(), bytes);
}

int DivideIncremental(const fs::path& container, const fs::path& folder) {
  std::wstring written;
  return startup::DivideFile(container.wstring(), folder.wstring(), std::span<const std::uint8_t>(),
                             written);
}

// Reads the whole file in 600-byte blocks and touches every block, as a division must.
std::uint64_t ReadInBlocks(const fs::path& path) {
  const auto source = OpenSource(path);
  if (!source) return 0;
  std::array<std::uint8_t, startup::kBlockSize> block{};
  std::uint64_t sum = 0;
  for (std::uint64_t offset = 0; offset < source->Length(); offset += startup::kBlockSize) {
    const auto size = static_cast<std::size_t>(
        std::min<std::uint64_t>(startup::kBlockSize, source->Length() - offset));
    if (!source->Read(std::span(block.data(), size))) return 0;
    sum += block[0] + block[size - 1];
  }
  return sum;
}

// The division as it was first written: after every block, search the buffer from its first
// byte again.
int DivideQuadratic(const fs::path& container, const fs::path& folder, const Bytes& marker) {
  const auto source = OpenSource(container);
  if (!source) return 0;
  Bytes buffer;
  std::array<std::uint8_t, startup::kBlockSize> block{};
  int count = 0;
  for (std::uint64_t offset = 0; offset < source->Length(); offset += startup::kBlockSize) {
    const auto size = static_cast<std::size_t>(
        std::min<std::uint64_t>(startup::kBlockSize, source->Length() - offset));
    if (!source->Read(std::span(block.data(), size))) return 0;
    buffer.insert(buffer.end(), block.begin(), block.begin() + static_cast<long>(size));
    for (;;) {
      const auto at = std::search(buffer.begin(), buffer.end(), marker.begin(), marker.end());
      const auto p = static_cast<std::size_t>(at - buffer.begin());
      const std::size_t lengthAt = p + marker.size();
      if (at == buffer.end() || buffer.size() < lengthAt + 2) break;
      const std::size_t nameLength = buffer[lengthAt] | (std::size_t{buffer[lengthAt + 1]} << 8);
      if (buffer.size() < lengthAt + 2 + nameLength) break;
      const std::string name(buffer.begin() + static_cast<long>(lengthAt + 2),
                             buffer.begin() + static_cast<long>(lengthAt + 2 + nameLength));
      if (!WriteWhole(folder / name, std::span(buffer.data(), p))) return 0;
      ++count;
      buffer.erase(buffer.begin(), buffer.begin() + static_cast<long>(lengthAt + 2 + nameLength));
    }
  }
  return count;
}

// Program-like bytes: many zeros, many 'Q' (the marker's first byte), never the marker.
Bytes ImageLikeBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& byte : bytes) {
    const unsigned pick = random() % 16;
    byte = pick < 5 ? 0 : pick == 5 ? std::uint8_t{'Q'} : static_cast<std::uint8_t>(random());
  }
  return bytes;
}

double Milliseconds(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 4;
  const std::size_t total = std::max<std::size_t>(mib, 1) << 20;
  const Bytes marker = *startup::HexTextToBytes(startup::kDefaultMarkerText);
  const std::string imageName = "Quellin.image.exe";
  const std::string toolName = "rmevents.exe";
  const std::size_t trailers = 2 * (marker.size() + 2) + imageName.size() + toolName.size();
  const Bytes image = ImageLikeBytes(total / 8 * 7, 1);
  const Bytes tool = ImageLikeBytes(total - image.size() - trailers, 2);
  const pack::Part parts[] = {{image, imageName}, {tool, toolName}};
  Bytes containerBytes;
  if (const std::string problem = pack::JoinContainer(parts, marker, containerBytes);
      !problem.empty()) {
    std::fprintf(stderr, "divide_bench: %s\n", problem.c_str());
    return 2;
  }

  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error) / "quellin-divide-bench";
  fs::remove_all(folder, error);
  fs::create_directories(folder / "out", error);
  const fs::path container = folder / "container.bin";
  if (!WriteWhole(container, containerBytes)) {
    std::fprintf(stderr, "divide_bench: cannot write %s\n", container.string().c_str());
    return 2;
  }

  std::vector<double> reads;
  std::vector<double> divisions;
  bool allRight = true;
  for (int round = 0; round < kRounds; ++round) {
    reads.push_back(Milliseconds([&] { allRight &= ReadInBlocks(container) != 0; }));
    divisions.push_back(
        Milliseconds([&] { allRight &= DivideIncremental(container, folder / "out") == 2; }));
  }
  const double quadratic =
      Milliseconds([&] { allRight &= DivideQuadratic(container, folder / "out", marker) == 2; });
  fs::remove_all(folder, error);
  if (!allRight) {
    std::fprintf(stderr, "divide_bench: a run did not read or divide the container\n");
    return 2;
  }

  std::sort(reads.begin(), reads.end());
  std::sort(divisions.begin(), divisions.end());
  const double bestRead = reads.front();
  const double bestDivide = divisions.front();
  const double ratio = bestDivide / bestRead;
  const double medianRatio = divisions[divisions.size() / 2] / reads[reads.size() / 2];
  std::printf(
      "divide_bench: %zu-byte container (image %zu + tool %zu), 600-byte blocks, best of %d\n",
      containerBytes.size(), image.size(), tool.size(), kRounds);
  std::printf("  read once in blocks      %9.2f ms\n", bestRead);
  std::printf("  divide                   %9.2f ms   %.2fx of reading (target <= %.0fx)\n",
              bestDivide, ratio, kTargetRatio);
  std::printf("  medians: read %.2f ms, divide %.2f ms, %.2fx\n", reads[reads.size() / 2],
              divisions[divisions.size() / 2], medianRatio);
  std::printf("  divide, rescanning       %9.2f ms   %.1fx of reading (the old search)\n",
              quadratic, quadratic / bestRead);
  std::printf("%s\n",
              ratio <= kTargetRatio ? "divide_bench: within target" : "divide_bench: OVER TARGET");
  return ratio <= kTargetRatio ? 0 : 1;
}
