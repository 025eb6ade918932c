#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets under tests/fuzz/corpus/TARGET/.

Run it again after changing a target's input layout (see the comment at the
top of each tests/fuzz/*_fuzz.cpp). The seeds are small and readable: the
product's own lists and folders, texts at their limits, texts one byte past
them, and code page 932 texts whose trail bytes are 0x5C.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

SO = b"\x83\x5c"  # ソ, trail byte 0x5C
HYO = b"\x95\x5c"  # 表, trail byte 0x5C

INSTALL = [b"Velmora.exe", b"grd.pac", b"vic.pac", b"se.pac", b"sse.pac", b"mus.pac",
           b"srp.pac", b"ogg.dll", b"vorbis.dll", b"vorbisfile.dll", b"readme.txt",
           b"uninst.exe", b"Agrd.pac", b"Bgrd.pac", b"Cgrd.pac", b"Dgrd.pac", b"Egrd.pac",
           b"Fgrd.pac", b"Ggrd.pac", b"Hgrd.pac", b"Setting.exe", b"grd_2.pac",
           b"vic_2.pac", b"se_2.pac", b"sse_2.pac", b"mus_2.pac", b"srp_2.pac",
           b"debuglog.txt", b"movie/ED.mpg"]
EXTRA = [b"grd_2.pac", b"vic_2.pac", b"se_2.pac", b"sse_2.pac", b"mus_2.pac",
         b"srp_2.pac", b"srp_3.pac", b"srp_4.pac", b"srp_5.pac", b"srp_6.pac"]


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def sized(data):
    return struct.pack("<H", len(data)) + data


# ---- file_list: flags, k, names ended by NUL ----------------------------------
def file_list(flags, k, names):
    return bytes([flags]) + struct.pack("<H", k) + b"\0".join(names)


write("file_list_fuzz", "profile", file_list(0, 0, INSTALL))
write("file_list_fuzz", "limits",
      file_list(1, 0, [b"a.exe", b"n" * 127, b"n" * 128, b"", SO + b".pac", b"z" * 300]))
write("file_list_fuzz", "no_memory", file_list(1, 3, [b"a.exe", b"b.pac", b"c.pac"]))
write("file_list_fuzz", "empty", file_list(0, 0, []))


# ---- record: fault, query, fills, installType, then Dir, CD, InstType ---------
def value(stored, kind, data):
    return bytes([1 if stored else 0, kind]) + sized(data)


def record(values, fault=0, query=0, fills=(0, 0, 0, 0), install_type=0):
    head = bytes([fault, query]) + struct.pack("<BHBHi", *fills, install_type)
    return head + b"".join(value(*v) for v in values)


SZ, EXPAND, DWORD = 1, 2, 4
GAME = b"c:\\Program Files\\Quillane\\Velmora"
write("record_fuzz", "written",
      record([(True, SZ, GAME + b"\0\0"), (True, SZ, b"e:\\Velmora\0\0"),
              (True, DWORD, struct.pack("<i", 2))]))
write("record_fuzz", "dir_260_no_nul",
      record([(True, SZ, b"c:\\" + b"d" * 257), (True, SZ, b"e:\\Velmora\0"),
              (True, DWORD, b"\1\0\0\0")], fills=(0x41, 10, 0x42, 20)))
write("record_fuzz", "dir_259_cd_missing",
      record([(True, SZ, b"c:\\" + b"d" * 256 + b"\0"), (False, SZ, b""),
              (True, DWORD, b"\1\0\0\0")]))
write("record_fuzz", "odd_types",
      record([(True, EXPAND, b"%GAMES%\\" + HYO), (True, DWORD, b"e:\\"),
              (True, SZ, b"\2\0")], fault=2, query=2, install_type=-1))
write("record_fuzz", "dir_258_two_nuls",
      record([(True, SZ, b"c:\\" + b"d" * 255 + b"\0\0"), (True, SZ, b"e:\\" + SO + b"\0"),
              (True, DWORD, b"\2\0\0\0\0")], fills=(0xff, 200, 0x5c, 259)))


# ---- paths: flags, eight texts, two name lists ---------------------------------
def text(head, count=0, fill=b"x"):
    return sized(head) + bytes([count]) + fill


def names(items):
    return bytes([len(items)]) + b"".join(text(n) for n in items)


def paths(flags, texts, install, extra):
    return bytes([flags]) + b"".join(texts) + names(install) + names(extra)


PLAIN = [text(GAME), text(b"c:\\Setup\\Velmora"), text(b"c:\\Program Files"),
         text(b"Velmora"), text(b"Quillane"), text(b"Velmora"),
         text(b"c:\\Upd\\Update.exe"), text(b"")]
write("paths_fuzz", "profile", paths(0x04 | 0x08, PLAIN, INSTALL, EXTRA))
# Folders a few bytes short of 259, so that short names fit and long ones do not.
write("paths_fuzz", "near_limit",
      paths(0x01 | 0x04 | 0x10,
            [text(b"c:\\", 240, b"d"), text(b"c:\\", 245, b"s"), text(b"c:\\", 230, b"b"),
             text(b"V", 10, b"v"), text(b"Q", 4, b"q"), text(b"P", 8, b"p"),
             text(b"c:\\Upd\\Update.exe"), text(b"c:\\", 220, b"m")],
            [b"Velmora.exe", b"a", b"ab" * 8] + INSTALL[1:12], [b"x" * 20, b"e"]))
# Trail bytes 0x5C everywhere a backslash search could stop inside a character.
write("paths_fuzz", "cp932",
      paths(0x02 | 0x04 | 0x08,
            [text(b"c:\\" + SO + b"\\" + HYO), text(b"c:\\" + HYO + b"\\" + SO),
             text(b"c:\\" + SO + b"\\"), text(b"Velmora" + SO), text(HYO), text(SO + HYO),
             text(b"c:\\" + HYO + b"\\Update.exe"), text(b"c:\\" + SO)],
            [b"Velmora.exe", SO + b".pac", HYO, b"readme.txt"], [SO * 3]))
# One byte past every limit: 260-byte texts and 128-byte names are refused.
write("paths_fuzz", "past_limits",
      paths(0x08 | 0x10,
            [text(b"c:\\dd", 255, b"d"), text(b"c:\\ss", 255, b"s"),
             text(b"c:\\bb", 255, b"b"), text(b"VVVVV", 255, b"v"), text(b"QQQQQ", 255, b"q"),
             text(b"PPPPP", 255, b"p"), text(b"c:\\U\\", 255, b"u"),
             text(b"c:\\mm", 255, b"m")],
            [b"n" * 128, b"n" * 127, b""], [b"n" * 200]))
# The disc's probe: a product folder near its limit on drive e:.
write("paths_fuzz", "disc_long_folder",
      paths(0x02 | 0x04,
            [text(GAME), text(b"c:\\Setup\\Velmora"), text(b"c:\\Program Files"),
             text(b"V", 249, b"v"), text(b"Quillane"), text(b"Velmora"), text(b""), text(b"")],
            [b"Velmora.exe", b"readme.txt"], []))
# A folder name longer than a host file system takes (255 bytes) in a short path.
write("paths_fuzz", "long_component",
      paths(0x04 | 0x10,
            [text(b"c:\\", 200, b"d"), text(b"c:\\S"), text(b"c:"),
             text(b"V"), text(b"Q", 255, b"q"), text(b"P"), text(b""), text(b"c:")],
            [b"Velmora.exe", b"readme.txt"], []))
write("paths_fuzz", "long_folder_name",
      paths(0x00,
            [text(b"c:\\Game"), text(b"c:\\S"), text(b""), text(b""), text(b"Q", 255, b"q"),
             text(b"P"), text(b""), text(b"")],
            [], []))
