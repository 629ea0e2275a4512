#!/usr/bin/env bash
# `make clean` followed by `make program` (what `make run` does before it starts the program) must
# keep every company: the register, the company databases and the Data folder stay as they were.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program="$work/program"
vars=(PROGRAM="$program" BUILD=build-check TEST_BUILD=build-check-test)

make -s program "${vars[@]}" >/dev/null
# A company as the creation window leaves it: a data folder with its database, and the register.
mkdir -p "$program/Data/Data 1"
cp "$program/DB/Vevezidora12_Backup.mdb" "$program/Data/Data 1/Vevezidora12.mdb"
echo "a user's file" > "$program/Data/Data 1/notes.txt"
touch -d '2026-01-01 10:00' "$program/Companies12.mdb"
before=$(cd "$program" && find Companies12.mdb Data -type f -exec stat -c '%n %s %Y' {} + | sort; \
         md5sum Companies12.mdb "Data/Data 1/Vevezidora12.mdb")

make -s clean "${vars[@]}" >/dev/null
make -s program "${vars[@]}" >/dev/null
after=$(cd "$program" && find Companies12.mdb Data -type f -exec stat -c '%n %s %Y' {} + | sort; \
        md5sum Companies12.mdb "Data/Data 1/Vevezidora12.mdb")
make -s clean "${vars[@]}" >/dev/null

if [ "$before" != "$after" ]; then
    echo "make clean && make program changed the companies:" >&2
    diff <(echo "$before") <(echo "$after") >&2 || true
    exit 1
fi
[ -x "$program/librarydesk" ] || { echo "make program left no executable" >&2; exit 1; }
echo "make clean && make program kept the companies"
