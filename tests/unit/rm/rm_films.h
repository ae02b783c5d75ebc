// Small films described for rm_builder: the shapes the rewrite has to get right, and the exact
// files it must produce from them.
#pragma once

#include <string>
#include <vector>

#include "rm_builder.h"

namespace rmtest {

inline StreamLayout Video(std::uint16_t n, bool indexed = true) {
  return {n,
          "video/x-pn-realvideo",
          "The Video Stream",
          {'V', 'I', 'D', 'O'},
          200000,
          180000,
          5000,
          indexed};
}
inline StreamLayout Audio(std::uint16_t n, bool indexed = true) {
  return {
      n,      "audio/x-pn-realaudio", "The Audio Stream", {'.', 'r', 'a', 0xFD}, 96000, 96000, 5000,
      indexed};
}
inline StreamLayout Events(std::uint16_t n, bool indexed = true, std::uint32_t duration = 2000) {
  return {n, "application/x-pn-realevent", "", {}, 200, 200, duration, indexed};
}
inline StreamLayout Logical(std::uint16_t n, const std::string& mime, Bytes typeSpecific,
                            bool indexed = true) {
  return {n, mime, "", std::move(typeSpecific), 0, 0, 0, indexed};
}
inline StreamLayout FileInfo(std::uint16_t n) {
  return Logical(n, "logical-fileinfo", LogicalTypeSpecific({}, {}));
}

inline PacketLayout Media(std::uint16_t stream, std::uint32_t ts, std::size_t size) {
  return {stream, ts, MediaPayload(size, static_cast<std::uint8_t>(ts / 10 + stream)), 0, 2};
}

// RealProducer's shape, made harder: video 0, events 1, audio 2 (renumbered to 1 when the events
// go), logical-fileinfo 3 with an empty INDX; every stream indexed; a tail after the index.
inline FilmLayout EventFilm(std::uint16_t eventStream = 1, std::uint16_t audioStream = 2,
                            std::uint16_t infoStream = 3) {
  FilmLayout f;
  f.streams = {Video(0), Events(eventStream), Audio(audioStream), FileInfo(infoStream)};
  f.chunks = {{Media(0, 0, 300), Media(audioStream, 0, 100),
               EventPacket(eventStream, 0, 0, 20, "http://example.com/one.html"),
               Media(audioStream, 70, 100), Media(0, 100, 250), Media(audioStream, 140, 100),
               EventPacket(eventStream, 1, 2, 30, "http://example.com/two.html"),
               Media(0, 200, 260), Media(audioStream, 210, 100)}};
  f.tail = {'R', 'M', 'J', 'E', 0, 0, 0, 0, 0, 0, 0, 0};
  return f;
}

// What stripping EventFilm must give, built without the rewriter.
inline FilmLayout EventFilmStripped() {
  FilmLayout f = EventFilm();
  f.streams = {Video(0), Audio(1), FileInfo(2)};
  f.chunks[0].erase(f.chunks[0].begin() + 6);
  f.chunks[0].erase(f.chunks[0].begin() + 2);
  for (PacketLayout& p : f.chunks[0]) {
    if (p.stream == 2) p.stream = 1;
  }
  return f;
}

// FFmpeg's shape: video 0, audio 1, no index, DATA size 18 too large, eight zero bytes at the end.
// Timestamps are not sorted, as FFmpeg interleaves them.
inline FilmLayout FfmpegFilm() {
  FilmLayout f;
  f.streams = {Video(0, false), Audio(1, false)};
  f.chunks = {{Media(0, 0, 400), Media(1, 0, 120), Media(1, 70, 120), Media(0, 100, 380),
               Media(1, 140, 120), Media(0, 200, 390), Media(1, 210, 120), Media(0, 300, 200),
               Media(1, 280, 120), Media(0, 400, 350)}};
  f.dataSizePlus18 = true;
  f.tail = Bytes(8, 0);
  return f;
}

}  // namespace rmtest
