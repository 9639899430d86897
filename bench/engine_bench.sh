#!/usr/bin/env bash
# Times sorrelix-cli against rsync, diff and cp on generated trees of several shapes, each on
# fresh loop-mounted XFS and ext4 file systems (root only). See bench/README.md for what is
# measured and the aims.
#
#   engine_bench.sh [--shapes LIST] [--scale F] [--paths N] [--runs N] [--big-files N]
#                   [--big-mib N] [--cli PATH]
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly TREE_MAKER="$REPO_ROOT/bench/make_bench_tree.py"
readonly SCRATCH_SIZE=8G
readonly ALL_SHAPES="large realistic small big"

shapes=$ALL_SHAPES
scale=1
paths=100000
runs=3
big_files=40
big_mib=50
cli=""
cli_origin=""

work=""
log=""
xfs_dir=""
ext4_dir=""
empty_rss_kib=0

usage() {
    cat >&2 <<EOF
usage: $(basename "$0") [--shapes LIST] [--scale F] [--paths N] [--runs N] [--big-files N]
                        [--big-mib N] [--cli PATH]
  --shapes LIST  comma-separated, in the order to run: large, realistic, small, big
                 (default: all four)
  --scale F      multiply the path counts of the tree shapes by F, e.g. 0.1 for a quick check
                 (default 1: large --paths, realistic 20000, small 30000)
  --paths N      paths in the large tree (default 100000)
  --runs N       timed rounds; each figure is the median of N runs (default 3; use 3 or more)
  --big-files N  number of large files for the clone check (default 40)
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

positive_fraction() {
    if ! [[ "$2" =~ ^([0-9]+\.?[0-9]*|\.[0-9]+)$ ]] || awk -v f="$2" 'BEGIN { exit f > 0 }'; then
        fail "$1 needs a positive number, not '$2'"
    fi
}

shape_list() {
    local list=${1//,/ } shape
    [[ -n "${list// /}" ]] || fail "--shapes needs at least one of: $ALL_SHAPES"
    for shape in $list; do
        [[ " $ALL_SHAPES " == *" $shape "* ]] || fail "unknown shape '$shape' (known: $ALL_SHAPES)"
    done
    echo "$list"
}

parse_arguments() {
    while [[ $# -gt 0 ]]; do
        [[ "$1" == -h || "$1" == --help ]] && usage
        [[ $# -ge 2 ]] || usage
        case "$1" in
            --shapes) shapes=$(shape_list "$2") ;;
            --scale) positive_fraction "$1" "$2" && scale=$2 ;;
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

# shape_paths SHAPE: the path count of a tree shape, scaled by --scale (at least 10).
shape_paths() {
    local base
    case "$1" in
        large) base=$paths ;;
        realistic) base=20000 ;;
        small) base=30000 ;;
    esac
    awk -v n="$base" -v f="$scale" 'BEGIN { n = int(n * f + 0.5); print (n < 10 ? 10 : n) }'
}

# ---------------------------------------------------------------------------------------------
# Set-up and clean-up

readonly SCRATCH_NAME=fs

cleanup() {
    [[ -n "$work" ]] || return 0
    bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$work/$SCRATCH_NAME" || true
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

# Times the copy of the program taken at the start: a rebuild of build/ during a long run
# neither breaks the run nor mixes two builds in one table.
snapshot_cli() {
    cli_origin="$cli, built $(date -u -r "$cli" +%FT%TZ)"
    cp "$cli" "$work/sorrelix-cli"
    cli="$work/sorrelix-cli"
    "$cli" --version >/dev/null 2>&1 || fail "the copy of $cli does not run (was it being rebuilt?)"
}

# New XFS and ext4 file systems for every shape: no shape inherits another's fragmentation,
# free-space layout or cached pages.
mount_scratch() {
    local exports status=0
    exports=$(SORRELIX_SCRATCH_SIZE=$SCRATCH_SIZE \
        bash "$REPO_ROOT/scripts/scratch-fs.sh" mount "$work/$SCRATCH_NAME") || status=$?
    eval "$exports"
    xfs_dir=${SORRELIX_XFS_DIR:-}
    ext4_dir=${SORRELIX_EXT4_DIR:-}
    if [[ -z "$xfs_dir" || -z "$ext4_dir" ]]; then
        fail "the benchmark needs the XFS and ext4 loop mounts (status $status; run as root)"
    fi
}

unmount_scratch() {
    bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$work/$SCRATCH_NAME"
    unset SORRELIX_XFS_DIR SORRELIX_EXT4_DIR SORRELIX_TINY_DIR
}

# An empty settings store, so that no stored exclude rules or earlier history change the work.
fresh_settings() {
    rm -rf "$work/xdg"
    mkdir -p "$work/xdg/state"
    export XDG_CONFIG_HOME="$work/xdg" XDG_STATE_HOME="$work/xdg/state"
}

# ---------------------------------------------------------------------------------------------
# Commands and timing
#
# A command is a global array named cmd_*: the exit statuses that count as success, then the
# command line. labels[NAME] is how the report names it.

declare -A labels=() median_seconds=() max_rss_kib=()

# define_command NAME LABEL OK_STATUSES ARGV...
define_command() {
    local name=$1
    labels[$name]=$2
    shift 2
    declare -ga "$name"
    local -n argv=$name
    # shellcheck disable=SC2034 # set through the name
    argv=("$@")
}

# time_once OK_STATUSES CMD...: sets run_seconds and run_rss_kib; returns 1 on an unexpected status.
time_once() {
    local ok=$1 status=0 start end rss_file="$work/rss"
    shift
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$rss_file" "$@" >/dev/null 2>>"$log" || status=$?
    end=$(date +%s%N)
    run_seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    run_rss_kib=$(tail -n 1 "$rss_file" | tr -dc 0-9)
    run_rss_kib=${run_rss_kib:-0}
    if [[ " $ok " != *" $status "* ]]; then
        say "'$*' exited with status $status (see $log)"
        return 1
    fi
}

timed_run() {
    local -n command_line=$1
    time_once "${command_line[0]}" "${command_line[@]:1}"
}

median() {
    [[ $# -gt 0 ]] || return 0
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        m = int((NR + 1) / 2)
        if (NR % 2) print v[m]; else printf "%.3f\n", (v[m] + v[m + 1]) / 2
    }'
}

nothing() { :; }

# alternate PREPARE AFTER NAME...: runs the commands in turn, round after round (Sorrelix, peer,
# peer, Sorrelix, peer, peer, ...), so that whatever else the machine does meanwhile touches
# all of them alike. Round 0 warms the caches and does not count; $runs timed rounds follow.
# PREPARE runs untimed before every run, AFTER NAME untimed after it. A command that fails is
# not run again. Sets median_seconds[NAME] (empty when it failed) and max_rss_kib[NAME].
alternate() {
    local prepare=$1 after=$2 round name
    shift 2
    local -A seconds=() failed=()
    for name in "$@"; do
        seconds[$name]=""
        max_rss_kib[$name]=0
    done
    for ((round = 0; round <= runs; round++)); do
        for name in "$@"; do
            [[ -z "${failed[$name]:-}" ]] || continue
            "$prepare"
            if ! timed_run "$name"; then
                failed[$name]=1
                continue
            fi
            "$after" "$name"
            ((round > 0)) || continue
            seconds[$name]+=" $run_seconds"
            if ((run_rss_kib > max_rss_kib[$name])); then
                max_rss_kib[$name]=$run_rss_kib
            fi
        done
    done
    for name in "$@"; do
        median_seconds[$name]=""
        if [[ -z "${failed[$name]:-}" ]]; then
            # shellcheck disable=SC2086 # one word per run
            median_seconds[$name]=$(median ${seconds[$name]})
        fi
    done
}

# ---------------------------------------------------------------------------------------------
# Reporting: each section prints its commands' medians; the ratios are also collected for the
# closing table, one column per tree shape and file system.

column=""
declare -a ratio_rows=() ratio_columns=()
declare -A ratio_cells=() ratio_row_seen=()

heading() { printf '\n%s\n' "$*"; }

# begin_column SHAPE FS: the column the following ratios belong to.
begin_column() {
    column="$1/$2"
    ratio_columns+=("$column")
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

# record_ratio ROW VALUE: a cell of the closing table.
record_ratio() {
    local row=$1
    if [[ -z "${ratio_row_seen[$row]:-}" ]]; then
        ratio_row_seen[$row]=1
        ratio_rows+=("$row")
    fi
    ratio_cells["$row|$column"]=$2
}

table_header() { printf '  %-44s %9s  %s\n' command median "sorrelix/peer"; }

print_median() {
    local value=${median_seconds[$2]}
    if [[ -z "$value" ]]; then
        printf '  %-44s %9s' "$1" failed
    else
        printf '  %-44s %7.3f s' "$1" "$value"
    fi
}

# report_sorrelix NAME: Sorrelix's own line.
report_sorrelix() {
    print_median "${labels[$1]}" "$1"
    printf '\n'
}

# report_peer SORRELIX PEER ROW [AIM]: PEER's median, Sorrelix's over it (recorded under ROW for
# the closing table) and, given an aim for that ratio, whether it was met.
report_peer() {
    local sorrelix=$1 peer=$2 row=$3 aim=${4:-} value cell verdict
    local a=${median_seconds[$sorrelix]} b=${median_seconds[$peer]}
    value=$(ratio "$a" "$b")
    cell=$value
    print_median "${labels[$peer]}" "$peer"
    printf '  %13s' "$value"
    if [[ -n "$aim" ]]; then
        row="$row (aim <= $aim)"
    fi
    if [[ -n "$aim" && "$value" != n/a ]]; then
        verdict=$(aim_verdict "$a" "$b" "$aim")
        printf '  (aim <= %s: %s)' "$aim" "$verdict"
        [[ "$verdict" == met ]] || cell="$value*"
    fi
    printf '\n'
    record_ratio "$row" "$cell"
}

# The ratio table: one row per comparison, one column per shape and file system.
print_ratio_table() {
    local row col width=11
    [[ ${#ratio_rows[@]} -gt 0 ]] || return 0
    heading "Sorrelix time / peer time (medians of $runs alternating runs; * = aim missed)"
    printf '%-44s' ""
    for col in "${ratio_columns[@]}"; do printf '%*s' "$width" "${col%/*}"; done
    printf '\n%-44s' ""
    for col in "${ratio_columns[@]}"; do printf '%*s' "$width" "${col#*/}"; done
    printf '\n'
    for row in "${ratio_rows[@]}"; do
        printf '%-44s' "$row"
        for col in "${ratio_columns[@]}"; do
            printf '%*s' "$width" "${ratio_cells["$row|$col"]:--}"
        done
        printf '\n'
    done
}

# ---------------------------------------------------------------------------------------------
# Analysis

# analysis_counts SRC DST: "added updated identical items" from Sorrelix's summary of the pair.
analysis_counts() {
    "$cli" analyze "$1" "$2" 2>>"$log" | python3 -c '
import json, sys
s = json.load(sys.stdin)
print(s["addedCount"], s["updatedCount"], s["identicalCount"], len(s.get("items", [])))
'
}

# The resident size of an analysis of two empty folders: the program and its libraries.
measure_empty_analysis_rss() {
    mkdir -p "$work/empty.src" "$work/empty.dst"
    if time_once "0" "$cli" analyze "$work/empty.src" "$work/empty.dst"; then
        empty_rss_kib=$run_rss_kib
    fi
}

memory_report() {
    local rss_kib=$1 items=$2
    [[ "$items" -gt 0 && "$rss_kib" -gt 0 ]] || return 0
    awk -v kib="$rss_kib" -v base="$empty_rss_kib" -v items="$items" 'BEGIN {
        per_item = kib * 1024 / items
        printf "  memory: max RSS %.1f MiB / %d items = %.0f bytes per item",
            kib / 1024, items, per_item
        printf " (aim < 300: %s)\n", per_item < 300 ? "met" : "MISSED"
        printf "          above an empty analysis (%.1f MiB): %.0f bytes per item\n",
            base / 1024, (kib - base) * 1024 / items
    }'
}

analysis_benchmark() {
    local root=$1 src=$1/src dst=$1/dst.pristine added updated identical items expected
    heading "Analysis ($column, warm cache)"
    define_command cmd_analyze "sorrelix-cli analyze" 0 "$cli" analyze "$src" "$dst"
    define_command cmd_rsync_dry "rsync -an --itemize-changes" 0 \
        rsync -an --itemize-changes "$src/" "$dst/"
    define_command cmd_diff "diff -rq" "0 1" diff -rq "$src" "$dst"
    alternate nothing nothing cmd_analyze cmd_rsync_dry cmd_diff

    table_header
    report_sorrelix cmd_analyze
    report_peer cmd_analyze cmd_rsync_dry "analyze / rsync -an -i" 1.0
    report_peer cmd_analyze cmd_diff "analyze / diff -rq"
    read -r -a expected <"$root/expected"
    if read -r added updated identical items < <(analysis_counts "$src" "$dst"); then
        printf '  summary: %s added, %s updated, %s identical (expected %s, %s, %s)\n' \
            "$added" "$updated" "$identical" "${expected[@]}"
        memory_report "${max_rss_kib[cmd_analyze]}" "$items"
    else
        printf '  summary: could not read the analysis output\n'
    fi
}

# ---------------------------------------------------------------------------------------------
# Merges: every run of every command starts from its own cp -a of the pristine target, synced,
# so that on XFS the target's files are reflinks with no cached pages, as a user's would be,
# while the source stays warm.

merge_root=""

fresh_target() {
    rm -rf "$merge_root/dst"
    cp -a --reflink=auto "$merge_root/dst.pristine" "$merge_root/dst"
    fresh_settings
    sync -f "$merge_root"
}

# A pair as a Sorrelix merge leaves it: on XFS its copies are clones of the source.
merged_target() {
    fresh_target
    "$cli" merge "$merge_root/src" "$merge_root/dst" >/dev/null 2>>"$log" ||
        say "the merge before a re-analysis failed (see $log)"
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
    merge_root=$1
    local src=$1/src dst=$1/dst
    heading "Merge ($column, each run into a fresh cp -a of the target)"
    define_command cmd_merge "sorrelix-cli merge" 0 "$cli" merge "$src" "$dst"
    define_command cmd_rsync "rsync -a" 0 rsync -a "$src/" "$dst/"
    define_command cmd_rsync_checksum "rsync -a --checksum" 0 rsync -a --checksum "$src/" "$dst/"
    define_command cmd_cp "cp -a" 0 cp -a "$src/." "$dst/"
    # The journal's and the history's flushes to disk: the same merge with fsync made a no-op.
    define_command cmd_merge_unsynced "sorrelix-cli merge, fsync off (eatmydata)" 0 \
        eatmydata "$cli" merge "$src" "$dst"
    alternate fresh_target nothing cmd_merge cmd_rsync cmd_rsync_checksum cmd_cp cmd_merge_unsynced

    table_header
    report_sorrelix cmd_merge
    report_peer cmd_merge cmd_rsync "merge / rsync -a" 1.0
    report_peer cmd_merge cmd_rsync_checksum "merge / rsync -a --checksum"
    report_peer cmd_merge cmd_cp "merge / cp -a"
    report_peer cmd_merge cmd_merge_unsynced "merge / merge under eatmydata"
}

reanalysis_benchmark() {
    merge_root=$1
    local src=$1/src dst=$1/dst added updated identical items expected
    heading "Re-analysis right after a sorrelix merge ($column)"
    define_command cmd_reanalyze "sorrelix-cli analyze" 0 "$cli" analyze "$src" "$dst"
    define_command cmd_rsync_recheck "rsync -an --itemize-changes" 0 \
        rsync -an --itemize-changes "$src/" "$dst/"
    alternate merged_target nothing cmd_reanalyze cmd_rsync_recheck

    table_header
    report_sorrelix cmd_reanalyze
    report_peer cmd_reanalyze cmd_rsync_recheck "re-analysis / rsync -an -i" 1.2
    # The target is still the one the last prepared merge left.
    merged_tree_check "$src" "$dst"
    if read -r added updated identical items < <(analysis_counts "$src" "$dst"); then
        read -r -a expected <"$1/expected"
        printf '  summary: %s added, %s updated, %s identical (expected 0, 0, %s)\n' \
            "$added" "$updated" "$identical" $((expected[0] + expected[1] + expected[2]))
    fi
}

# A target that is a whole clone of the source, as a merge made only of clones leaves it: every
# pair shares its extents, so this is the re-analysis without the pairs that were never clones.
clone_analysis_benchmark() {
    local src=$1/src clone=$1/clone
    rm -rf "$clone"
    cp -a --reflink=always "$src" "$clone"
    sync -f "$1"
    heading "Analysis of a whole clone of the source ($column)"
    define_command cmd_clone_analyze "sorrelix-cli analyze" 0 "$cli" analyze "$src" "$clone"
    define_command cmd_rsync_clone "rsync -an --itemize-changes" 0 \
        rsync -an --itemize-changes "$src/" "$clone/"
    alternate nothing nothing cmd_clone_analyze cmd_rsync_clone
    table_header
    report_sorrelix cmd_clone_analyze
    report_peer cmd_clone_analyze cmd_rsync_clone "clone analysis / rsync -an -i" 1.2
    rm -rf "$clone"
}

# ---------------------------------------------------------------------------------------------
# Tree shapes

tree_section() {
    local shape=$1 fs=$2 root=$3 count=$4 description
    say "generating the $shape tree ($count paths) on $fs"
    description=$(python3 "$TREE_MAKER" "$shape" "$root" "$count")
    sync -f "$root"
    begin_column "$shape" "$fs"
    heading "=== $shape tree on $fs: $description"
    analysis_benchmark "$root"
    merge_benchmark "$root"
    reanalysis_benchmark "$root"
    if [[ $fs == XFS ]]; then clone_analysis_benchmark "$root"; fi
}

tree_benchmark() {
    local shape=$1 count
    count=$(shape_paths "$shape")
    mount_scratch
    tree_section "$shape" XFS "$xfs_dir/tree" "$count"
    tree_section "$shape" ext4 "$ext4_dir/tree" "$count"
    unmount_scratch
}

# ---------------------------------------------------------------------------------------------
# Large files on XFS: a merge into an empty target should be made of clones.

declare -A new_bytes=() shared_extents=()
used_before=0

used_bytes() {
    sync -f "$1"
    df --output=used -B1 "$1" | tail -n 1 | tr -dc 0-9
}

fresh_empty_target() {
    fresh_target
    used_before=$(used_bytes "$merge_root")
}

# shared_extent_count FILE: "SHARED TOTAL", the extents of FILE that another file shares.
shared_extent_count() {
    local total=0 shared=0 flags
    while read -r flags; do
        total=$((total + 1))
        if (((flags & 0x2000) != 0)); then
            shared=$((shared + 1))
        fi
    done < <(xfs_io -r -c "fiemap -v" "$1" | awk 'NR > 2 && $3 != "hole" { print $NF }')
    echo "$shared $total"
}

# After each run (untimed, so the writeback of cp's data is not in its time): what it allocated.
note_blocks() {
    new_bytes[$1]=$(($(used_bytes "$merge_root") - used_before))
    shared_extents[$1]=$(shared_extent_count "$merge_root/dst/video00.mov")
}

# blocks_report NAME [CLONE_AIM]: the new data blocks and shared extents of NAME's last run.
blocks_report() {
    local name=$1 aim=${2:-} source_bytes=$((big_files * big_mib * 1048576)) shared total
    [[ -n "${median_seconds[$name]}" ]] || return 0
    read -r shared total <<<"${shared_extents[$name]}"
    awk -v n="${new_bytes[$name]}" -v src="$source_bytes" -v s="$shared" -v t="$total" \
        -v aim="$aim" 'BEGIN {
        printf "      new data blocks: %.1f MiB for %.1f MiB copied;", n / 1048576, src / 1048576
        printf " video00.mov: %d of %d extents shared", s, t
        # Metadata takes a little room: "no new data" is less than 1% of the data.
        clones = n < src / 100 && s == t && t > 0
        if (aim != "") printf " (aim all clones: %s)", clones ? "met" : "MISSED"
        printf "\n"
    }'
}

big_file_benchmark() {
    mount_scratch
    merge_root=$xfs_dir/big
    local src=$merge_root/src dst=$merge_root/dst description
    say "generating $big_files files of $big_mib MiB on XFS"
    description=$(python3 "$TREE_MAKER" big "$merge_root" "$big_files" "$big_mib")
    sync -f "$merge_root"
    begin_column big XFS
    heading "=== Large files on XFS: $description"
    define_command cmd_big_merge "sorrelix-cli merge" 0 "$cli" merge "$src" "$dst"
    define_command cmd_cp_never "cp -a --reflink=never" 0 cp -a --reflink=never "$src/." "$dst/"
    define_command cmd_cp_always "cp -a --reflink=always" 0 cp -a --reflink=always "$src/." "$dst/"
    alternate fresh_empty_target note_blocks cmd_big_merge cmd_cp_never cmd_cp_always

    table_header
    report_sorrelix cmd_big_merge
    blocks_report cmd_big_merge clones
    report_peer cmd_big_merge cmd_cp_never "merge / cp -a --reflink=never" 0.25
    blocks_report cmd_cp_never
    report_peer cmd_big_merge cmd_cp_always "merge / cp -a --reflink=always"
    blocks_report cmd_cp_always
    unmount_scratch
}

# ---------------------------------------------------------------------------------------------

print_header() {
    local shape list=""
    printf 'Sorrelix engine benchmark: %s, medians of %d alternating runs after a warm-up round\n' \
        "$(date -u +%FT%TZ)" "$runs"
    if ((runs < 3)); then
        printf '(fewer than 3 runs: a quick check, not figures to compare)\n'
    fi
    printf 'sorrelix-cli: %s\nkernel %s, %s CPUs, %s\n' "$cli_origin" "$(uname -r)" "$(nproc)" \
        "$(rsync --version | head -n 1)"
    for shape in $shapes; do
        case "$shape" in
            big) list+=" big ($big_files x $big_mib MiB)" ;;
            *) list+=" $shape ($(shape_paths "$shape") paths)" ;;
        esac
    done
    printf 'shapes:%s\n' "$list"
}

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
    snapshot_cli
    fresh_settings
    measure_empty_analysis_rss

    print_header
    local shape
    for shape in $shapes; do
        case "$shape" in
            big) big_file_benchmark ;;
            *) tree_benchmark "$shape" ;;
        esac
    done
    print_ratio_table
    if [[ -s "$log" ]]; then
        say "stderr of the timed commands:"
        tail -n 20 "$log" >&2
    fi
}

main "$@"
