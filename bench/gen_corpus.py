#!/usr/bin/env python3
"""Generates the benchmark corpus: Shift-JIS (code page 932) text files with
CR LF line ends in nested folders, reproducible from a fixed seed.

The corpus holds files of chosen and unchosen identifiers (extensions in
mixed letter case), a few hidden folders (never searched), files from a few
lines up to 20,000 lines, and a few lines in which a search word's bytes
appear across a character boundary: a byte search finds them, a search on
characters must not.

Usage: gen_corpus.py OUTDIR [--scale N]
"""
import os
import random
import shutil
import sys

SEED = 20240607
RARE = "量子暗号"
COMMON = "システム"
ASCII_CI = "Timeout"

HIRAGANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをんがぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽ"
KATAKANA_WORDS = ["データ", "ファイル", "サーバ", "ネットワーク", "プログラム", "テスト", "ログ", "エラー",
                  "メッセージ", "フォルダ", "ユーザー", "パス", "モジュール", "バッファ", "キャッシュ"]
KANJI_WORDS = ["検索", "処理", "設定", "変更", "保存", "確認", "実行", "結果", "情報", "管理", "機能",
               "対象", "入力", "出力", "表示", "更新", "削除", "追加", "作成", "接続", "開始", "終了",
               "文字", "番号", "日付", "時間", "会社", "部署", "担当", "予定", "報告", "資料", "仕様"]
ASCII_WORDS = ["id", "name", "value", "status", "OK", "NG", "count", "size", "path", "user", "int",
               "return", "if", "for", "while", "NULL", "data", "error", "warn", "info", "debug"]
SEARCHED = ["TXT", "txt", "CSV", "LOG", "log", "DAT", "C", "c"]
UNSEARCHED = ["HTML", "bak", "md", "TX", "JSON"]


def sentence(rng):
    parts = []
    for _ in range(rng.randint(3, 9)):
        r = rng.random()
        if r < 0.35:
            parts.append(rng.choice(KANJI_WORDS))
        elif r < 0.55:
            parts.append(rng.choice(KATAKANA_WORDS))
        elif r < 0.80:
            parts.append("".join(rng.choice(HIRAGANA) for _ in range(rng.randint(1, 4))))
        elif r < 0.93:
            parts.append(rng.choice(ASCII_WORDS))
        else:
            parts.append(str(rng.randint(0, 99999)))
    sep = rng.choice(["", "", "、", " ", "\t", "。"])
    return sep.join(parts) + rng.choice(["。", "", "です。", "ます。"])


def straddle(word, rng):
    """A line whose bytes hold word's bytes starting on the trail byte of a
    double-byte character: not a match on characters."""
    b = word.encode("cp932")
    leads = [l for l in list(range(0x88, 0x98)) + list(range(0xE0, 0xEA))]
    rng.shuffle(leads)
    for lead in leads:
        line = "前置き".encode("cp932") + bytes([lead]) + b + "の後ろ".encode("cp932")
        try:
            text = line.decode("cp932")
        except UnicodeDecodeError:
            continue
        if word.lower() not in text.lower():
            return line
    raise SystemExit("no straddling form for " + word)


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    out = sys.argv[1]
    scale = 1.0
    if "--scale" in sys.argv:
        scale = float(sys.argv[sys.argv.index("--scale") + 1])
    rng = random.Random(SEED)
    if os.path.exists(out):
        shutil.rmtree(out)

    # A pool of lines, most plain, some with the common word, a few with the
    # case-insensitive word in several spellings.
    pool = []
    for _ in range(20000):
        s = sentence(rng)
        r = rng.random()
        if r < 0.004:
            pos = rng.randint(0, len(s))
            s = s[:pos] + COMMON + s[pos:]
        elif r < 0.005:
            pos = rng.randint(0, len(s))
            s = s[:pos] + rng.choice(["timeout", "TIMEOUT", "TimeOut", "Timeout"]) + s[pos:]
        pool.append(s.encode("cp932"))

    folders = [""]
    for i in range(int(40 * scale) + 4):
        parent = rng.choice(folders)
        if parent.count("/") >= 4:
            parent = ""
        name = rng.choice(["doc", "src", "log", "data", "work", "old", "tmp", "仕様書", "報告"]) + str(i)
        folders.append(f"{parent}/{name}" if parent else name)
    hidden = []
    for name in [".git", ".cache", ".隠し"]:
        parent = rng.choice(folders[:10])
        hidden.append(f"{parent}/{name}" if parent else name)

    nfiles = int(1400 * scale)
    rare_files = set(rng.sample(range(nfiles), 8))
    straddle_files = set(rng.sample(range(nfiles), 12))
    total = 0
    for i in range(nfiles):
        r = rng.random()
        if r < 0.6:
            n = rng.randint(3, 200)
        elif r < 0.9:
            n = rng.randint(200, 3000)
        else:
            n = rng.randint(3000, 20000)
        ext = rng.choice(SEARCHED) if rng.random() < 0.85 else rng.choice(UNSEARCHED)
        folder = rng.choice(hidden) if rng.random() < 0.03 else rng.choice(folders)
        lines = [pool[rng.randrange(len(pool))] for _ in range(n)]
        if i in rare_files:
            lines[rng.randrange(n)] = (sentence(rng) + RARE + sentence(rng)).encode("cp932")
        if i in straddle_files:
            for w in (RARE, COMMON, ASCII_CI):
                lines[rng.randrange(n)] = straddle(w, rng)
        path = os.path.join(out, folder, f"f{i:05d}.{ext}")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        data = b"\r\n".join(lines) + b"\r\n"
        with open(path, "wb") as f:
            f.write(data)
        total += len(data)
    print(f"{nfiles} files, {total / 1e6:.1f} MB in {out}", file=sys.stderr)


if __name__ == "__main__":
    main()
