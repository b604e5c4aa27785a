#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into corpus/<target>/ beside this script.

Each seed is a small, valid (or nearly valid) input that leads a target into its deep paths;
the fuzzers grow their own corpora from these. Run it again after changing a seed; the files
it writes are kept in the repository.
"""

import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"


def xor(data):
    x = 0
    for b in data:
        x ^= b
    return x


def cfg_file(header, numbers, line_end=b"\r\n", signature=b"tova"):
    out = signature + line_end
    for h in header:
        out += h + line_end
    for n in numbers:
        out += b" %d " % n + line_end
    return out


def defaults_file(image, line_end=b"\r\n"):
    return b"Orv_Defaults" + line_end + b"".join(b" %d " % b + line_end for b in image)


IMAGE = [65, 66, 67, 68, 69, 70, 71, 72, 255, 255, 255, 255, 255, 255, 255, 255, 8, 0, 255,
         252, 2, 255, 34, 102, 0, 0, 48, 226, 23] + [255] * 48 + [37, 63, 59, 63, 43, 63, 12, 13]
HEADER = [b"Device Name", b"User's Name", b"12/8/26", b"Your description, \"quoted\""]


def cfg_seeds():
    numbers = [1, 1] + IMAGE
    yield "good", cfg_file(HEADER, numbers)
    yield "lf", cfg_file(HEADER, numbers, b"\n")
    yield "cr-cr-lf", cfg_file(HEADER, numbers, b"\r\r\n")
    yield "lone-cr", cfg_file([b"Dev\rName"] + HEADER[1:], numbers)
    joined = cfg_file(HEADER, []) + b",".join(b" %d " % n for n in numbers) + b"\r\n"
    yield "commas", joined
    yield "latin1", cfg_file([b"caf\xe9", b"\xff\xa0", b"", b"  blanks  "], [6, 0] + IMAGE)
    yield "port-9", cfg_file(HEADER, [9, 1] + IMAGE)
    yield "short", cfg_file(HEADER, numbers[:40])
    yield "signature", cfg_file(HEADER, numbers, signature=b"TOVA")


def defaults_seeds():
    yield "good", defaults_file(IMAGE)
    yield "lf", defaults_file(IMAGE, b"\n")
    yield "commas", b"Orv_Defaults\r\n" + b",".join(b" %d " % b for b in IMAGE) + b"\r\n"
    yield "84-numbers", defaults_file(IMAGE[:84])
    yield "byte-300", defaults_file(IMAGE[:10] + [300] + IMAGE[11:])


def memory_blocks(records, end=True, fix=True):
    """The blocks of a memory holding these records (bytes), with the end mark."""
    stream = b""
    for text in records:
        stream += bytes([len(text) + 2]) + text + bytes([xor(text)])
    if end:
        stream += b"\0"
    stream += b"\0" * (-len(stream) % 64)
    blocks = b""
    for i in range(0, len(stream), 64):
        payload = stream[i:i + 64]
        blocks += payload + bytes([xor(payload) if fix else 0x5A])
    return blocks


def memory_seeds():
    # Byte 0 is the switch: 1 corrects every block's check byte.
    yield "records", b"\1" + memory_blocks([b"ABC", b"Hello, memory", b"\xc4\xd6"])
    yield "checked", b"\0" + memory_blocks([b"Line 1", b"Line 2"])
    yield "empty", b"\1" + memory_blocks([])
    yield "across-blocks", b"\1" + memory_blocks([b"x" * 100, b"y" * 150, b"z"])
    yield "too-long", b"\1" + memory_blocks([b"w" * 200])
    yield "damaged", b"\1" + memory_blocks([b"ok"]).replace(b"ok", b"oK", 1)
    yield "no-end", b"\1" + memory_blocks([b"r" * 60] * 3, end=False)
    yield "bad-check", b"\0" + memory_blocks([b"AB"], fix=False)


def upload_block(n, settings, version):
    body = bytes([n]) + settings.ljust(n, b"\0")[:n] + version
    return body + bytes([xor(body)])


VERSION = b"DECODER V3.4" + b"2024-05-17"


def serialupload_seeds():
    yield "mag", upload_block(60, bytes(IMAGE[25:]), VERSION)
    yield "bar", upload_block(25, bytes(IMAGE[:25]), VERSION)
    yield "bar-n10", upload_block(10, bytes(range(10)), VERSION)
    bad = bytearray(upload_block(60, bytes(IMAGE[25:]), VERSION))
    bad[-1] ^= 1
    yield "wrong-check", bytes(bad)
    yield "short", upload_block(60, bytes(IMAGE[25:]), VERSION)[:50]


def keyboard_text(first, settings):
    pairs = settings + bytes([xor(settings)])
    text = first + pairs.hex().upper().encode()
    return text.ljust(145 - 22, b"0") + VERSION


def keyboardupload_seeds():
    # Byte 0 is the switch: 1 pads or cuts the text to 145 characters, 2 reads UTF-8.
    yield "mag", b"\0" + keyboard_text(b"0", bytes(IMAGE[25:]))
    yield "bar", b"\0" + keyboard_text(b"1", bytes(IMAGE[:25]))
    yield "lower-case", b"\0" + keyboard_text(b"0", bytes(IMAGE[25:])).lower()
    yield "padded", b"\1" + keyboard_text(b"1", bytes(IMAGE[:25]))[:60]
    yield "utf8", b"\3" + "1Ａ０".encode() + keyboard_text(b"1", bytes(IMAGE[:25]))[3:]


def insertion_seeds():
    # Byte 0 is the switch: 1 for a group of 8 bytes, 2 reads UTF-8.
    yield "tokens", b"\0{STX}AB{ETX}"
    yield "eight", b"\1{cr}{LF}{ht }AB{ESC}x"
    yield "unclosed", b"\0{CR"
    yield "unknown", b"\1{XYZ}{CRLF}{ULS}"
    yield "braces", b"\0{{CR}}"
    yield "latin1", b"\1A\xffB\xe9{NUL}"
    yield "utf8", b"\3{CR\xe2\x82\xac}{C\xe4\xb8\xadR}\xc3\xbf"


def serialsettings_seeds():
    yield "9600", b"\0" + b"9600,N,8,1 "
    yield "19200", b"\0" + b"19200,e,7,2"
    yield "blanks", b"\0" + b" 600 , O , 8 , 1 "
    yield "mark", b"\0" + b"2400,M,7,1"
    yield "utf8", b"\2" + "4800,Ｓ,８,1".encode()
    yield "plus", b"\0" + b"+1200,N,8,1"


def settingcodec_input(key, image, text, switch=0):
    return bytes([key, switch]) + bytes(image) + text


def with_bytes(at, values):
    image = list(IMAGE)
    image[at:at + len(values)] = values
    return image


def settingcodec_seeds():
    # Byte 0 is the setting's row in the catalogue, byte 1 a switch (1 reads UTF-8), then the
    # image and the value text.
    yield "parity-4", settingcodec_input(11, with_bytes(19, [0xCC]), b"code:4")
    yield "check-digit-0", settingcodec_input(35, with_bytes(23, [0x26]), b"Calculate Check Digit")
    yield "interface-3", settingcodec_input(6, with_bytes(22, [0x23]), b"rs232")
    yield "mag-baud-5", settingcodec_input(66, with_bytes(28, [0x15]), b"9600")
    yield "mag-terminator-7", settingcodec_input(77, with_bytes(27, [0xE7]), b"code:7")
    yield "code-id-enq", settingcodec_input(50, with_bytes(0, [5]), b"{ENQ}")
    yield "prefix-name", settingcodec_input(60, with_bytes(8, list(b"{CR}")), b"{STX}A{cr }")
    yield "suffix-gap", settingcodec_input(88, with_bytes(37, [65, 255, 66]), b"code:65,255,66")
    yield "reserved", settingcodec_input(97, IMAGE, b"code:61")
    yield "com-port", settingcodec_input(5, IMAGE, b"code:6")
    yield "header", settingcodec_input(3, IMAGE, b"Line 3, \"quoted\"")
    yield "separator-utf8", settingcodec_input(83, IMAGE, "\u20ac".encode(), switch=1)
    yield "short", bytes([60, 0]) + bytes(IMAGE[:20])


TARGETS = {
    "fuzz_cfgfile": cfg_seeds,
    "fuzz_defaults": defaults_seeds,
    "fuzz_memory": memory_seeds,
    "fuzz_serialupload": serialupload_seeds,
    "fuzz_keyboardupload": keyboardupload_seeds,
    "fuzz_insertion": insertion_seeds,
    "fuzz_serialsettings": serialsettings_seeds,
    "fuzz_settingcodec": settingcodec_seeds,
}


def main():
    for target, seeds in TARGETS.items():
        folder = CORPUS / target
        if folder.exists():
            shutil.rmtree(folder)
        folder.mkdir(parents=True)
        for name, data in seeds():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
