#!/usr/bin/env python3
"""Independent checks of what rmevents writes, for the command-line tests.

  rm_check.py check FILE [--quirks]   validate a RealMedia file, print a summary
  rm_check.py events TEXTFILE         print an events text file as `flag start_ds end_ds text`
  rm_check.py same-but-data-size ORIGINAL COPY
                                      ORIGINAL (FFmpeg's, DATA.size 18 too large) equals COPY in
                                      every byte except that field, which COPY holds correctly

`check` demands exact chunk sizes unless --quirks is given (for FFmpeg's own files), and prints
  num_headers N / streams N / stream I MIME PACKETS / logical I MIME -> MIMES /
  event SEQ START_DS STOP_DS CODE TEXT (or "no events")
so the shell scripts can compare files without parsing binary data themselves.
"""

import re
import sys
from decimal import Decimal, InvalidOperation

import rmfile
from rmfile import RmError


def check_streams(rm):
    # The reference player reads at most num_headers chunks before DATA.
    if rm.num_headers < len(rm.headers) + 1:
        raise RmError(f".RMF num_headers {rm.num_headers} < {len(rm.headers)} header chunks + 1")
    n = len(rm.mdprs)
    if rm.prop["num_streams"] != n:
        raise RmError(f"PROP.num_streams {rm.prop['num_streams']}, {n} MDPR chunks")
    numbers = [m.stream for m in rm.mdprs]
    if numbers != list(range(n)):
        raise RmError(f"stream numbers {numbers} are not 0..{n - 1} in order")
    for key in ("max_bit_rate", "avg_bit_rate"):
        total = sum(getattr(m, key) for m in rm.mdprs)
        if rm.prop[key] != total:
            raise RmError(f"PROP.{key} {rm.prop[key]}, MDPRs sum to {total}")


def check_packets(rm):
    packets = list(rm.packets())
    counted = sum(c.num_packets for c in rm.data_chunks)
    if counted != rm.prop["num_packets"] or counted != len(packets):
        raise RmError(f"PROP.num_packets {rm.prop['num_packets']}, DATA chunks hold {counted}")
    bad = [p.offset for p in packets if p.stream >= len(rm.mdprs)]
    if bad:
        raise RmError(f"packets at {bad[:5]} name a stream that does not exist")
    if packets:
        sizes = [len(p.payload) for p in packets]
        mean = sum(sizes) / len(sizes)
        if rm.prop["avg_packet_size"] not in (int(mean), int(mean + 0.5)):
            raise RmError(f"PROP.avg_packet_size {rm.prop['avg_packet_size']}, mean is {mean:.2f}")
        if rm.prop["max_packet_size"] < max(sizes):
            raise RmError(f"PROP.max_packet_size {rm.prop['max_packet_size']} < {max(sizes)}")
    return packets


def check_indexes(rm, packets):
    ordinal = {p.offset: (i, p) for i, p in enumerate(packets)}
    if rm.data[rm.tail_offset : rm.tail_offset + 4] == b"INDX":
        raise RmError(f"an INDX at {rm.tail_offset} is not reachable from PROP.index_offset")
    for chunk in rm.index_chunks:
        if chunk.stream >= len(rm.mdprs):
            raise RmError(f"INDX at {chunk.offset} names stream {chunk.stream}")
        for timestamp, offset, number in chunk.records:
            if offset not in ordinal:
                raise RmError(f"INDX at {chunk.offset} points at {offset}, not a packet")
            i, p = ordinal[offset]
            if (i, p.stream, p.timestamp) != (number, chunk.stream, timestamp):
                raise RmError(f"INDX record ({timestamp}, {offset}, {number}) of stream "
                              f"{chunk.stream} does not match packet {i} (stream {p.stream}, "
                              f"time {p.timestamp})")


def check_events(rm, packets):
    """Event streams must look like the ones RealProducer writes (reference sections 7.2, 7.3)."""
    lines = []
    for m in rm.mdprs:
        if m.mime not in rmfile.EVENT_MIMES or m.mime.startswith(b"logical-"):
            continue
        own = [p for p in packets if p.stream == m.stream]
        where = f"event stream {m.stream}"
        if not own:
            raise RmError(f"{where} has no packets")
        if (m.name, m.type_specific, m.max_bit_rate, m.avg_bit_rate, m.start_time, m.preroll,
                len(m.raw)) != (b"", b"", 200, 200, 0, 0, 72):
            raise RmError(f"{where}: MDPR fields differ from a RealProducer event stream")
        sizes = [len(p.payload) for p in own]
        if m.max_packet_size != max(sizes) or m.avg_packet_size not in (
                sum(sizes) // len(sizes), round(sum(sizes) / len(sizes))):
            raise RmError(f"{where}: MDPR packet sizes {m.max_packet_size}/{m.avg_packet_size}")
        for seq, p in enumerate(own):
            pay = p.payload
            if p.version != 0 or p.tail != b"\x00\x02" or len(pay) < 14:
                raise RmError(f"event packet at {p.offset}: header or size not as written")
            number, start, stop, length, code = (rmfile.u16(pay, 0), rmfile.u32(pay, 2),
                                                 rmfile.u32(pay, 6), rmfile.u16(pay, 10),
                                                 rmfile.u16(pay, 12))
            if number != seq or p.timestamp != start * 100 or length != len(pay) - 12:
                raise RmError(f"event packet at {p.offset}: sequence {number}, time "
                              f"{p.timestamp} ms for {start} ds, length field {length}")
            lines.append(f"event {number} {start} {stop} {code:04x} "
                         + pay[14:].decode("utf-8", "backslashreplace"))
        if m.duration != own[-1].timestamp:
            raise RmError(f"{where}: MDPR duration {m.duration}, last event at {own[-1].timestamp}")
        event_streams = {e.stream for e in rm.mdprs if e.mime in rmfile.EVENT_MIMES}
        check_placement(own, [p for p in packets if p.stream not in event_streams], packets)
        indexes = [c for c in rm.index_chunks if c.stream == m.stream]
        if len(indexes) != 1 or len(indexes[0].records) != len(own):
            raise RmError(f"{where}: expected one INDX with {len(own)} records")
    return lines


def check_logical(rm):
    """The stream numbers inside logical streams must name existing physical streams."""
    physical = {m.stream for m in rm.mdprs if not m.mime.startswith(b"logical-")}
    lines = []
    for m in rm.mdprs:
        if not m.mime.startswith(b"logical-"):
            continue
        ts, where = m.type_specific, f"logical stream {m.stream}"
        if len(ts) < 10 or rmfile.u32(ts, 0) != len(ts):
            raise RmError(f"{where}: LogicalStream size does not fill its type-specific data")
        n = rmfile.u16(ts, 6)
        rules_at = 8 + 6 * n
        if rules_at + 2 > len(ts) or rules_at + 4 + 2 * rmfile.u16(ts, rules_at) > len(ts):
            raise RmError(f"{where}: stream or rule tables overrun the LogicalStream")
        numbers = [rmfile.u16(ts, 8 + 2 * i) for i in range(n)]
        rules = [rmfile.u16(ts, rules_at + 2 + 2 * i) for i in range(rmfile.u16(ts, rules_at))]
        if not set(numbers + rules) <= physical:
            raise RmError(f"{where} names streams {numbers}/{rules}; physical are {physical}")
        mimes = [rm.mdprs[s].mime.decode("latin-1") for s in numbers]
        lines.append(f"logical {m.stream} {m.mime.decode('latin-1')} -> {' '.join(mimes)}")
    return lines


def check_placement(events, media, packets):
    """Each event sits just before the first media packet with a larger timestamp."""
    position = {p.offset: i for i, p in enumerate(packets)}
    for e in events:
        before = sum(1 for p in media if position[p.offset] < position[e.offset])
        wanted = next((j for j, p in enumerate(media) if p.timestamp > e.timestamp), len(media))
        if before != wanted:
            raise RmError(f"event at {e.timestamp} ms follows {before} media packets, "
                          f"expected {wanted}")


def cmd_check(path, quirks):
    with open(path, "rb") as f:
        rm = rmfile.parse(f.read(), quirks=quirks)
    check_streams(rm)
    packets = check_packets(rm)
    check_indexes(rm, packets)
    events = check_events(rm, packets)
    logical = check_logical(rm)
    print(f"num_headers {rm.num_headers}")
    print(f"streams {len(rm.mdprs)}")
    for m in rm.mdprs:
        count = sum(1 for p in packets if p.stream == m.stream)
        print(f"stream {m.stream} {m.mime.decode('latin-1')} {count}")
    print("\n".join(logical + (events or ["no events"])))


TIME = re.compile(r"^(?:(?:(?:(\d+):)?(\d+):)?(\d+):)?(\d+(?:\.\d+)?)$")


def deciseconds(text, where):
    m = TIME.match(text)
    if not m:
        raise RmError(f"{where}: bad time {text!r}")
    days, hours, minutes = (int(g) if g else 0 for g in m.groups()[:3])
    try:
        tenths = Decimal(m.group(4)) * 10
    except InvalidOperation:
        raise RmError(f"{where}: bad time {text!r}") from None
    if tenths != tenths.to_integral_value():
        raise RmError(f"{where}: {text!r} is finer than a tenth of a second")
    return int(tenths) + 10 * (60 * (60 * (24 * days + hours) + minutes))


def cmd_events(path):
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    for number, raw in enumerate(lines, 1):
        line = raw.rstrip(b"\r").strip(b" \t")
        words = line.split(None, 3)
        if not words or line.startswith(b"#") or words[0].lower() == b"rem":
            continue
        where = f"{path}:{number}"
        if len(words) < 4:
            raise RmError(f"{where}: expected `flag start end text`")
        flag, start, stop, text = (w.decode("utf-8", "backslashreplace") for w in words)
        print(f"{flag} {deciseconds(start, where)} {deciseconds(stop, where)} {text}")


PROP_FIELDS = [(10, "max_bit_rate"), (14, "avg_bit_rate"), (18, "max_packet_size"),
               (22, "avg_packet_size"), (26, "num_packets"), (30, "duration"), (34, "preroll"),
               (38, "index_offset"), (42, "data_offset"), (46, "num_streams"), (48, "flags")]


def describe_offset(rm, offset):
    """Names the chunk (and for PROP the field) that holds a byte, for readable failures."""
    for fourcc, start, raw in [(b".RMF", 0, rm.data[:18])] + rm.headers:
        if start <= offset < start + len(raw):
            names = [name for at, name in PROP_FIELDS if at <= offset - start]
            field = f".{names[-1]}" if fourcc == b"PROP" and names else ""
            return f"{fourcc.decode('latin-1')}{field}, {offset - start} bytes into the chunk"
    for chunk in rm.data_chunks:
        if chunk.offset <= offset < chunk.end:
            return f"DATA at {chunk.offset}"
    return "after the DATA chunks"


def cmd_same_but_data_size(original_path, copy_path):
    with open(original_path, "rb") as f:
        original = f.read()
    with open(copy_path, "rb") as f:
        copy = f.read()
    rm = rmfile.parse(original, quirks=True)
    rmfile.parse(copy, quirks=False)
    field = rm.prop["data_offset"] + 4
    if len(original) != len(copy):
        raise RmError(f"lengths differ: {len(original)} and {len(copy)}")
    differing = [i for i in range(len(original)) if original[i] != copy[i]]
    outside = [i for i in differing if not field <= i < field + 4]
    if outside:
        raise RmError(f"{len(outside)} bytes differ outside DATA.size, the first at {outside[0]} "
                      f"({describe_offset(rm, outside[0])})")
    have, want = rmfile.u32(copy, field), rm.data_chunks[0].end - rm.data_chunks[0].offset
    if have != want:
        raise RmError(f"DATA.size of the copy is {have}, its packets take {want}")
    print(f"identical except DATA.size at {field}: {rmfile.u32(original, field)} -> {have}")


def main(argv):
    try:
        if len(argv) >= 3 and argv[1] == "check":
            cmd_check(argv[2], "--quirks" in argv[3:])
        elif len(argv) == 3 and argv[1] == "events":
            cmd_events(argv[2])
        elif len(argv) == 4 and argv[1] == "same-but-data-size":
            cmd_same_but_data_size(argv[2], argv[3])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except (RmError, OSError) as e:
        print(f"rm_check: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
