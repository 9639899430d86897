#!/usr/bin/env python3
"""Writes the seeded folder pairs that engine_bench.sh times.

    make_bench_tree.py large|realistic|small ROOT PATHS
    make_bench_tree.py big ROOT COUNT MIB

A tree shape writes ROOT/src and ROOT/dst.pristine, ROOT/expected (the added, updated and
identical counts an analysis should report) and prints a one-line description of the pair.
The same arguments always give the same trees, so figures from different runs compare.
"""

import itertools
import math
import os
import random
import struct
import sys
import time

KIB = 1024
MIB = 1024 * KIB
HOUR_NS = 3600 * 10**9
DAY_NS = 24 * HOUR_NS
# A fixed "now" keeps the times, and so the trees, the same from run to run.
ANCHOR_NS = 1717200000 * 10**9


def log_uniform(rng, low, high):
    # Log-uniform: most files near the low end, a long tail of larger ones, as in real trees.
    return int(math.exp(rng.uniform(math.log(low), math.log(high))))


def amount(size):
    return f"{size / MIB:.1f} MiB" if size < 1024 * MIB else f"{size / (1024 * MIB):.2f} GiB"


def write_file(path, chunks, mtime_ns):
    with open(path, "wb") as f:
        for chunk in chunks:
            f.write(chunk)
    os.utime(path, ns=(mtime_ns, mtime_ns))


class FolderMaker:
    """Creates each folder of one side once (makedirs per file is slow on 100,000 files)."""

    def __init__(self, base):
        self.base = base
        self.made = set()

    def __call__(self, relative):
        path = os.path.join(self.base, relative)
        if path not in self.made:
            os.makedirs(path, exist_ok=True)
            self.made.add(path)
        return path


def write_expected(root, added, updated, identical):
    with open(os.path.join(root, "expected"), "w") as f:
        f.write(f"{added} {updated} {identical}\n")


# ---------------------------------------------------------------------------------------------
# large: the original uniform tree (its random sequence must not change, so old figures compare)


def large_tree(root, total):
    rng = random.Random(20240601)
    src = FolderMaker(os.path.join(root, "src"))
    dst = FolderMaker(os.path.join(root, "dst.pristine"))
    files_per_leaf = 100
    leaves = max(1, math.ceil(total / files_per_leaf))
    fan = max(1, math.ceil(leaves ** (1 / 3)))
    extensions = [".txt", ".jpg", ".c", ".json", ".md", ".png", ".h", ".csv"]
    now_ns = time.time_ns()
    counts = [0] * 10

    def leaf_folder(leaf):
        return f"dir{leaf // (fan * fan):02d}/sub{(leaf // fan) % fan:02d}/leaf{leaf % fan:02d}"

    # Per ten paths: 5 identical, 1 changed size and time, 1 changed content only, 2 new,
    # 1 target-only.
    for i in range(total):
        folder = leaf_folder(i // files_per_leaf)
        name = f"file{i:06d}{extensions[i % len(extensions)]}"
        kind = i % 10
        counts[kind] += 1
        data = rng.randbytes(log_uniform(rng, 100, 8192))
        mtime = now_ns - rng.randrange(365 * DAY_NS)
        if kind <= 4:
            write_file(os.path.join(src(folder), name), [data], mtime)
            write_file(os.path.join(dst(folder), name), [data], mtime)
        elif kind == 5:
            newer = data + rng.randbytes(rng.randrange(1, 512))
            write_file(os.path.join(src(folder), name), [newer], mtime + DAY_NS)
            write_file(os.path.join(dst(folder), name), [data], mtime)
        elif kind == 6:
            changed = bytearray(data)
            changed[len(changed) // 2] ^= 0xFF
            write_file(os.path.join(src(folder), name), [bytes(changed)], mtime)
            write_file(os.path.join(dst(folder), name), [data], mtime)
        elif kind <= 8:
            write_file(os.path.join(src(folder), name), [data], mtime)
        else:
            write_file(os.path.join(dst(folder), name), [data], mtime)

    # Junk files the engine skips: not counted.
    for leaf in range(min(3, leaves)):
        folder = src(leaf_folder(leaf))
        write_file(os.path.join(folder, ".DS_Store"), [rng.randbytes(6148)], now_ns)
        write_file(os.path.join(folder, "Thumbs.db"), [rng.randbytes(2048)], now_ns)

    write_expected(root, counts[7] + counts[8], counts[5] + counts[6], sum(counts[:5]))
    print(f"{total} paths, {len(src.made)} folders three levels deep (~100 files each), "
          "100 B - 8 KiB; "
          "50% identical, 10% newer and resized, 10% same size and time but other bytes, "
          "20% new, 10% only in the target, plus 6 junk files")


# ---------------------------------------------------------------------------------------------
# realistic and small: folders of varied depth, a target holding ~70% of the source


class Content:
    """File bytes cut from one random pool: far faster than fresh random bytes per file, and a
    header with the file's number and version keeps every file distinct."""

    POOL_BYTES = 16 * MIB

    def __init__(self, rng):
        self.rng = rng
        self.pool = memoryview(rng.randbytes(self.POOL_BYTES))

    def chunks(self, number, version, size):
        header = struct.pack("<QQ", number, version)[:size]
        body = size - len(header)
        start = self.rng.randrange(self.POOL_BYTES - body + 1)
        return [header, self.pool[start:start + body]]

    def with_one_byte_changed(self, chunks, size):
        # An edit in place: same size, one byte somewhere else.
        data = bytearray(b"".join(chunks))
        data[self.rng.randrange(size)] ^= 0xFF
        return [data]


def folder_tree(rng, count, words):
    """Each new folder goes under a random earlier one: a few shallow, many deep branches."""
    folders = [""]
    for n in range(count):
        parent = rng.choice(folders)
        folders.append(os.path.join(parent, f"{rng.choice(words)} {n:04d}"))
    return folders


class Shape:
    def __init__(self, seed, files_per_folder, folder_words, stems, size_and_extension,
                 description):
        self.seed = seed
        self.files_per_folder = files_per_folder
        self.folder_words = folder_words
        self.stems = stems
        self.size_and_extension = size_and_extension
        self.description = description


def realistic_size(rng):
    roll = rng.random()
    if roll < 0.015:
        return log_uniform(rng, MIB, 8 * MIB), rng.choice([".mov", ".mp4", ".zip", ".psd", ".wav"])
    if roll < 0.065:
        return log_uniform(rng, 64 * KIB, MIB), rng.choice([".jpg", ".pdf", ".png", ".cr2"])
    if roll < 0.165:
        return log_uniform(rng, 100, KIB), rng.choice([".txt", ".md", ".json", ".ini", ".xml"])
    return log_uniform(rng, KIB, 64 * KIB), rng.choice(
        [".jpg", ".docx", ".pdf", ".txt", ".xlsx", ".odt", ".png", ".html", ".eml"])


def source_code_size(rng):
    return log_uniform(rng, 100, 8 * KIB), rng.choice(
        [".c", ".h", ".cpp", ".hpp", ".py", ".js", ".ts", ".json", ".md", ".txt", ".cmake"])


SHAPES = {
    "realistic": Shape(
        seed=20240602, files_per_folder=65,
        folder_words=["Photos", "Documents", "Projects", "Invoices", "Music", "Holiday", "Camera",
                      "scans", "drafts", "archive", "Work", "reports", "Café", "Fotos Über",
                      "2021", "2022", "2023", "Taxes", "Recipes", "Backup"],
        stems=["IMG", "DSC", "scan", "report", "invoice", "notes", "track", "letter", "draft",
               "budget"],
        size_and_extension=realistic_size,
        description="a home folder: 83.5% 1-64 KiB, 10% 100 B - 1 KiB, 5% 64 KiB - 1 MiB, "
                    "1.5% 1-8 MiB"),
    "small": Shape(
        seed=20240603, files_per_folder=20,
        folder_words=["src", "lib", "include", "tests", "core", "net", "ui", "util", "detail",
                      "impl", "docs", "tools", "plugins", "third_party", "gen", "internal"],
        stems=["main", "util", "parser", "widget", "config", "test", "model", "view", "index",
               "helpers", "buffer", "codec"],
        size_and_extension=source_code_size,
        description="a source tree: 100 B - 8 KiB"),
}

# Shares of the source files by what the target holds at the same path.
IDENTICAL, RESIZED, EDITED, NEW = range(4)
ROLE_SHARES = [0.5, 0.1, 0.1, 0.3]
TARGET_ONLY_SHARE = 0.05


def shaped_tree(root, total, shape):
    rng = random.Random(shape.seed)
    content = Content(rng)
    src = FolderMaker(os.path.join(root, "src"))
    dst = FolderMaker(os.path.join(root, "dst.pristine"))
    folders = folder_tree(rng, max(1, total // shape.files_per_folder), shape.folder_words)
    # Heavy-tailed folder sizes: many small folders, a few holding thousands of files.
    weights = [rng.paretovariate(1.2) for _ in folders]
    cumulative = list(itertools.accumulate(weights))
    counts = [0] * 4
    source_bytes = target_bytes = 0

    for i in range(total):
        folder = rng.choices(folders, cum_weights=cumulative)[0]
        size, extension = shape.size_and_extension(rng)
        name = f"{rng.choice(shape.stems)}_{i:05d}{extension}"
        role = rng.choices(range(4), weights=ROLE_SHARES)[0]
        counts[role] += 1
        mtime = ANCHOR_NS - rng.randrange(3 * 365 * DAY_NS)
        chunks = content.chunks(i, 0, size)
        source_chunks, source_size, source_mtime = chunks, size, mtime
        if role == RESIZED:
            source_size = max(1, size + rng.choice([-1, 1]) * rng.randrange(1, size // 4 + 2))
            source_chunks = content.chunks(i, 1, source_size)
            source_mtime = mtime + rng.randrange(HOUR_NS, 30 * DAY_NS)
        elif role == EDITED:
            source_chunks = content.with_one_byte_changed(chunks, size)
            source_mtime = mtime + 10**9
        write_file(os.path.join(src(folder), name), source_chunks, source_mtime)
        source_bytes += source_size
        if role != NEW:
            write_file(os.path.join(dst(folder), name), chunks, mtime)
            target_bytes += size

    target_only = round(total * TARGET_ONLY_SHARE)
    for i in range(target_only):
        folder = rng.choice(folders)
        size, extension = shape.size_and_extension(rng)
        path = os.path.join(dst(folder), f"own_{i:05d}{extension}")
        write_file(path, content.chunks(total + i, 0, size), ANCHOR_NS - rng.randrange(DAY_NS))
        target_bytes += size

    write_expected(root, counts[NEW], counts[RESIZED] + counts[EDITED], counts[IDENTICAL])
    depths = [folder.count("/") + 1 for folder in folders[1:]] or [0]
    print(f"{total} source files in {len(folders) - 1} folders {min(depths)}-{max(depths)} deep, "
          f"{shape.description}; source {amount(source_bytes)}, "
          f"target {amount(target_bytes)}; the target holds "
          f"{100 * (total - counts[NEW]) / total:.0f}% of the source files ("
          f"{counts[IDENTICAL]} identical, {counts[RESIZED]} older and another size, "
          f"{counts[EDITED]} same size, other bytes, 1 s older) and {target_only} of its own")


# ---------------------------------------------------------------------------------------------
# big: large files of distinct data for the clone check


def big_files(root, count, mib):
    rng = random.Random(7)
    block = bytearray(rng.randbytes(MIB))
    os.makedirs(os.path.join(root, "src"))
    os.makedirs(os.path.join(root, "dst.pristine"))
    for n in range(count):
        with open(os.path.join(root, "src", f"video{n:02d}.mov"), "wb") as f:
            for m in range(mib):
                # A distinct header per MiB keeps every block unique.
                block[:16] = n.to_bytes(8, "little") + m.to_bytes(8, "little")
                f.write(block)
    print(f"{count} files of {mib} MiB of distinct data into an empty target")


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "large":
        large_tree(arguments[1], int(arguments[2]))
    elif len(arguments) == 3 and arguments[0] in SHAPES:
        shaped_tree(arguments[1], int(arguments[2]), SHAPES[arguments[0]])
    elif len(arguments) == 4 and arguments[0] == "big":
        big_files(arguments[1], int(arguments[2]), int(arguments[3]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
