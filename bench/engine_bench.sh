#!/usr/bin/env bash
# Times sorrelix-cli against rsync, diff and cp on freshly generated trees on loop-mounted XFS and
# ext4 file systems (root only). See bench/README.md for what is measured and the aims.
#
#   engine_bench.sh [--paths N] [--runs N] [--big-files N] [--big-mib N] [--cli PATH]
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly SCRATCH_SIZE=8G

paths=100000
runs=3
big_files=40
big_mib=50
cli=""

work=""
xfs_dir=""
ext4_dir=""
log=""

# Results of the last best_of call.
best_seconds=""
best_rss_kib=""

usage() {
    cat >&2 <<EOF
usage: $(basename "$0") [--paths N] [--runs N] [--big-files N] [--big-mib N] [--cli PATH]
  --paths N      paths in the generated source/target pair (default 100000)
  --runs N       timed runs per command, the best one counts (default 3)
  --big-files N  number of large files for the clone test (default 40)
  --big-mib N    size of each large file in MiB (default 50)
  --cli PATH     use this sorrelix-cli instead of building build/bin/sorrelix-cli
EOF
    exit 2
}

say() { echo "bench: $*" >&2; }

fail() {
    say "$*"
    exit 1
}

positive_number() {
    [[ "$2" =~ ^[1-9][0-9]*$ ]] || fail "$1 needs a positive whole number, not '$2'"
}

parse_arguments() {
    while [[ $# -gt 0 ]]; do
        [[ "$1" == -h || "$1" == --help ]] && usage
        [[ $# -ge 2 ]] || usage
        case "$1" in
            --paths) positive_number "$1" "$2" && paths=$2 ;;
            --runs) positive_number "$1" "$2" && runs=$2 ;;
            --big-files) positive_number "$1" "$2" && big_files=$2 ;;
            --big-mib) positive_number "$1" "$2" && big_mib=$2 ;;
            --cli) cli=$2 ;;
            *) usage ;;
        esac
        shift 2
    done
}

# ---------------------------------------------------------------------------------------------
# Set-up and clean-up

cleanup() {
    [[ -n "$work" ]] || return 0
    bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$work/fs" || true
    rm -rf --one-file-system "$work" 2>/dev/null || true
}

prepare_cli() {
    if [[ -z "$cli" ]]; then
        say "building sorrelix-cli (build/, RelWithDebInfo)"
        bash "$REPO_ROOT/scripts/build.sh" normal sorrelix-cli >&2
        cli="$REPO_ROOT/build/bin/sorrelix-cli"
    fi
    [[ -x "$cli" ]] || fail "no executable sorrelix-cli at $cli"
    cli=$(realpath "$cli")
}

mount_scratch() {
    local exports status=0
    exports=$(SORRELIX_SCRATCH_SIZE=$SCRATCH_SIZE \
        bash "$REPO_ROOT/scripts/scratch-fs.sh" mount "$work/fs") || status=$?
    eval "$exports"
    xfs_dir=${SORRELIX_XFS_DIR:-}
    ext4_dir=${SORRELIX_EXT4_DIR:-}
    if [[ -z "$xfs_dir" || -z "$ext4_dir" ]]; then
        fail "the benchmark needs the XFS and ext4 loop mounts (status $status; run as root)"
    fi
}

# generate_tree ROOT PATHS: ROOT/src and ROOT/dst.pristine, the same trees for the same PATHS.
generate_tree() {
    python3 - "$1" "$2" <<'PY'
import math, os, random, sys, time

root, total = sys.argv[1], int(sys.argv[2])
rng = random.Random(20240601)
src, dst = os.path.join(root, "src"), os.path.join(root, "dst.pristine")
files_per_leaf = 100
leaves = max(1, math.ceil(total / files_per_leaf))
fan = max(1, math.ceil(leaves ** (1 / 3)))
extensions = [".txt", ".jpg", ".c", ".json", ".md", ".png", ".h", ".csv"]
now_ns = time.time_ns()
day_ns = 86400 * 10**9

def leaf_folder(leaf):
    return f"dir{leaf // (fan * fan):02d}/sub{(leaf // fan) % fan:02d}/leaf{leaf % fan:02d}"

def small_size():
    # Log-uniform 100 B .. 8 KiB: most files are small, as in real source trees.
    return int(math.exp(rng.uniform(math.log(100), math.log(8192))))

def write(path, data, mtime_ns):
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, ns=(mtime_ns, mtime_ns))

made = set()
def folder(base, leaf):
    path = os.path.join(base, leaf_folder(leaf))
    if path not in made:
        os.makedirs(path, exist_ok=True)
        made.add(path)
    return path

# Per ten paths: 5 identical, 1 changed size and time, 1 changed content only, 2 new, 1 target-only.
for i in range(total):
    leaf = i // files_per_leaf
    name = f"file{i:06d}{extensions[i % len(extensions)]}"
    kind = i % 10
    data = rng.randbytes(small_size())
    mtime = now_ns - rng.randrange(365 * day_ns)
    if kind <= 4:
        write(os.path.join(folder(src, leaf), name), data, mtime)
        write(os.path.join(folder(dst, leaf), name), data, mtime)
    elif kind == 5:
        newer = data + rng.randbytes(rng.randrange(1, 512))
        write(os.path.join(folder(src, leaf), name), newer, mtime + day_ns)
        write(os.path.join(folder(dst, leaf), name), data, mtime)
    elif kind == 6:
        changed = bytearray(data)
        changed[len(changed) // 2] ^= 0xFF
        write(os.path.join(folder(src, leaf), name), bytes(changed), mtime)
        write(os.path.join(folder(dst, leaf), name), data, mtime)
    elif kind <= 8:
        write(os.path.join(folder(src, leaf), name), data, mtime)
    else:
        write(os.path.join(folder(dst, leaf), name), data, mtime)

for leaf in range(min(3, leaves)):
    write(os.path.join(folder(src, leaf), ".DS_Store"), rng.randbytes(6148), now_ns)
    write(os.path.join(folder(src, leaf), "Thumbs.db"), rng.randbytes(2048), now_ns)
PY
}

# generate_big_files ROOT COUNT MIB: ROOT/src with COUNT files of MIB MiB, ROOT/dst.pristine empty.
generate_big_files() {
    python3 - "$1" "$2" "$3" <<'PY'
import os, random, sys

root, count, mib = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
block = bytearray(rng.randbytes(1 << 20))
os.makedirs(os.path.join(root, "src"))
os.makedirs(os.path.join(root, "dst.pristine"))
for n in range(count):
    with open(os.path.join(root, "src", f"video{n:02d}.mov"), "wb") as f:
        for m in range(mib):
            # A distinct header per MiB keeps every block unique.
            block[:16] = n.to_bytes(8, "little") + m.to_bytes(8, "little")
            f.write(block)
PY
}

# ---------------------------------------------------------------------------------------------
# Timing

# time_once OK_STATUSES CMD...: sets run_seconds and run_rss_kib; returns 1 on an unexpected status.
time_once() {
    local ok=$1 status=0 start end rss_file="$work/rss"
    shift
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$rss_file" "$@" >/dev/null 2>>"$log" || status=$?
    end=$(date +%s%N)
    run_seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    run_rss_kib=$(tail -n 1 "$rss_file" | tr -dc 0-9)
    if [[ " $ok " != *" $status "* ]]; then
        say "'$*' exited with status $status (see $log)"
        return 1
    fi
}

# best_of OK_STATUSES PREPARE CMD...: PREPARE runs before every run (untimed); one warm-up run,
# then the fastest of $runs runs goes to best_seconds, the largest resident size to best_rss_kib.
best_of() {
    local ok=$1 prepare=$2 run
    shift 2
    best_seconds=""
    best_rss_kib=0
    "$prepare"
    time_once "$ok" "$@" || return 0
    for ((run = 0; run < runs; run++)); do
        "$prepare"
        time_once "$ok" "$@" || {
            best_seconds=""
            return 0
        }
        if [[ -z "$best_seconds" ]] || awk -v a="$run_seconds" -v b="$best_seconds" 'BEGIN { exit !(a < b) }'; then
            best_seconds=$run_seconds
        fi
        if ((run_rss_kib > best_rss_kib)); then
            best_rss_kib=$run_rss_kib
        fi
    done
}

nothing_to_prepare() { :; }

# ---------------------------------------------------------------------------------------------
# Reporting

heading() { printf '\n%s\n' "$*"; }

# report LABEL [AGAINST_SECONDS AGAINST_NAME [AIM_RATIO]]
report() {
    local label=$1 against=${2:-} name=${3:-} aim=${4:-}
    if [[ -z "$best_seconds" ]]; then
        printf '  %-40s %10s\n' "$label" "failed"
        return
    fi
    printf '  %-40s %8.3f s' "$label" "$best_seconds"
    if [[ -n "$against" ]]; then
        printf '   sorrelix/%s = %s' "$name" "$(ratio "$sorrelix_seconds" "$against")"
        if [[ -n "$aim" && -n "$sorrelix_seconds" ]]; then
            printf '  (aim <= %s: %s)' "$aim" "$(aim_verdict "$sorrelix_seconds" "$against" "$aim")"
        fi
    fi
    printf '\n'
}

ratio() {
    [[ -n "$1" && -n "$2" ]] || {
        echo "n/a"
        return
    }
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'
}

aim_verdict() {
    awk -v a="$1" -v b="$2" -v aim="$3" 'BEGIN { print (b > 0 && a / b <= aim) ? "met" : "MISSED" }'
}

# ---------------------------------------------------------------------------------------------
# Analysis

summary_counts() {
    python3 -c '
import json, sys
s = json.load(sys.stdin)
print(s["addedCount"], s["updatedCount"], s["identicalCount"], len(s.get("items", [])))
'
}

# expected_count CLASS...: paths of the generated tree whose index modulo 10 is one of CLASS.
expected_count() {
    local class count=0
    for class in "$@"; do
        count=$((count + paths / 10 + (class < paths % 10 ? 1 : 0)))
    done
    echo "$count"
}

analysis_benchmark() {
    local fs_name=$1 root=$2 src=$2/src dst=$2/dst.pristine
    local sorrelix_seconds added updated identical items rsync_seconds
    heading "Analysis on $fs_name ($paths paths, warm cache)"

    best_of "0" nothing_to_prepare "$cli" analyze "$src" "$dst"
    sorrelix_seconds=$best_seconds
    local sorrelix_rss=$best_rss_kib
    report "sorrelix-cli analyze"

    best_of "0" nothing_to_prepare rsync -rn --itemize-changes "$src/" "$dst/"
    rsync_seconds=$best_seconds
    report "rsync -rn --itemize-changes" "$rsync_seconds" rsync 1.0

    best_of "0 1" nothing_to_prepare diff -rq "$src" "$dst"
    report "diff -rq" "$best_seconds" diff

    if read -r added updated identical items < <("$cli" analyze "$src" "$dst" 2>>"$log" | summary_counts); then
        printf '  summary: %s added, %s updated, %s identical (expected %s, %s, %s)\n' \
            "$added" "$updated" "$identical" \
            "$(expected_count 7 8)" "$(expected_count 5 6)" "$(expected_count 0 1 2 3 4)"
        memory_report "$sorrelix_rss" "$(empty_analysis_rss "$root")" "$items"
    else
        printf '  summary: could not read the analysis output\n'
    fi
}

# The resident size of an analysis of two empty folders: the program and its libraries.
empty_analysis_rss() {
    mkdir -p "$1/empty.src" "$1/empty.dst"
    if time_once "0" "$cli" analyze "$1/empty.src" "$1/empty.dst"; then
        echo "$run_rss_kib"
    else
        echo 0
    fi
}

memory_report() {
    local rss_kib=$1 base_kib=$2 items=$3
    [[ "$items" -gt 0 && "$rss_kib" -gt 0 ]] || return 0
    awk -v kib="$rss_kib" -v base="$base_kib" -v items="$items" 'BEGIN {
        per_item = kib * 1024 / items
        printf "  memory: max RSS %.1f MiB / %d items = %.0f bytes per item", kib / 1024, items, per_item
        printf " (aim < 300: %s)\n", per_item < 300 ? "met" : "MISSED"
        printf "          above an empty analysis (%.1f MiB): %.0f bytes per item\n",
            base / 1024, (kib - base) * 1024 / items
    }'
}

# ---------------------------------------------------------------------------------------------
# Merges: every run starts from a copy of the pristine target and an empty settings store.

merge_root=""

fresh_target() {
    rm -rf "$merge_root/dst"
    cp -a --reflink=auto "$merge_root/dst.pristine" "$merge_root/dst"
    rm -rf "$work/xdg"
    mkdir -p "$work/xdg/state"
    export XDG_CONFIG_HOME="$work/xdg" XDG_STATE_HOME="$work/xdg/state"
    sync -f "$merge_root"
}

merged_tree_check() {
    local src=$1 dst=$2 unexpected
    # Only target-only files and the skipped junk files may differ after a merge.
    unexpected=$(diff -rq --exclude=.sorrelix "$src" "$dst" 2>&1 |
        grep -cv -e "^Only in $dst" -e '\.DS_Store$' -e 'Thumbs\.db$' || true)
    if [[ "$unexpected" -eq 0 ]]; then
        printf '  check: after the merge the target holds every source file\n'
    else
        printf '  check: %s unexpected differences after the sorrelix merge\n' "$unexpected"
    fi
}

merge_benchmark() {
    local fs_name=$1 sorrelix_seconds rsync_seconds
    merge_root=$2
    local src=$merge_root/src dst=$merge_root/dst
    heading "Merge on $fs_name ($paths paths into a copy of the target)"

    best_of "0" fresh_target "$cli" merge "$src" "$dst"
    sorrelix_seconds=$best_seconds
    report "sorrelix-cli merge"
    if [[ -n "$sorrelix_seconds" ]]; then
        merged_tree_check "$src" "$dst"
    fi

    best_of "0" fresh_target rsync -a "$src/" "$dst/"
    rsync_seconds=$best_seconds
    report "rsync -a" "$rsync_seconds" rsync 0.5

    best_of "0" fresh_target cp -a "$src/." "$dst/"
    report "cp -a" "$best_seconds" cp

    # The journal's and the history's flushes to disk: the same merge with fsync made a no-op.
    best_of "0" fresh_target eatmydata "$cli" merge "$src" "$dst"
    report "sorrelix-cli merge, fsync off (eatmydata)" "$best_seconds" no-fsync
}

# ---------------------------------------------------------------------------------------------
# Large files on XFS: a merge into an empty target should be made of clones.

used_before=0

used_bytes() {
    sync -f "$1"
    df --output=used -B1 "$1" | tail -n 1 | tr -dc 0-9
}

fresh_empty_target() {
    fresh_target
    used_before=$(used_bytes "$merge_root")
}

new_blocks_report() {
    local used_after
    used_after=$(used_bytes "$merge_root")
    awk -v b="$used_before" -v a="$used_after" -v src="$source_bytes" 'BEGIN {
        printf "      new data blocks: %.1f MiB for %.1f MiB copied\n", (a - b) / 1048576, src / 1048576
    }'
}

# Counts the extents of FILE and how many of them are shared with another file.
shared_extents_report() {
    local file=$1 total=0 shared=0 flags
    while read -r flags; do
        total=$((total + 1))
        if (((flags & 0x2000) != 0)); then
            shared=$((shared + 1))
        fi
    done < <(xfs_io -r -c "fiemap -v" "$file" | awk 'NR > 2 && $3 != "hole" { print $NF }')
    printf '      %s: %d of %d extents shared\n' "${file##*/}" "$shared" "$total"
}

source_bytes=0

big_file_benchmark() {
    local sorrelix_seconds never_seconds first
    merge_root=$1
    local src=$merge_root/src dst=$merge_root/dst
    source_bytes=$((big_files * big_mib * 1048576))
    first=$(printf 'video%02d.mov' 0)
    heading "Large files on XFS ($big_files files of $big_mib MiB into an empty target)"

    best_of "0" fresh_empty_target "$cli" merge "$src" "$dst"
    sorrelix_seconds=$best_seconds
    report "sorrelix-cli merge"
    if [[ -n "$sorrelix_seconds" ]]; then
        new_blocks_report
        shared_extents_report "$dst/$first"
    fi

    best_of "0" fresh_empty_target cp -a --reflink=never "$src/." "$dst/"
    never_seconds=$best_seconds
    report "cp -a --reflink=never" "$never_seconds" "cp-never" 0.25
    if [[ -n "$never_seconds" ]]; then
        new_blocks_report
    fi

    best_of "0" fresh_empty_target cp -a --reflink=always "$src/." "$dst/"
    report "cp -a --reflink=always" "$best_seconds" "cp-always"
    if [[ -n "$best_seconds" ]]; then
        new_blocks_report
        shared_extents_report "$dst/$first"
    fi
}

# ---------------------------------------------------------------------------------------------

main() {
    parse_arguments "$@"
    [[ $EUID -eq 0 ]] || fail "the benchmark loop-mounts scratch file systems: run it as root"
    bash "$REPO_ROOT/scripts/install-deps.sh"
    export SORRELIX_DEPS_READY=1
    prepare_cli

    work=$(mktemp -d "${TMPDIR:-/tmp}/sorrelix-bench.XXXXXX")
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    log="$work/commands.log"
    : >"$log"
    mount_scratch

    say "generating $paths paths on XFS and on ext4"
    generate_tree "$xfs_dir/tree" "$paths"
    generate_tree "$ext4_dir/tree" "$paths"
    say "generating $big_files files of $big_mib MiB on XFS"
    generate_big_files "$xfs_dir/big" "$big_files" "$big_mib"
    sync -f "$xfs_dir"
    sync -f "$ext4_dir"

    printf 'Sorrelix engine benchmark: %s, best of %d warm runs\n' "$(date -u +%FT%TZ)" "$runs"
    printf 'sorrelix-cli: %s\nkernel %s, %s CPUs, %s\n' "$cli" "$(uname -r)" "$(nproc)" \
        "$(rsync --version | head -n 1)"
    printf 'tree: %s paths, three folder levels, ~100 files per folder, 100 B - 8 KiB;\n' "$paths"
    printf '      50%% identical, 10%% newer and resized, 10%% same size and time but other bytes,\n'
    printf '      20%% new, 10%% only in the target, plus 6 junk files\n'

    analysis_benchmark XFS "$xfs_dir/tree"
    analysis_benchmark ext4 "$ext4_dir/tree"
    merge_benchmark XFS "$xfs_dir/tree"
    merge_benchmark ext4 "$ext4_dir/tree"
    big_file_benchmark "$xfs_dir/big"
    if [[ -s "$log" ]]; then
        say "stderr of the timed commands:"
        tail -n 20 "$log" >&2
    fi
}

main "$@"
