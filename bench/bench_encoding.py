#!/usr/bin/env python3
"""What detecting each file's encoding costs, and how a mixed tree searches.

1. On the benchmark corpus (code page 932 only): `quav search --encoding auto`
   against `--encoding cp932`, timed alternately in the same run, and their
   result files compared byte for byte.
2. On the mixed corpus (gen_mixed_corpus.py, half UTF-8): `quav search`
   (auto) against `LC_ALL=C grep -r -l -F` given the word in both encodings
   (-e CP932 -e UTF-8), for a rare, a common and an ignore-case word.

Usage: bench_encoding.py [--quav PATH] [--corpus DIR] [--mixed DIR] [--scale N] [--reps N]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import bench  # noqa: E402


def quav_cmd(quav, word, ci, corpus, out, encoding):
    return bench.quav_cmd(quav, word, ci, corpus, out)[:-3] + ["--encoding", encoding, "--out", out, word]


def grep_both(word, ci, corpus):
    cmd = ["grep", "-r", "-l", "-F"] + (["-i"] if ci else [])
    cmd += [f"--include={bench.glob_for(e)}" for e in bench.EXTS]
    return cmd + ["--exclude-dir=.*", "-e", word.encode("cp932"), "-e", word.encode("utf-8"), corpus]


def median(cmd, env, reps):
    bench.timed(cmd, env)
    return statistics.median(bench.timed(cmd, env)[0] for _ in range(reps))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--quav", default=os.path.join(HERE, "..", "build", "src", "quav"))
    ap.add_argument("--corpus", default=os.path.join(HERE, "corpus"))
    ap.add_argument("--mixed", default=os.path.join(HERE, "corpus-mixed"))
    ap.add_argument("--scale", default="3")
    ap.add_argument("--reps", type=int, default=11)
    a = ap.parse_args()
    quav = os.path.abspath(a.quav)
    for path, script in ((a.corpus, "gen_corpus.py"), (a.mixed, "gen_mixed_corpus.py")):
        if not os.path.isdir(path):
            subprocess.run([sys.executable, os.path.join(HERE, script), path, "--scale", a.scale], check=True)
    qenv = dict(os.environ, LC_ALL="C.UTF-8", QUAV_CONFIG_DIR=tempfile.mkdtemp(prefix="quav-bench-cfg-"))
    genv = dict(os.environ, LC_ALL="C")

    print(f"1. code page 932 corpus {os.path.abspath(a.corpus)}: auto against cp932, {a.reps} runs, medians")
    print(f"{'word':<30}{'auto ms':>9}{'cp932 ms':>10}{'ratio':>7}   result files")
    with tempfile.TemporaryDirectory() as tmp:
        for label, word, ci in bench.WORDS:
            outs = {e: os.path.join(tmp, e) for e in ("auto", "cp932")}
            cmds = {e: quav_cmd(quav, word, ci, a.corpus, outs[e], e) for e in outs}
            times = {e: [] for e in outs}
            for e in outs:
                bench.timed(cmds[e], qenv)
            for _ in range(a.reps):
                for e in outs:
                    t, rc, _ = bench.timed(cmds[e], qenv)
                    if rc not in (0, 1):
                        sys.exit(f"quav failed ({rc}): {' '.join(cmds[e])}")
                    times[e].append(t)
            same = open(outs["auto"], "rb").read() == open(outs["cp932"], "rb").read()
            ma, mc = statistics.median(times["auto"]), statistics.median(times["cp932"])
            print(f"{label + ' ' + repr(word):<30}{ma * 1e3:>9.1f}{mc * 1e3:>10.1f}{ma / mc:>7.3f}   "
                  f"{'identical' if same else 'DIFFER'}")

        print()
        print(f"2. mixed corpus {os.path.abspath(a.mixed)}: quav (auto) against grep -e CP932 -e UTF-8")
        print(f"{'word':<30}{'quav ms':>9}{'grep ms':>9}{'ratio':>7}   files listed: quav / grep")
        out = os.path.join(tmp, "mixed")
        for label, word, ci in bench.WORDS:
            qc = quav_cmd(quav, word, ci, a.mixed, out, "auto")
            gc = grep_both(word, ci, a.mixed)
            mq, mg = median(qc, qenv, a.reps), median(gc, genv, a.reps)
            with open(out, "rb") as f:
                heads = [l for l in f.read().decode("cp932").split("\r\n") if l.startswith("SEARCH_FILE = ")]
            g = [x for x in subprocess.run(gc, env=genv, capture_output=True).stdout.split(b"\n") if x]
            print(f"{label + ' ' + repr(word):<30}{mq * 1e3:>9.1f}{mg * 1e3:>9.1f}{mq / mg:>7.2f}   "
                  f"{len(heads)} / {len(g)}")


if __name__ == "__main__":
    main()
