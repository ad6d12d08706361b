#!/usr/bin/env python3
"""Writes resources/firmware.bin: the stand-in firmware payload built into the updater.

The maker's real firmware is not ours to ship, so the updater carries a stand-in
of the real one's size: 24,832 bytes, 194 blocks of 128. It is deterministic, and
every byte value 0x00 to 0xFF occurs in it (so both halves of the 7-bit split on
the wire, with and without the top bit, are exercised by every transfer).
"""

import pathlib
import sys

PAYLOAD_LENGTH = 24832


def make_payload():
    payload = bytearray()

    # A leading permutation of every byte value...
    payload.extend((value * 167 + 13) % 256 for value in range(256))

    # ...then a xorshift sequence, which looks as unstructured as machine code does.
    state = 0x5150_0131
    while len(payload) < PAYLOAD_LENGTH:
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        payload.append(state & 0xFF)

    return bytes(payload)


def main():
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / "resources" / "firmware.bin"
    payload = make_payload()
    assert len(payload) == PAYLOAD_LENGTH and len(set(payload)) == 256
    target.write_bytes(payload)
    print(f"wrote {len(payload)} bytes to {target}")


if __name__ == "__main__":
    main()
