#!/bin/sh
# Checks the C++ files changed since a base commit against .clang-format and .clang-tidy, so a
# change keeps the house style without the whole tree being checked (or reformatted) each time.
# Usage: scripts/check-style.sh BASE [BUILD_DIR]   (BUILD_DIR holds compile_commands.json)
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: scripts/check-style.sh BASE [BUILD_DIR]" >&2
    exit 2
fi
base="$1"
cd "$(dirname "$0")/.."
build_dir="${2:-build}"
if ! git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
    echo "check-style: no such commit: $base" >&2
    exit 2
fi
if [ ! -f "$build_dir/compile_commands.json" ]; then
    echo "check-style: no $build_dir/compile_commands.json (configure the build first)" >&2
    exit 2
fi

# Added, copied, modified or renamed since BASE, committed or not; deleted files are gone.
changed=$(git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h')
if [ -z "$changed" ]; then
    echo "check-style: no C++ file changed since $base"
    exit 0
fi

status=0
# shellcheck disable=SC2086 # one file a word: the tree's paths hold no blanks
clang-format --dry-run -Werror $changed || status=1

# clang-tidy reads a header through the sources that include it: each changed .cpp, and the
# .cpp beside each changed header; findings are kept to the changed files.
sources=""
headers=""
for file in $changed; do
    case "$file" in
    *.h)
        headers="$headers|$(printf '%s' "$file" | sed 's/[.]/[.]/g')"
        stem="${file%.h}.cpp"
        [ -f "$stem" ] && sources="$sources $stem"
        ;;
    *.cpp) sources="$sources $file" ;;
    esac
done
sources=$(printf '%s\n' $sources | sort -u)
# Only sources the build compiles can be checked (a tool's or test's file outside it cannot).
checked=""
for file in $sources; do
    if grep -q "\"file\": \".*/$file\"" "$build_dir/compile_commands.json"; then
        checked="$checked $file"
    else
        echo "check-style: $file is not in $build_dir/compile_commands.json, not tidied" >&2
    fi
done
if [ -n "$checked" ]; then
    filter="^$(pwd)/(${headers#|})$"
    [ -z "$headers" ] && filter='^$'
    # Two at a time, as the build runs: one clang-tidy over a hundred files takes half an hour.
    # shellcheck disable=SC2086
    printf '%s\n' $checked | xargs -P 2 -n 4 clang-tidy -p "$build_dir" --quiet \
        --warnings-as-errors='*' --header-filter="$filter" || status=1
fi
exit $status
