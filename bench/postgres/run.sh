#!/usr/bin/env bash
# Searches (common, rare, missing, one disc), adding a 5,000-file disc and removing it, on a catalogue on a
# PostgreSQL server of this run's own against the same seeded catalogue in a file, measured in the same run,
# at each catalogue size given (rows; default 1,000,000). `bash bench/postgres/run.sh 1000000 10000000`
# runs both sizes, each on a fresh database. Discs hold 5,000 files each at every size (rows / 5,000 discs).
# Extra options after `--` go to the program (--runs R, --discs D ...). On two cores 1,000,000 rows take
# about two minutes to make and copy, 10,000,000 about seventeen.
#
# The server is tuned as a machine that serves a catalogue would be (shared_buffers, room for the WAL of a
# large load), but keeps fsync and synchronous_commit on: adding and removing a disc pay for their commit
# as they would for a user. It listens only on a Unix socket in its temporary folder and is stopped, and
# the folder removed, when the script ends. PostgreSQL refuses to run as root; as root its tools run as
# "nobody".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build}

sizes=()
while [[ $# -gt 0 && $1 != -- ]]; do sizes+=("$1"); shift; done
[[ $# -gt 0 ]] && shift
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1000000)

bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
[[ -x $bin/initdb ]] || { echo "PostgreSQL's server is not installed (scripts/setup.sh)" >&2; exit 2; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_postgres >/dev/null

folder=$(mktemp -d /tmp/vt-pgbench-XXXXXX)
as_server=()
if [[ $(id -u) -eq 0 ]]; then
    chown nobody: "$folder"
    as_server=(runuser -u nobody --)
fi
stop() {
    "${as_server[@]}" "$bin/pg_ctl" stop -w -m fast -D "$folder/data" >/dev/null 2>&1 || true
    rm -rf "$folder"
}
trap stop EXIT

"${as_server[@]}" "$bin/initdb" -D "$folder/data" -U vellumtrove --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
"${as_server[@]}" "$bin/pg_ctl" start -w -t 60 -D "$folder/data" -l "$folder/server.log" -o \
    "-c listen_addresses='' -k $folder -c shared_buffers=256MB -c maintenance_work_mem=256MB \
     -c max_wal_size=4GB -c checkpoint_timeout=30min -c effective_cache_size=8GB" >/dev/null
echo "server: PostgreSQL $("$bin/postgres" --version | awk '{print $3}'), shared_buffers 256MB, fsync on, synchronous_commit on"

for rows in "${sizes[@]}"; do
    database=vt_bench_$rows
    "$bin/createdb" -h "$folder" -U vellumtrove "$database"
    echo
    echo "=== $rows rows ==="
    "$build/bench/postgres/bench_postgres" --rows "$rows" --discs $((rows / 5000 > 2 ? rows / 5000 : 2)) --server \
        "postgresql:///$database?host=$(printf %s "$folder" | sed 's,/,%2F,g')&user=vellumtrove" "$@"
    "$bin/dropdb" -h "$folder" -U vellumtrove "$database"
done
