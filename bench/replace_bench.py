#!/usr/bin/env python3
"""Times `quav replace` over a fresh copy of the benchmark corpus: a common
word replaced by a text of another length, so every changed line is spliced.

Each run gets its own copy (the copy, and writing it to disk, is not timed). Reports the median wall
time, files written per second and MB written per second (the sizes of the
changed files after the run), and, for comparison, `quav search` of the same
word over the same copy: both times (and the replace's dry run) and their ratio, in wall time and in CPU
time (user + system of the child; on a shared machine the wall time follows
the load of others, the CPU time much less). The search stops where the work
area is full; the replace goes on in rounds until every file is done.

Side by side in the same runs, each on a fresh copy: the byte-keeping peer
script (peer_replace.py) without a flush, with one fsync per file and with
one syncfs at the end (the least that makes the same bytes durable), and
`quav replace` with and without the undo journal; the ratios of quav to the
peer without a flush are printed last, wall and CPU.

Usage:
  bench/replace_bench.py [--quav build/src/quav] [--corpus bench/corpus]
                         [--scale 3] [--reps 3]
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import gen_corpus  # noqa: E402

EXTS = "TXT,CSV,LOG,DAT,C"
REPLACEMENT = "システム基盤"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--quav", default=os.path.join(HERE, "..", "build", "src", "quav"))
    ap.add_argument("--corpus", default=os.path.join(HERE, "corpus"))
    ap.add_argument("--scale", default="3")
    ap.add_argument("--reps", type=int, default=3)
    a = ap.parse_args()
    quav = os.path.abspath(a.quav)
    corpus = os.path.abspath(a.corpus)
    if not os.path.isdir(corpus):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), corpus, "--scale", a.scale], check=True)
    cfg = tempfile.mkdtemp(prefix="quav-bench-cfg-")
    # The undo journal of the runs goes with the settings, not to the user's.
    env = dict(os.environ, LC_ALL="C.UTF-8", QUAV_CONFIG_DIR=cfg, XDG_STATE_HOME=os.path.join(cfg, "state"))
    word = gen_corpus.COMMON
    common = ["--ext", EXTS, "--subdirs"]

    replace_ms, search_ms = [], []
    replace_cpu, search_cpu = [], []
    dry_ms, dry_cpu = [], []
    peer_ms, peer_sync_ms, peer_syncfs_ms, noundo_ms = [], [], [], []
    side_cpu = {"peer": [], "noundo": []}
    peer = os.path.join(HERE, "peer_replace.py")
    files = written = 0
    with tempfile.TemporaryDirectory() as tmp:
        for rep in range(a.reps):
            copy = os.path.join(tmp, f"c{rep}")
            fresh_copy(corpus, copy)
            c, t = child_cpu_ms(), time.perf_counter()
            s = subprocess.run([quav, "search", "--dir", copy] + common + [word], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            search_ms.append((time.perf_counter() - t) * 1000)
            search_cpu.append(child_cpu_ms() - c)
            if s.returncode != 0:
                sys.exit(f"quav search exited {s.returncode}: {s.stderr.decode(errors='replace')[:500]}")
            # The rounds without a byte written: what the writing costs shows.
            c, t = child_cpu_ms(), time.perf_counter()
            subprocess.run([quav, "replace", "--dry-run", "--dir", copy] + common + ["--with", REPLACEMENT, word],
                           env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            dry_ms.append((time.perf_counter() - t) * 1000)
            dry_cpu.append(child_cpu_ms() - c)
            c, t = child_cpu_ms(), time.perf_counter()
            r = subprocess.run([quav, "replace", "--dir", copy] + common + ["--with", REPLACEMENT, word],
                               env=env, capture_output=True)
            replace_ms.append((time.perf_counter() - t) * 1000)
            replace_cpu.append(child_cpu_ms() - c)
            if r.returncode != 0:
                sys.exit(f"quav replace exited {r.returncode}: {r.stderr.decode(errors='replace')[:500]}")
            changed = [line.split(b"\t")[0] for line in r.stdout.splitlines()]
            files = len(changed)
            written = sum(os.path.getsize(p) for p in changed)
            shutil.rmtree(copy)
            for cmd, times, cpu_key in (([quav, "replace", "--no-undo", "--dir"], noundo_ms, "noundo"),
                                        ([sys.executable, peer], peer_ms, "peer"),
                                        ([sys.executable, peer, "--fsync"], peer_sync_ms, None),
                                        ([sys.executable, peer, "--syncfs"], peer_syncfs_ms, None)):
                fresh_copy(corpus, copy)
                if cmd[0] == quav:
                    args = cmd + [copy] + common + ["--with", REPLACEMENT, word]
                else:
                    args = cmd + [copy, word, REPLACEMENT, "--ext", EXTS]
                c, t = child_cpu_ms(), time.perf_counter()
                p = subprocess.run(args, env=env, capture_output=True)
                times.append((time.perf_counter() - t) * 1000)
                if cpu_key:
                    side_cpu[cpu_key].append(child_cpu_ms() - c)
                if p.returncode != 0:
                    sys.exit(f"{args[0]} exited {p.returncode}: {p.stderr.decode(errors='replace')[:500]}")
                if len(p.stdout.splitlines()) != files:
                    sys.exit(f"{' '.join(cmd)} changed {len(p.stdout.splitlines())} files, quav {files}")
                shutil.rmtree(copy)
    shutil.rmtree(cfg, ignore_errors=True)
    ms = statistics.median(replace_ms)
    sms = statistics.median(search_ms)
    cpu, scpu = statistics.median(replace_cpu), statistics.median(search_cpu)
    print(f"corpus {corpus}; word {word} -> {REPLACEMENT}; {a.reps} runs, medians")
    print(f"quav replace: {ms:.0f} ms wall, {cpu:.0f} ms cpu, {files} files changed, {written / 1e6:.1f} MB written")
    print(f"  {files / (ms / 1000):.0f} files/s, {written / 1e6 / (ms / 1000):.1f} MB/s written")
    print(f"quav replace --dry-run: {statistics.median(dry_ms):.0f} ms wall, {statistics.median(dry_cpu):.0f} ms cpu")
    print(f"quav search of the same word: {sms:.0f} ms wall, {scpu:.0f} ms cpu")
    print(f"replace / search: {ms / sms:.1f} wall, {cpu / max(scpu, 1):.1f} cpu")
    pms, psms, pfms, nms = (statistics.median(t) for t in (peer_ms, peer_sync_ms, peer_syncfs_ms, noundo_ms))
    pcpu, ncpu = statistics.median(side_cpu["peer"]), statistics.median(side_cpu["noundo"])
    dms = statistics.median(dry_ms)
    print(f"peer script without fsync: {pms:.0f} ms wall, {pcpu:.0f} ms cpu; with one fsync per file: "
          f"{psms:.0f} ms wall; with one syncfs at the end: {pfms:.0f} ms wall")
    print(f"quav replace --no-undo: {nms:.0f} ms wall, {ncpu:.0f} ms cpu")
    print(f"ratios to the peer without fsync: quav replace (journal) {ms / pms:.2f}, "
          f"--no-undo {nms / pms:.2f}, peer with fsync {psms / pms:.2f}, peer with one syncfs {pfms / pms:.2f}")
    print(f"cpu ratios to the peer without fsync: quav replace (journal) {cpu / max(pcpu, 1):.2f}, "
          f"--no-undo {ncpu / max(pcpu, 1):.2f}")
    print(f"dry run / search: {dms / sms:.1f} wall, {statistics.median(dry_cpu) / max(scpu, 1):.1f} cpu")


def fresh_copy(corpus, copy):
    """The corpus copied and written out (not timed): a run that makes its
    files durable must not pay for writing the copy too."""
    shutil.copytree(corpus, copy, symlinks=True)
    os.sync()


def child_cpu_ms():
    """User + system time of the waited-for children so far, in ms."""
    u = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (u.ru_utime + u.ru_stime) * 1000


if __name__ == "__main__":
    main()
