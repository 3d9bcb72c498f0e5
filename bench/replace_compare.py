#!/usr/bin/env python3
"""Compares `quav replace` of two builds byte for byte: for every case
(word, replacement, options) and every tree, each build runs on its own
fresh copy of the tree, dry run and real run; their standard output,
standard error and exit status must be the same (paths of the copies made
alike), and after a real run so must every file of both copies (bytes and
link targets).

Trees: the benchmark corpus (gen_corpus.py), the mixed corpus
(gen_mixed_corpus.py) and a tree of awkward files written here (mixed and
lone CR breaks, no last break, bytes that are no text in hit lines and
others, UTF-8 with and without a mark, UTF-16 in both orders with a mark and
an odd last byte, an empty file, a hard link and a symbolic link to a file
with hits, a subfolder, a name that cannot be searched). A file of more lines than the work area holds is
kept in a tree of its own ("long"): it is listed apart, as a build that
refuses such a file differs there on purpose.

Usage:
  bench/replace_compare.py --new build/src/quav --old OLD_QUAV [--scale 0.1] [--work DIR]
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

CASES = [
    ["--subdirs", "--with", "システム基盤", "システム"],
    ["--subdirs", "--with", "シス", "システム"],
    ["--subdirs", "--with", "シス手ム", "システム"],
    ["--subdirs", "--with", "TIMEOUT_x", "Timeout"],
    ["--subdirs", "--case", "--with", "late", "Timeout"],
    ["--subdirs", "--with", "😀", "データ"],
    ["--subdirs", "--with", "", "データ"],
    ["--subdirs", "--ext", "TXT", "--with", "量子計算", "量子暗号"],
    ["--no-subdirs", "--with", "システム基盤", "システム"],
    ["--subdirs", "--encoding", "cp932", "--with", "ｼｽﾃﾑ", "システム"],
    ["--subdirs", "--encoding", "cp932", "--with", "😀", "システム"],
    ["--subdirs", "--with", "x", "存在しない語"],
]


def awkward_tree(root):
    os.makedirs(os.path.join(root, "sub"))
    sj = lambda s: s.encode("cp932")
    files = {
        "mixed.txt": sj("一行目システム\r\n") + b"\x80\xff bytes\r\n" + sj("二システム") + b"\x81\n"
        + sj("三\r") + sj("四システム四\n") + sj("最後のシステム"),
        "raw_in_hit.txt": sj("前") + b"\xa0\xfd" + sj("システム") + b"\xff" + sj("後\r\n") + b"\x80\r\n",
        "lone_cr.txt": sj("システム\r\rシステム\r"),
        "timeout.log": b"Timeout\r\ntimeout here\nTIMEOUT\r" + "ｔｉｍｅｏｕｔ\r\n".encode("cp932") + b"no\r\n",
        "u8.txt": "UTF-8 のシステム\nデータ\n最後のシステム".encode("utf-8"),
        "u8bom.txt": b"\xef\xbb\xbf" + "システム\r\nデータ\r\nTimeout\r\n".encode("utf-8"),
        "u16le.txt": b"\xff\xfe" + "システム\r\nデータ\nTimeout\r".encode("utf-16-le"),
        "u16be.txt": b"\xfe\xff" + "データ\r\nシステム".encode("utf-16-be") + b"\x41",
        "empty.txt": b"",
        "breakonly.txt": b"\r\n",
        "sub/deep.txt": sj("下のシステムとデータ\r\n"),
        "sub/量子.TXT": sj("量子暗号の\r\n量子暗号\r\n"),
        "a:@:b.txt": sj("データ\r\n"),
    }
    for name, data in files.items():
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)
    os.link(os.path.join(root, "mixed.txt"), os.path.join(root, "hard.txt"))
    os.symlink("u8.txt", os.path.join(root, "link.txt"))


def long_tree(root):
    os.makedirs(root)
    lines = ["行%05d です" % i for i in range(40000)]
    lines[3] += "システム"
    lines[39998] += "データとシステム"
    with open(os.path.join(root, "long.txt"), "wb") as f:
        f.write("\r\n".join(lines).encode("cp932"))


def snapshot(root):
    out = {}
    for d, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files + [x for x in dirs if os.path.islink(os.path.join(d, x))]):
            p = os.path.join(d, name)
            rel = os.path.relpath(p, root)
            if os.path.islink(p):
                out[rel] = "link:" + os.readlink(p)
            else:
                with open(p, "rb") as f:
                    out[rel] = hashlib.sha256(f.read()).hexdigest()
    return out


def run(quav, tree, copy, args, dry, cfg, state):
    if os.path.exists(copy):
        shutil.rmtree(copy)
    shutil.copytree(tree, copy, symlinks=True)
    env = dict(os.environ, LC_ALL="C.UTF-8", QUAV_CONFIG_DIR=cfg, XDG_STATE_HOME=state)
    cmd = [quav, "replace"] + (["--dry-run"] if dry else []) + ["--dir", copy] + args
    p = subprocess.run(cmd, env=env, capture_output=True)
    same = lambda b: b.replace(copy.encode(), b"TREE")
    return p.returncode, same(p.stdout), same(p.stderr), (snapshot(copy) if not dry else None)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--new", required=True)
    ap.add_argument("--old", required=True)
    ap.add_argument("--scale", default="0.1")
    ap.add_argument("--work")
    a = ap.parse_args()
    work = a.work or tempfile.mkdtemp(prefix="quav-compare-")
    trees = {}
    for name, gen in (("corpus", "gen_corpus.py"), ("mixed", "gen_mixed_corpus.py")):
        trees[name] = os.path.join(work, name)
        if not os.path.isdir(trees[name]):
            subprocess.run([sys.executable, os.path.join(HERE, gen), trees[name], "--scale", a.scale], check=True,
                           stdout=subprocess.DEVNULL)
    trees["awkward"] = os.path.join(work, "awkward")
    trees["long"] = os.path.join(work, "long")
    if not os.path.isdir(trees["awkward"]):
        awkward_tree(trees["awkward"])
    if not os.path.isdir(trees["long"]):
        long_tree(trees["long"])

    same = differ = 0
    per_tree = {}
    for tname, tree in trees.items():
        for args in CASES:
            for dry in (True, False):
                results = []
                for quav in (a.old, a.new):
                    cfg = tempfile.mkdtemp(dir=work)
                    results.append(run(os.path.abspath(quav), tree, os.path.join(work, "copy"), args, dry, cfg,
                                       os.path.join(cfg, "state")))
                    shutil.rmtree(cfg)
                label = f"{tname} {'dry ' if dry else ''}{' '.join(args)}"
                counts = per_tree.setdefault(tname, [0, 0])
                counts[1] += 1
                if results[0] == results[1]:
                    same += 1
                    counts[0] += 1
                    continue
                differ += 1
                old, new = results
                print(f"DIFFERS: {label}", flush=True)
                for what, i in (("exit", 0), ("stdout", 1), ("stderr", 2)):
                    if old[i] != new[i]:
                        print(f"  {what}: old {old[i]!r}\n  {' ' * len(what)}  new {new[i]!r}")
                if old[3] != new[3]:
                    files = sorted(k for k in set(old[3]) | set(new[3]) if old[3].get(k) != new[3].get(k))
                    print(f"  files: {files}")
    for tname, (n, m) in per_tree.items():
        print(f"{tname}: {n} of {m} runs identical")
    print(f"{same} of {same + differ} runs identical")
    return 0 if differ == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
