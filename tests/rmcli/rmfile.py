"""A small, strict RealMedia reader and chunk builder for the command-line tests.

It is deliberately written apart from the C++ library in rm/: the tests use it to check what
rmevents writes, so sharing code with the tool would let one mistake hide itself. It reads the
whole file into memory, which is fine for test clips of a few hundred kilobytes.

Tolerated on input, as FFmpeg writes them: DATA.size 18 bytes too large, INDX.size 20 with
records, an opaque tail after the last chunk. Everything else that does not add up raises RmError.
"""

import struct
from dataclasses import dataclass, field

EVENT_MIMES = {
    b"application/x-pn-realevent",
    b"application/x-pn-realevent-encrypted",
    b"application/x-pn-multirate-realevent",
    b"application/x-pn-multirate-realevent-encrypted",
    b"logical-application/x-pn-multirate-realevent",
    b"logical-application/x-pn-multirate-realevent-encrypted",
}
DATA_HEADER = 18
INDX_HEADER = 20
INDX_RECORD = 14


class RmError(Exception):
    pass


@dataclass
class Packet:
    offset: int  # absolute offset of the packet header
    version: int
    length: int
    stream: int
    timestamp: int
    tail: bytes  # v0: packet_group + flags; v1: asm_rule + asm_flags
    payload: bytes

    @property
    def header_size(self):
        return 12 if self.version == 0 else 13


@dataclass
class DataChunk:
    offset: int
    size: int
    num_packets: int
    next_offset: int
    packets: list = field(default_factory=list)

    @property
    def end(self):
        last = self.packets[-1] if self.packets else None
        return last.offset + last.length if last else self.offset + DATA_HEADER


@dataclass
class IndexChunk:
    offset: int
    size: int
    stream: int
    next_offset: int
    records: list = field(default_factory=list)  # (timestamp, offset, packet_number)


@dataclass
class Mdpr:
    offset: int
    raw: bytes
    stream: int
    max_bit_rate: int
    avg_bit_rate: int
    max_packet_size: int
    avg_packet_size: int
    start_time: int
    preroll: int
    duration: int
    name: bytes
    mime: bytes
    type_specific: bytes


@dataclass
class RmFile:
    data: bytes
    rmf_version: int
    file_version: int
    num_headers: int
    headers: list  # (fourcc, offset, raw bytes) for every chunk between .RMF and the first DATA
    prop: dict
    mdprs: list
    data_chunks: list
    index_chunks: list
    tail_offset: int

    def packets(self):
        for chunk in self.data_chunks:
            yield from chunk.packets


def u16(b, off):
    return struct.unpack_from(">H", b, off)[0]


def u32(b, off):
    return struct.unpack_from(">I", b, off)[0]


def need(data, off, count, what):
    if off < 0 or off + count > len(data):
        raise RmError(f"{what} at {off} runs past the end of the file ({len(data)} bytes)")


def parse_mdpr(raw, offset):
    if len(raw) < 46:
        raise RmError(f"MDPR at {offset} is only {len(raw)} bytes")
    values = struct.unpack_from(">HIIIIIII", raw, 10)
    pos = 40
    name_len = raw[pos]
    name = raw[pos + 1 : pos + 1 + name_len]
    pos += 1 + name_len
    if pos >= len(raw):
        raise RmError(f"MDPR at {offset}: stream name overruns the chunk")
    mime_len = raw[pos]
    mime = raw[pos + 1 : pos + 1 + mime_len]
    pos += 1 + mime_len
    if pos + 4 > len(raw):
        raise RmError(f"MDPR at {offset}: MIME type overruns the chunk")
    ts_len = u32(raw, pos)
    pos += 4
    if pos + ts_len != len(raw):
        raise RmError(f"MDPR at {offset}: type-specific data ({ts_len}) does not fill the chunk")
    return Mdpr(offset, raw, *values, name, mime, raw[pos : pos + ts_len])


def parse_packets(data, chunk):
    pos = chunk.offset + DATA_HEADER
    for _ in range(chunk.num_packets):
        need(data, pos, 12, "packet header")
        version, length, stream, timestamp = struct.unpack_from(">HHHI", data, pos)
        if version not in (0, 1):
            raise RmError(f"packet at {pos} has version {version}")
        header = 12 if version == 0 else 13
        if length < header:
            raise RmError(f"packet at {pos} is shorter ({length}) than its header")
        need(data, pos, length, "packet")
        chunk.packets.append(
            Packet(pos, version, length, stream, timestamp, data[pos + 10 : pos + header],
                   data[pos + header : pos + length]))
        pos += length


def chain(data, first, fourcc, header_size):
    """Yields the offsets of a chain of DATA or INDX chunks, each checked to be there."""
    seen, offset = set(), first
    while offset:
        if offset in seen:
            raise RmError(f"{fourcc.decode()} chain loops back to {offset}")
        seen.add(offset)
        need(data, offset, header_size, f"{fourcc.decode()} header")
        if data[offset : offset + 4] != fourcc:
            raise RmError(f"expected {fourcc.decode()} at {offset}")
        offset = yield offset


def parse_data_chain(data, first, quirks):
    chunks = []
    walk = chain(data, first, b"DATA", DATA_HEADER)
    offset = next(walk, None)
    while offset is not None:
        size, num, nxt = u32(data, offset + 4), u32(data, offset + 10), u32(data, offset + 14)
        chunk = DataChunk(offset, size, num, nxt)
        parse_packets(data, chunk)
        exact = chunk.end - offset
        if size != exact and not (quirks and size == exact + 18):
            raise RmError(f"DATA at {offset}: size {size}, packets end after {exact} bytes")
        chunks.append(chunk)
        offset = send(walk, nxt)
    return chunks


def parse_index_chain(data, first, quirks):
    chunks = []
    walk = chain(data, first, b"INDX", INDX_HEADER)
    offset = next(walk, None)
    while offset is not None:
        size, num = u32(data, offset + 4), u32(data, offset + 10)
        stream, nxt = u16(data, offset + 14), u32(data, offset + 16)
        exact = INDX_HEADER + INDX_RECORD * num
        if size != exact and not (quirks and size == INDX_HEADER):
            raise RmError(f"INDX at {offset}: size {size} but {num} records")
        need(data, offset, exact, "INDX records")
        chunk = IndexChunk(offset, size, stream, nxt)
        for i in range(num):
            rec = offset + INDX_HEADER + INDX_RECORD * i
            if u16(data, rec) != 0:
                raise RmError(f"INDX record at {rec} has version {u16(data, rec)}")
            chunk.records.append(struct.unpack_from(">III", data, rec + 2))
        chunks.append(chunk)
        offset = send(walk, nxt)
    return chunks


def send(walk, value):
    try:
        return walk.send(value)
    except StopIteration:
        return None


def parse(data, quirks=True):
    """Parses a whole file; quirks=False demands the exact sizes a correct writer produces."""
    need(data, 0, 18, ".RMF header")
    if data[:4] != b".RMF":
        raise RmError("not a RealMedia file (no .RMF at the start)")
    rmf_size = u32(data, 4)
    if rmf_size < 18:
        raise RmError(f".RMF size {rmf_size} is too small")
    rmf_version, file_version, num_headers = u16(data, 8), u32(data, 10), u32(data, 14)
    headers, pos = [], rmf_size
    while True:
        need(data, pos, 10, "header chunk")
        fourcc, size = data[pos : pos + 4], u32(data, pos + 4)
        if fourcc == b"DATA":
            break
        if size < 10:
            raise RmError(f"chunk {fourcc!r} at {pos} has size {size}")
        need(data, pos, size, f"chunk {fourcc!r}")
        headers.append((fourcc, pos, data[pos : pos + size]))
        pos += size
    props = [h for h in headers if h[0] == b"PROP"]
    if len(props) != 1 or len(props[0][2]) != 50:
        raise RmError("expected exactly one PROP chunk of 50 bytes")
    names = ("max_bit_rate avg_bit_rate max_packet_size avg_packet_size num_packets duration "
             "preroll index_offset data_offset num_streams flags").split()
    prop = dict(zip(names, struct.unpack_from(">IIIIIIIIIHH", props[0][2], 10)))
    if prop["data_offset"] != pos:
        raise RmError(f"PROP.data_offset {prop['data_offset']}, first DATA at {pos}")
    mdprs = [parse_mdpr(raw, off) for fourcc, off, raw in headers if fourcc == b"MDPR"]
    data_chunks = parse_data_chain(data, pos, quirks)
    index_chunks = parse_index_chain(data, prop["index_offset"], quirks)
    ends = [c.end for c in data_chunks]
    ends += [c.offset + INDX_HEADER + INDX_RECORD * len(c.records) for c in index_chunks]
    return RmFile(data, rmf_version, file_version, num_headers, headers, prop, mdprs,
                  data_chunks, index_chunks, max(ends))


# Builders: the corpus generator assembles files from these pieces.


def chunk_header(fourcc, size, version=0):
    return fourcc + struct.pack(">IH", size, version)


def packet_bytes(stream, timestamp, payload, flags=0, version=0, asm_rule=0):
    if version == 0:
        head = struct.pack(">HHHIBB", 0, 12 + len(payload), stream, timestamp, 0, flags)
    else:
        head = struct.pack(">HHHIHB", 1, 13 + len(payload), stream, timestamp, asm_rule, flags)
    return head + payload


def event_payload(sequence, start_ds, stop_ds, text, code=0x0020):
    return struct.pack(">HIIHH", sequence, start_ds, stop_ds, len(text) + 2, code) + text


def event_mdpr(stream, payload_sizes, duration_ms):
    mime = b"application/x-pn-realevent"
    body = struct.pack(">HIIIIIII", stream, 200, 200, max(payload_sizes),
                       sum(payload_sizes) // len(payload_sizes), 0, 0, duration_ms)
    body += b"\x00" + bytes([len(mime)]) + mime + struct.pack(">I", 0)
    return chunk_header(b"MDPR", 10 + len(body)) + body


def index_chunk(stream, records, next_offset=0, size=None):
    body = struct.pack(">IHI", len(records), stream, next_offset)
    body += b"".join(struct.pack(">HIII", 0, *rec) for rec in records)
    return chunk_header(b"INDX", size if size is not None else 10 + len(body)) + body
