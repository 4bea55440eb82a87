#!/usr/bin/env bash
# The install a user makes right after scripts/run: scripts/run --build-only
# builds a fresh tree as scripts/run builds build/, then `cmake --install`
# from it must succeed and install every file an install from a fully
# built tree (the first argument) does.
#   install_after_run.sh FULL_BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
full=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

installed_files() {  # BUILD_DIR PREFIX: the files the install puts under PREFIX, sorted
  cmake --install "$1" --prefix "$2" > "$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; exit 1; }
  (cd "$2" && find . ! -type d | sort)
}

"$root/scripts/run" --build-only "$tmp/build" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; exit 1; }
installed_files "$tmp/build" "$tmp/after-run" > "$tmp/after-run.list"
installed_files "$full" "$tmp/full" > "$tmp/full.list"
if ! diff -u "$tmp/full.list" "$tmp/after-run.list"; then
  echo "the install after scripts/run differs from a full one (above)" >&2
  exit 1
fi
grep -qx './bin/maze' "$tmp/after-run.list"
echo "installed $(wc -l < "$tmp/after-run.list") files after scripts/run"
