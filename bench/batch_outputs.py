#!/usr/bin/env python3
"""Records what quav search and quav replace --dry-run print, exit with and
write for a fixed set of option combinations and words, so that two builds can
be compared byte for byte (diff -r OUT_A OUT_B).

Each case runs with its own empty settings folder, or one holding stored
choices that differ from the factory ones (a single identifier list, no
subfolders, time stamps on, cp932, an automatic result file), and notes when
the settings file changed or the stored result file was written: the command
line must do neither. The corpus gets a folder "extra" with UTF-8, UTF-16 and
Shift-JIS-named files when it has none.

Usage: batch_outputs.py CORPUS QUAV OUTDIR   (CORPUS from gen_corpus.py)
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

WORDS = ["システム", "量子暗号", "Timeout", "timeout", "zzznothing", "検索", "ｼｽﾃﾑ"]
STORED = """REGEDIT4

[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\SEARCH_SIKIBETU]
"DEFAULT_SIKIBETU"=dword:00000001
"SIKIBETU_ALL_FLG"=dword:00000000
"SIKIBETU00"="TXT"
"SIKIBETU01"="LOG"
"SIKIBETU02"="C"

[HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV\\EXECUTE]
"FILE_OUT"=dword:00000001
"FILE_OUT_NAME"="{stored_out}"
"FILE_NAME_DISP"=dword:00000001
"SUB_DIR_FLG"=dword:00000000
"ENCODING"="cp932"
"""


def add_extra(corpus):
    root = os.path.join(corpus, "extra")
    if os.path.isdir(root):
        return
    sjis_dir = os.fsencode(root) + b"/\x83t\x83H\x83\x8b\x83_"
    os.makedirs(os.path.join(root, "sub"))
    os.makedirs(sjis_dir)
    files = {
        "u8.txt": "UTF-8 の検索 システム\r\nTimeout line\r\n量子暗号です\n".encode("utf-8"),
        "u8bom.txt": b"\xef\xbb\xbf" + "BOM付き システム\nもう一行 timeout\n".encode("utf-8"),
        "u16.TXT": b"\xff\xfe" + "UTF-16 のシステム\r\nTIMEOUT\r\n".encode("utf-16-le"),
        "sub/s.log": "サブ システム\r\n".encode("cp932"),
        "noext": b"system\n",
    }
    for name, data in files.items():
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)
    with open(sjis_dir + b"/\x83t.txt", "wb") as f:
        f.write("フォルダ名が SJIS システム\r\n".encode("cp932"))


def cases(work):
    out, rtf = os.path.join(work, "out.txt"), os.path.join(work, "out.rtf")
    search = [[], ["--out", out], ["-l"], ["-n"], ["--ext", "TXT,LOG"], ["--ext", "c,csv"], ["--no-subdirs"],
              ["--subdirs"], ["--case"], ["--encoding", "cp932"], ["--encoding", "auto"], ["--timestamps"],
              ["--no-timestamps"], ["--timestamps", "--out", out], ["--dir", "extra"],
              ["--dir", "extra", "--encoding", "cp932", "-n"], ["--dir", "extra", "-l", "--encoding=auto"],
              ["-l", "--ext", "TXT", "--no-subdirs"], ["-n", "--case", "--subdirs"], ["--rtf", rtf],
              ["--dir", "nowhere"], ["--out", out, "--ext", "TXT", "--no-subdirs", "--timestamps", "--case"],
              ["--dir", "extra", "--timestamps", "--encoding", "cp932"]]
    replace = [[], ["--ext", "TXT"], ["--no-subdirs"], ["--case"], ["--encoding", "cp932"], ["--dir", "extra"],
               ["--dir", "extra", "--encoding", "auto"]]
    for stored in ("factory", "stored"):
        for w, word in enumerate(WORDS):
            for i, o in enumerate(search):
                yield stored, f"{stored}-search{i}-word{w}", ["search"] + o + [word]
            for i, o in enumerate(replace):
                yield stored, f"{stored}-replace{i}-word{w}", ["replace", "--dry-run", "--with", "ﾃｽﾄ置換"] + o + [word]
        for i, args in enumerate([["search", "--ext", "ABCD", "x"], ["search", "a\nb"],
                                  ["search", "--encoding", "cp932", "😀"], ["search", "😀"],
                                  ["replace", "--dry-run", "--with", "😀", "--encoding", "cp932", "x"],
                                  ["replace", "--dry-run", "--with", "😀", "システム"]]):
            yield stored, f"{stored}-refused{i}", args


def digest(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    corpus, quav, dest = (os.path.abspath(a) for a in sys.argv[1:])
    add_extra(corpus)
    os.makedirs(dest, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        stored_out = os.path.join(work, "stored-result.txt")
        count = 0
        for stored, name, args in cases(work):
            for entry in os.listdir(work):
                path = os.path.join(work, entry)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
            config, home = os.path.join(work, "config"), os.path.join(work, "home")
            os.makedirs(config)
            os.makedirs(home)
            if stored == "stored":
                with open(os.path.join(config, "QUAV.REG"), "w", encoding="utf-8") as f:
                    f.write(STORED.format(stored_out=stored_out))
            before = digest(os.path.join(config, "QUAV.REG"))
            env = dict(os.environ, QUAV_CONFIG_DIR=config, HOME=home, LC_ALL="C.UTF-8")
            r = subprocess.run([quav] + args, cwd=corpus, env=env, capture_output=True)
            base = os.path.join(dest, name)
            with open(base + ".out", "wb") as f:
                f.write(r.stdout)
            with open(base + ".err", "wb") as f:
                f.write(r.stderr.replace(os.fsencode(work), b"WORK"))
            with open(base + ".status", "w") as f:
                f.write(f"{r.returncode}\n")
            for written in ("out.txt", "out.rtf"):
                if os.path.exists(os.path.join(work, written)):
                    shutil.copy(os.path.join(work, written), f"{base}.{written}")
            if digest(os.path.join(config, "QUAV.REG")) != before:
                open(base + ".settings-changed", "w").close()
            if os.path.exists(stored_out):
                open(base + ".stored-result-written", "w").close()
            count += 1
    print(f"{count} cases in {dest}")


if __name__ == "__main__":
    main()
