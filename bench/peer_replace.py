#!/usr/bin/env python3
"""The byte-keeping peer of `quav replace`, for the benchmark: replaces a word
in every Shift-JIS file of chosen extensions under a folder (subfolders
included, hidden folders and files left out), keeping every other byte and
break, and only where the word's bytes begin on a character boundary (the
bytes of a word across two characters are not the word). Each changed file
is written to a temporary file beside it, given the old file's mode and
renamed over it; with --fsync each temporary file is flushed before its
rename; with --syncfs nothing is flushed until every file is written, then
the whole file system once (syncfs): the least that makes the same bytes
durable. Otherwise nothing is flushed. Prints one line per changed file
(path, TAB, occurrences), as `quav replace` does.

Usage: peer_replace.py DIR WORD REPLACEMENT [--ext TXT,CSV] [--fsync | --syncfs]
"""
import argparse
import ctypes
import os
import sys


def on_boundary(data, line_start, at):
    """Whether `at` begins a character when the line is read from its start:
    a line feed is never the second byte of a double-byte character."""
    i = line_start
    while i < at:
        b = data[i]
        i += 2 if (0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC) else 1
    return i == at


def replace(data, word, replacement):
    out, count, done, at = [], 0, 0, data.find(word)
    while at >= 0:
        if on_boundary(data, data.rfind(b"\n", 0, at) + 1, at):
            out.append(data[done:at])
            out.append(replacement)
            done = at + len(word)
            count += 1
            at = data.find(word, done)
        else:
            at = data.find(word, at + 1)
    if not count:
        return None, 0
    out.append(data[done:])
    return b"".join(out), count


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dir")
    ap.add_argument("word")
    ap.add_argument("replacement")
    ap.add_argument("--ext", default="TXT,CSV,LOG,DAT,C")
    ap.add_argument("--fsync", action="store_true")
    ap.add_argument("--syncfs", action="store_true")
    a = ap.parse_args()
    exts = {e.upper() for e in a.ext.split(",")}
    word, replacement = a.word.encode("cp932"), a.replacement.encode("cp932")
    out = sys.stdout.buffer
    for root, dirs, files in os.walk(os.fsencode(a.dir)):
        dirs[:] = sorted(d for d in dirs if not d.startswith(b"."))
        for name in sorted(files):
            if name.startswith(b".") or os.path.splitext(name)[1][1:].upper().decode(errors="replace") not in exts:
                continue
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                data = f.read()
            new, count = replace(data, word, replacement)
            if new is None:
                continue
            tmp = os.path.join(root, b".peer-" + name + b".tmp")
            fd = os.open(tmp, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
            try:
                os.write(fd, new)
                os.fchmod(fd, os.stat(path).st_mode & 0o7777)
                if a.fsync:
                    os.fsync(fd)
            finally:
                os.close(fd)
            os.rename(tmp, path)
            out.write(path + b"\t" + str(count).encode() + b"\n")
    if a.syncfs:
        fd = os.open(a.dir, os.O_RDONLY | os.O_DIRECTORY)
        try:
            if ctypes.CDLL(None, use_errno=True).syncfs(fd) != 0:
                raise OSError(ctypes.get_errno(), "syncfs")
        finally:
            os.close(fd)
    return 0


if __name__ == "__main__":
    sys.exit(main())
