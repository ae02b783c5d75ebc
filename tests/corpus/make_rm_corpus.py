#!/usr/bin/env python3
"""Writes the RealMedia input corpus in tests/corpus/rm/: valid oddities and broken files.

  python3 tests/corpus/make_rm_corpus.py [OUTDIR]      (default: tests/corpus/rm beside this file)

Everything starts from one tiny clip that Debian's ffmpeg encodes (1 s, 64x48 RV10 at 5 fps with
real_144 audio, bit-exact flags, about 3.5 KB). From it the script assembles `events.rm`: the same
packets with a URL event stream between video and audio, a logical audio group and a
logical-fileinfo stream after it, and an INDX per stream (the fileinfo one empty), all sizes exact.
Every other file is one of these two, cut or patched in one place. expected.txt says what the
tool must do with each file; README.md says what each file breaks. Both are written here, so the
table and the files cannot drift apart. The output is byte-for-byte reproducible with the same
ffmpeg build.
"""

import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "rmcli"))
import rmfile  # noqa: E402

FFMPEG_ARGS = ("-hide_banner -loglevel error -y -fflags +bitexact "
               "-f lavfi -i testsrc=duration=1:size=64x48:rate=5 "
               "-f lavfi -i sine=frequency=440:duration=1:sample_rate=8000 "
               "-c:v rv10 -q:v 8 -c:a real_144 -ar 8000 -ac 1 -flags +bitexact").split()
EVENTS = [(2, 5, b"http://example.com/a.html"), (6, 8, b"http://example.com/b c.html")]
EVENTS2 = [(3, 4, b"http://example.com/c.html"), (9, 10, b"http://example.com/d.html")]
AUDIO_GROUP_MIME = b"logical-audio/x-pn-multirate-realaudio"
EVENT_GROUP_MIME = b"logical-application/x-pn-multirate-realevent"


def make_clip():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "clip.rm")
        subprocess.run(["ffmpeg", *FFMPEG_ARGS, path], check=True)
        with open(path, "rb") as f:
            return f.read()


def with_stream(mdpr_raw, stream):
    raw = bytearray(mdpr_raw)
    struct.pack_into(">H", raw, 10, stream)
    return bytes(raw)


def logical_mdpr(stream, mime, physical, properties=()):
    """A logical stream MDPR grouping `physical` streams (one ASM rule each)."""
    props = b""
    for name, value in properties:
        body = struct.pack(">HB", 0, len(name)) + name + struct.pack(">IHI", 0, 4, value)
        props += struct.pack(">I", 4 + len(body)) + body
    n = len(physical)
    body = struct.pack(">HH", 0, n) + b"".join(struct.pack(">H", s) for s in physical)
    body += b"\x00" * (4 * n) + struct.pack(">H", n)
    body += b"".join(struct.pack(">H", s) for s in physical)
    body += struct.pack(">H", len(properties)) + props
    logical = struct.pack(">I", 4 + len(body)) + body
    mdpr = struct.pack(">HIIIIIII", stream, 0, 0, 0, 0, 0, 0, 0)
    mdpr += b"\x00" + bytes([len(mime)]) + mime + struct.pack(">I", len(logical)) + logical
    return rmfile.chunk_header(b"MDPR", 10 + len(mdpr)) + mdpr


class Built:
    """A file assembled from parts, with the offset of every part for later patching."""

    def __init__(self, clip, mdprs, packets, indexed, live=False):
        self.data = bytearray()
        header_chunks = [raw for fourcc, _, raw in clip.headers if fourcc == b"CONT"] + mdprs
        rmf = rmfile.chunk_header(b".RMF", 18) + struct.pack(">II", 0, len(mdprs) + 4)
        self.rmf, self.prop = 0, 18
        self.data += rmf + bytes(50)
        self.cont = len(self.data)
        self.mdprs = []
        for raw in header_chunks:
            if raw[:4] == b"MDPR":
                self.mdprs.append(len(self.data))
            self.data += raw
        self.data_offset = len(self.data)
        body = b"".join(packets)
        self.data += rmfile.chunk_header(b"DATA", 18 + len(body))
        self.data += struct.pack(">II", 0 if live else len(packets), 0) + body
        self.packets, pos = [], self.data_offset + 18
        for p in packets:
            self.packets.append(pos)
            pos += len(p)
        self.indexes = []
        for stream, every in indexed:
            self.add_index(stream, every)
        self.tail = len(self.data)
        self.data += bytes(8)
        self.fill_prop(clip, mdprs, packets)

    def packet(self, i):
        return struct.unpack_from(">HHHI", self.data, self.packets[i])

    def add_index(self, stream, every):
        own = [i for i in range(len(self.packets)) if self.packet(i)[2] == stream]
        records = [(self.packet(i)[3], self.packets[i], i) for i in own[::every]] if every else []
        if self.indexes:
            struct.pack_into(">I", self.data, self.indexes[-1] + 16, len(self.data))
        self.indexes.append(len(self.data))
        self.data += rmfile.index_chunk(stream, records)

    def fill_prop(self, clip, mdprs, packets):
        payloads = [len(p) - (12 if p[1] == 0 else 13) for p in packets]
        rates = [sum(struct.unpack_from(">I", m, off)[0] for m in mdprs) for off in (12, 16)]
        prop = struct.pack(">IIIIIIIIIHH", *rates, max(payloads), sum(payloads) // len(payloads),
                           len(packets), clip.prop["duration"], clip.prop["preroll"],
                           self.indexes[0] if self.indexes else 0, self.data_offset, len(mdprs),
                           clip.prop["flags"])
        self.data[self.prop : self.prop + 50] = rmfile.chunk_header(b"PROP", 50) + prop

    def patched(self, offset, fmt, *values):
        data = bytearray(self.data)
        struct.pack_into(fmt, data, offset, *values)
        return bytes(data)


def media_packets(clip, renumber, versions=None):
    versions = versions or {}
    return [rmfile.packet_bytes(renumber[p.stream], p.timestamp, p.payload, p.tail[1],
                                versions.get(p.stream, 0))
            for p in clip.packets()]


def with_events(clip, media, streams, version=0):
    """Puts each event just before the first media packet with a later timestamp.

    `streams` maps an event stream number to its events; events of several streams that land
    at one place keep their time order."""
    times = [p.timestamp for p in clip.packets()]
    placed = []
    for stream, events in streams.items():
        for seq, (start, stop, text) in enumerate(events):
            at = next((i for i, t in enumerate(times) if t > start * 100), len(times))
            payload = rmfile.event_payload(seq, start, stop, text)
            placed.append((at, start, rmfile.packet_bytes(stream, start * 100, payload, 2, version)))
    out = list(media)
    for at, _, packet in sorted(placed, key=lambda p: (p[0], p[1]), reverse=True):
        out.insert(at, packet)
    return out


def build_layout(clip, order, event_version=0):
    """The clip's streams in `order`, with event streams and logical streams among them.

    Kinds: video, audio (the clip's own), event and event2 (URL event streams), audio-group and
    event-group (logical streams naming the audio or the first event stream), fileinfo. Every
    stream but the logical groups gets an INDX, in stream order."""
    number = {kind: i for i, kind in enumerate(order)}
    event_sets = {"event": EVENTS, "event2": EVENTS2}
    mdprs = []
    for i, kind in enumerate(order):
        if kind in ("video", "audio"):
            mdprs.append(with_stream(clip.mdprs[0 if kind == "video" else 1].raw, i))
        elif kind in event_sets:
            events = event_sets[kind]
            mdprs.append(rmfile.event_mdpr(i, [14 + len(t) for _, _, t in events],
                                           events[-1][0] * 100))
        elif kind == "audio-group":
            mdprs.append(logical_mdpr(i, AUDIO_GROUP_MIME, [number["audio"]]))
        elif kind == "event-group":
            mdprs.append(logical_mdpr(i, EVENT_GROUP_MIME, [number["event"]]))
        else:
            mdprs.append(logical_mdpr(i, b"logical-fileinfo", [], [(b"Indexable", 1)]))
    media = media_packets(clip, {0: number["video"], 1: number["audio"]})
    packets = with_events(clip, media, {number[k]: v for k, v in event_sets.items() if k in number},
                          event_version)
    every = {"video": 1, "audio": 10, "event": 1, "event2": 1, "fileinfo": 0}
    return Built(clip, mdprs, packets, [(number[k], every[k]) for k in order if k in every])


def build_events(clip, group="audio-group"):
    return build_layout(clip, ["video", "event", "audio", group, "fileinfo"])


def build_plain(clip, indexed=(), split=None, audio_version=0):
    """The clip with exact sizes; `split` moves packets from that ordinal on into a second DATA."""
    packets = media_packets(clip, {0: 0, 1: 1}, {1: audio_version})
    built = Built(clip, [m.raw for m in clip.mdprs], packets, indexed)
    if split is None:
        return built
    assert not indexed, "a second DATA chunk would move the indexed packets"
    data = bytearray(built.data[: built.packets[split]])
    first = built.data_offset
    second = len(data)
    body = built.data[built.packets[split] : built.tail]
    count = len(built.packets) - split
    data += rmfile.chunk_header(b"DATA", 18 + len(body)) + struct.pack(">II", count, 0) + body
    struct.pack_into(">IHII", data, first + 4, second - first, 0, split, second)
    built.data = data + bytes(8)
    built.second_data = second
    return built


def chunk_names(built):
    names = ["rmf", "prop", "cont"] + [f"mdpr_{n}" for n in ("video", "event", "audio", "group",
                                                             "fileinfo")]
    names += ["data"] + [f"indx_{n}" for n in ("video", "event", "audio", "fileinfo")]
    starts = [built.rmf, built.prop, built.cont] + built.mdprs + [built.data_offset]
    return list(zip(names, starts + built.indexes, starts[1:] + built.indexes + [built.tail]))


def truncations(ev):
    """Cuts inside every chunk header and at every chunk boundary, plus two inside DATA."""
    out = []
    chunks = chunk_names(ev)
    # A cut after the first complete packet is repaired: every complete packet is kept.
    for name, start, end in chunks:
        after_packets = "repaired" if name.startswith("indx") else "fail"
        out.append((f"trunc_in_{name}_header", ev.data[: start + 6], after_packets, "fail",
                    f"ends 6 bytes into the {name} chunk header"))
        if end != ev.tail:
            after_data = "repaired" if name == "data" or name.startswith("indx") else "fail"
            out.append((f"trunc_after_{name}", ev.data[:end], after_data, "fail",
                        f"ends right after the {name} chunk"))
    out.append(("trunc_after_3_packets", ev.data[: ev.packets[3]], "repaired", "fail",
                "ends after 3 of the packets DATA.num_packets promises"))
    out.append(("trunc_in_packet", ev.data[: ev.packets[3] + 30], "repaired", "fail",
                "ends inside the 4th packet"))
    return out


def mdpr_field(ev, index, after_mime=False, mime_len=False):
    """Offset of the name length, MIME length or type-specific length of an MDPR."""
    at = ev.mdprs[index] + 40
    if mime_len or after_mime:
        at += 1 + ev.data[at]
    if after_mime:
        at += 1 + ev.data[at]
    return at


def patches(ev, two_data):
    video, event, audio, group = ev.mdprs[:4]
    first_event = next(i for i in range(len(ev.packets)) if ev.packet(i)[2] == 1)
    event_payload = ev.packets[first_event] + 12
    group_numbers = group + 40 + 1 + 1 + len(AUDIO_GROUP_MIME) + 4 + 8
    f, a = "fail", "any"
    return [
        ("rmf_magic", ev.patched(0, "4s", b".RMG"), f, f, "first FOURCC is .RMG"),
        ("rmf_size_huge", ev.patched(4, ">I", 0xFFFFFFF0), f, f, ".RMF size 0xFFFFFFF0"),
        ("rmf_size_small", ev.patched(4, ">I", 4), f, f, ".RMF size 4, smaller than its header"),
        ("prop_size_zero", ev.patched(ev.prop + 4, ">I", 0), f, f,
         "PROP size 0: a walker that adds sizes never moves"),
        ("prop_size_huge", ev.patched(ev.prop + 4, ">I", 0x7FFFFFFF), f, f,
         "PROP size runs far past the end of the file"),
        ("prop_size_short", ev.patched(ev.prop + 4, ">I", 30), f, f,
         "PROP size 30: its fields overrun the chunk and the next chunk starts mid-PROP"),
        ("cont_size_zero", ev.patched(ev.cont + 4, ">I", 0), f, f, "CONT size 0"),
        ("cont_title_overrun", ev.patched(ev.cont + 10, ">H", 0xFFFF), a, a,
         "CONT title length 65535 overruns CONT; CONT is copied unread, so either outcome"),
        ("unknown_chunk_size_zero", ev.patched(ev.cont, ">4sI", b"XTRA", 0), f, f,
         "unknown header chunk XTRA (in place of CONT) with size 0"),
        ("mdpr_size_zero", ev.patched(video + 4, ">I", 0), f, f, "video MDPR size 0"),
        ("mdpr_size_overrun", ev.patched(event + 4, ">I", 0x10000), f, f,
         "event MDPR size 65536 runs past the end of the file"),
        ("mdpr_name_overrun", ev.patched(mdpr_field(ev, 0), "B", 255), f, f,
         "video MDPR stream name length 255 overruns the chunk"),
        ("mdpr_mime_overrun", ev.patched(mdpr_field(ev, 1, mime_len=True), "B", 255), f, f,
         "event MDPR MIME length 255 overruns the chunk"),
        ("mdpr_type_specific_huge", ev.patched(mdpr_field(ev, 0, True), ">I", 0xFFFFFFFF), f, f,
         "video MDPR type-specific length 0xFFFFFFFF"),
        ("mdpr_stream_duplicate", ev.patched(audio + 10, ">H", 0), f, f,
         "audio MDPR claims stream 0, which video already has"),
        ("logical_count_huge", ev.patched(group_numbers - 2, ">H", 0xFFFF), f, a,
         "logical audio group claims 65535 physical streams (a dump need not read it)"),
        ("logical_stream_unknown", ev.patched(group_numbers, ">H", 9), f, a,
         "logical audio group names physical stream 9, which does not exist (a dump need not "
         "read it)"),
        ("data_num_packets_huge", ev.patched(ev.data_offset + 10, ">I", 0xFFFFFFFF), f, f,
         "DATA.num_packets 0xFFFFFFFF"),
        ("data_next_self", ev.patched(ev.data_offset + 14, ">I", ev.data_offset), f, f,
         "DATA.next_data_header points at the same DATA chunk: a loop"),
        ("data_next_loop", two_data.patched(two_data.second_data + 14, ">I",
                                            two_data.data_offset), f, f,
         "two DATA chunks whose next pointers form a loop (second points back at the first)"),
        ("data_next_past_eof", ev.patched(ev.data_offset + 14, ">I", len(ev.data) + 100), f, f,
         "DATA.next_data_header beyond the end of the file"),
        ("data_next_at_indx", ev.patched(ev.data_offset + 14, ">I", ev.indexes[0]), f, f,
         "DATA.next_data_header points at an INDX chunk"),
        ("packet_length_zero", ev.patched(ev.packets[3] + 2, ">H", 0), f, f,
         "4th packet length 0: a walker that adds lengths never moves"),
        ("packet_length_short", ev.patched(ev.packets[3] + 2, ">H", 5), f, f,
         "4th packet length 5, shorter than its own header"),
        ("packet_length_overrun", ev.patched(ev.packets[-1] + 2, ">H", 0xFFFF), f, f,
         "last packet length 65535 runs past DATA and the file"),
        ("packet_version_7", ev.patched(ev.packets[3], ">H", 7), f, f,
         "4th packet header version 7 (only 0 and 1 exist)"),
        ("packet_stream_unknown", ev.patched(ev.packets[3] + 4, ">H", 9), f, f,
         "4th packet belongs to stream 9, which has no MDPR"),
        ("event_text_overrun", ev.patched(event_payload + 10, ">H", 0xFFFF), a, a,
         "first event's string length field 65535 overruns its packet; stripping need not "
         "read it, a dump may skip the event and say so"),
        ("event_text_length_1", ev.patched(event_payload + 10, ">H", 1), a, a,
         "first event's length field 1 (it counts the 2-byte type, so less than 2 is impossible)"),
        ("indx_num_huge", ev.patched(ev.indexes[0] + 10, ">I", 0x0FFFFFFF), "repaired", f,
         "video INDX num_indices 0x0FFFFFFF"),
        ("indx_stream_unknown", ev.patched(ev.indexes[1] + 14, ">H", 9), f, f,
         "event INDX names stream 9"),
        ("indx_record_off_packet", ev.patched(ev.indexes[2] + 20 + 6, ">I",
                                              ev.packets[0] + 1), "repaired", f,
         "first audio INDX record points one byte into a packet"),
        ("indx_next_self", ev.patched(ev.indexes[0] + 16, ">I", ev.indexes[0]), f, f,
         "first INDX points at itself as the next INDX: a loop"),
        ("indx_next_loop", ev.patched(ev.indexes[3] + 16, ">I", ev.indexes[1]), f, f,
         "last INDX points back at the second: a loop through three chunks"),
        ("indx_next_past_eof", ev.patched(ev.indexes[1] + 16, ">I", len(ev.data) + 100), f, f,
         "INDX next pointer beyond the end of the file"),
        ("indx_next_at_data", ev.patched(ev.indexes[1] + 16, ">I", ev.data_offset), f, f,
         "INDX next pointer at the DATA chunk"),
        ("index_offset_past_eof", ev.patched(ev.prop + 38, ">I", len(ev.data) + 100), a, a,
         "PROP.index_offset beyond the end of the file (the INDX chain itself is intact)"),
        ("index_offset_in_packets", ev.patched(ev.prop + 38, ">I", ev.packets[5]), a, a,
         "PROP.index_offset points at a packet, not at INDX"),
        ("data_offset_wrong", ev.patched(ev.prop + 42, ">I", ev.cont), a, a,
         "PROP.data_offset points at CONT, not at DATA"),
        ("num_headers_zero", ev.patched(14, ">I", 0), a, a,
         ".RMF num_headers 0; a tool that subtracts the dropped stream must not wrap"),
        ("num_headers_huge", ev.patched(14, ">I", 0xFFFFFFFF), a, a, ".RMF num_headers 0xFFFFFFFF"),
        ("num_streams_huge", ev.patched(ev.prop + 46, ">H", 0xFFFF), a, a,
         "PROP.num_streams 65535 with 5 MDPRs"),
        ("file_version_2", ev.patched(10, ">I", 2), a, a,
         ".RMF file_version 2 (the reference player takes only 0 and 1)"),
    ]


def valid_files(clip_bytes, ev, clip):
    events = len(EVENTS)
    plain_indexed = build_plain(clip, indexed=[(0, 1), (1, 10)])
    live = bytearray(ev.data)
    struct.pack_into(">I", live, ev.data_offset + 10, 0)
    return [
        ("clip", clip_bytes, "copy", "ok 0", "ffmpeg's own clip: DATA.size 18 too large, 8 zero "
         "bytes at the end, no INDX"),
        ("clip_no_tail", clip_bytes[:-8], "copy", "ok 0",
         "ffmpeg's clip without its 8-byte tail (the tail is optional)"),
        ("events", ev.data, "ok", f"ok {events}",
         "the clip with a URL event stream between video and audio, a logical audio group and "
         "logical-fileinfo after it, an INDX per stream (fileinfo's empty), exact sizes"),
        ("events_no_tail", ev.data[: ev.tail], "ok", f"ok {events}",
         "events.rm ending right after its last INDX"),
        ("events_live_count", bytes(live), "ok", f"ok {events}",
         "events.rm with DATA.num_packets 0, as live files have: packets run up to the INDX"),
        ("events_indx_size_20", ev.patched(ev.indexes[0] + 4, ">I", 20), "ok", f"ok {events}",
         "events.rm with video INDX.size 20 although it has records (a known writer quirk)"),
        ("events_unknown_chunk", ev.patched(ev.cont, "4s", b"XTRA"), "ok", f"ok {events}",
         "events.rm with CONT renamed XTRA: an unknown header chunk to copy as it is"),
        ("plain_exact", build_plain(clip).data, "copy", "ok 0",
         "the clip with exact DATA.size and PROP packet sizes"),
        ("plain_two_data", build_plain(clip, split=20).data, "copy", "ok 0",
         "the clip with its packets in two chained DATA chunks"),
        ("plain_indexed", plain_indexed.data, "copy", "ok 0",
         "the clip with INDX chunks for video and audio"),
        ("plain_packet_v1", build_plain(clip, audio_version=1).data, "copy", "ok 0",
         "the clip with every audio packet in the 13-byte version 1 header"),
        ("events_event_group", build_events(clip, "event-group").data, "ok", f"ok {events}",
         "events.rm whose logical group is a realevent group naming only the event stream: it "
         "goes with the events"),
        ("events_first", build_layout(clip, ["event", "video", "audio", "fileinfo"]).data, "ok",
         f"ok {events}", "the event stream is stream 0, so every other stream moves down"),
        ("events_two_streams", build_layout(clip, ["video", "event", "audio", "event2"]).data,
         "ok", f"ok {2 * events}", "two event streams (as merging an events-only clip makes), "
         "their packets interleaved by time"),
        ("events_v1_packets", build_layout(clip, ["video", "event", "audio"], 1).data, "ok",
         f"ok {events}", "event packets in the 13-byte version 1 header"),
    ]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "rm")
    os.makedirs(out, exist_ok=True)
    clip_bytes = make_clip()
    clip = rmfile.parse(clip_bytes)
    ev = build_events(clip)
    rmfile.parse(bytes(ev.data), quirks=False)  # the base of most files must itself be sound
    two_data = build_plain(clip, split=20)
    entries = valid_files(clip_bytes, ev, clip) + truncations(ev) + patches(ev, two_data)
    entries += [
        ("empty", b"", "fail", "fail", "an empty file"),
        ("text", b"u 1 2 http://example.com/\r\nThis is an events file, not a film.\r\n",
         "fail", "fail", "a text file"),
        ("riff", b"RIFF" + struct.pack("<I", 36) + b"WAVEfmt " + bytes(28), "fail", "fail",
         "the start of a WAV file"),
    ]
    write(out, entries)


def write(out, entries):
    for name in os.listdir(out):
        if name.endswith(".rm"):
            os.remove(os.path.join(out, name))
    rows = []
    with open(os.path.join(out, "expected.txt"), "w", newline="\n") as table:
        table.write("# file strip dump   (written by make_rm_corpus.py; see README.md)\n")
        for name, data, strip, dump, what in entries:
            with open(os.path.join(out, name + ".rm"), "wb") as f:
                f.write(data)
            table.write(f"{name}.rm {strip} {dump.replace(' ', ':')}\n")
            rows.append(f"| `{name}.rm` | {len(data)} | {strip} | {dump} | {what} |")
    with open(os.path.join(out, "README.md"), "w", newline="\n") as readme:
        readme.write(README.format(table="\n".join(rows), count=len(entries)))


README = """# RealMedia input corpus

{count} small files that `rmevents` must survive. Written by `../make_rm_corpus.py` (run it again
with `python3 tests/corpus/make_rm_corpus.py` after changing it; it needs Debian's `ffmpeg`).
The replay test `tests/rmcli/corpus_replay.sh` runs `rmevents -i FILE -o OUT -e EVENTS` with an
events file holding only `rem`, and `rmevents -i FILE -d NAME`, on every file here.

How they were made: ffmpeg encodes a 1-second 64x48 RV10 clip at 5 fps with real_144 audio
(`clip.rm`, 56 packets). The script then assembles `events.rm` from the clip's own chunks and
packets: stream 0 video, 1 a URL event stream (two events), 2 audio, 3 a
`logical-audio/x-pn-multirate-realaudio` group naming stream 2, 4 `logical-fileinfo`; every size
exact; an INDX chunk per stream in the order video, event, audio, fileinfo (the last one empty).
Nearly every other file is `events.rm` cut short or patched in one field, so stripping it would
have to renumber streams, patch the logical group and rewrite INDX, and the fault sits on that
path rather than being rejected early.

Columns: **strip** is what the replace run with an empty events list must do, **dump** what the
dump run must do:
- `copy`: exit 0, OUT byte-identical to the input (no event stream, nothing to add);
- `ok`: exit 0 and OUT a sound RealMedia file without events (checked by `tests/rmcli/rm_check.py`);
- `ok N`: exit 0 and a dump with N event lines;
- `repaired`: exit 8 (success with a repair: a film cut short, or an index rebuilt) and OUT a
  sound RealMedia file without events;
- `fail`: a non-zero exit and no OUT (nor any temporary file) left behind;
- `any`: the file is damaged in a place the tool need not read (or may repair); either outcome
  is right, but a 0 exit must come with a sound OUT.
Every run must end within the test's time limit, without a signal and without a sanitizer report.
`expected.txt` holds the same two columns for the test script.

| file | bytes | strip | dump | what it holds or breaks |
|---|---|---|---|---|
{table}
"""


if __name__ == "__main__":
    main()
