#!/usr/bin/env python3
"""Generates the mixed benchmark corpus: the benchmark corpus of gen_corpus.py
with every other searched file (in sorted path order) rewritten as UTF-8
without a mark, its line breaks turned to LF, so that half of the files are
UTF-8, as in a tree where old Shift-JIS files stand beside new UTF-8 ones.
Files whose bytes are not valid code page 932 text stay as they are.

Usage: gen_mixed_corpus.py OUTDIR [--scale N]
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import bench  # noqa: E402


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    out = os.path.abspath(sys.argv[1])
    scale = sys.argv[sys.argv.index("--scale") + 1] if "--scale" in sys.argv else "1"
    subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), out, "--scale", scale], check=True)
    converted = 0
    files = sorted(bench.quav_files(out))
    for path in files[::2]:
        with open(path, "rb") as f:
            data = f.read()
        try:
            text = data.decode("cp932")
        except UnicodeDecodeError:
            continue
        with open(path, "wb") as f:
            f.write(text.replace("\r\n", "\n").encode("utf-8"))
        converted += 1
    print(f"{converted} of {len(files)} searched files rewritten as UTF-8")


if __name__ == "__main__":
    main()
