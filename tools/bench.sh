#!/usr/bin/env bash
# Runs the benchmark under Wine in the x86_64 tree's test prefix and saves the
# report to build/bench-report.txt.
#
# It builds two systems in the prefix, one after the other: "big" (about 130
# processes, 8,000 handles, 170 services, 500 windows) and "4x" (about 500
# processes, 30,000 handles, 300 services, 2,000 windows), from copies of the
# test helper (each holding extra handles and windows) and demand-start
# services of the test service program. At each size it times the program's
# refresh against the minimal collector kind by kind (orvex_bench.exe kinds),
# the peak working set of one refresh, F5 in the main window and the process
# details dialog of a process holding 10,000 handles, and counts the server
# requests of each kind. Then it prints both sizes side by side and the
# counting entries, and the opening and comparing of two reports
# (orvex_bench.exe reports; BENCH_REPORT_ITEMS per list, 10,000, the cap, by
# default). The two reports are built in memory and kept in the prefix's
# temporary folder: the first run writes them (about three minutes at the
# cap), later runs reuse them. The helpers and services are removed
# afterwards.
#
# The Wine server and every Wine process run on CPU 0 (taskset -c 0): a
# request that crosses CPUs costs several times more on a shared machine.
#
# Environment: BENCH_ROUNDS (5), BENCH_ROUNDS_4X (3), BENCH_SIZES ("big 4x"),
# BENCH_CALLS_SIZES ("big": the sizes whose server requests are counted with
# strace, when it is there; "" for none), BENCH_REPORT_ITEMS (10000),
# BENCH_FLEET ("" leaves out the fleet: at the big size, 100 reports of the
# system as `orvexinv lines`, loaded into SQLite and PostgreSQL).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree="$root/build/x86_64"
out="$root/build/bench"
report="$root/build/bench-report.txt"
cmake --build "$tree" --target orvex_bench orvex_test_helper orvex_test_service
ctest --test-dir "$tree" -R '^wine_setup$' >/dev/null
mkdir -p "$out"

export WINEPREFIX="$tree/wineprefix"
export WINEDEBUG=-all
if [ -f "$WINEPREFIX/orvex-display" ]; then DISPLAY=$(cat "$WINEPREFIX/orvex-display"); export DISPLAY; fi
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
bench="$tree/bench/orvex_bench.exe"
helper="$tree/tests/wine/orvex_test_helper.exe"
service="$tree/tests/wine/orvex_test_service.exe"
pin() { taskset -c 0 "$@"; }
w() { pin "$wine" "$@"; }

# The Wine processes of this prefix (the server among them), by pid.
prefix_pids() {
  local p
  for p in /proc/[0-9]*; do
    case $(readlink "$p/exe" 2>/dev/null) in
      /usr/lib/wine/*) ;;
      *) continue ;;
    esac
    { tr '\0' '\n' <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null && echo "${p#/proc/}"
  done
  return 0
}

helpers=()
missing=0  # helpers that never reported ready within their batch's wait
ready_count() { cat "$out"/helper_*.txt 2>/dev/null | grep -c "^ready=${1:-}" || true; }
start_helpers() {  # count, extra handles, extra windows (-1: no window at all)
  local n=$1 i deadline shape
  shape=(--windows="$3")
  (($3 < 0)) && shape=(--no-window)
  # In batches, each waited for: a burst of hundreds of new processes on one
  # CPU makes their first windows wait for the desktop past Wine's limit.
  for ((i = 0; i < n; i++)); do
    w "$helper" --name="OrvexBenchHelper_${#helpers[@]}" --handles="$2" "${shape[@]}" \
      >"$out/helper_${#helpers[@]}.txt" 2>/dev/null &
    helpers+=($!)
    # The first alone: it makes the explorer process create the desktop.
    if ((${#helpers[@]} == 1 || (i + 1) % 10 == 0 || i + 1 == n)); then
      # A helper that never reports ready (it happens under Wine to one of
      # hundreds) costs its own batch's wait only: later batches wait for
      # their own helpers.
      deadline=$((SECONDS + 120))
      while (($(ready_count) + missing < ${#helpers[@]} && SECONDS < deadline)); do sleep 0.3; done
      missing=$((${#helpers[@]} - $(ready_count)))
    fi
  done
  echo "helpers ready: $(ready_count) of ${#helpers[@]} ($(ready_count window) with windows)" | tee -a "$report"
}

stop_all() {
  w "$bench" remove-services >/dev/null 2>&1 || true
  "$server" -k 2>/dev/null || true
  wait 2>/dev/null || true
}
trap stop_all EXIT

# A fresh server on CPU 0; everything started below inherits the CPU.
"$server" -k 2>/dev/null || true
"$server" -w 2>/dev/null || true
rm -f "$out"/helper_*.txt "$out"/*.results
w "$bench" remove-services >/dev/null
rounds=${BENCH_ROUNDS:-5}
{
  echo "Orvex benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs, $(wine64 --version 2>/dev/null || "$wine" --version)"
  echo "Wine pinned to one CPU: the Wine server and every Wine process run under taskset -c 0."
  echo "program: TOrvex_ProcessList::RefreshData: one class-5 system process query (processes, threads, counters, times), per process one open for its loader data (module snapshot where that cannot be read) and its token, look-ups cached, class 11 drivers, one service manager enumeration, class 64 handles with file names on a bounded worker, the window tree."
  echo "minimal: bench/MinimalCollector.cpp, its own calls and buffer walks (sharing only the records and their text forms): one class-5 query through the SDK's declarations, per process one open, the loader data walked directly (two reads per module) and one token, look-ups cached, class 11, one enumeration, class 64 with each type index asked once and file names asked directly, the window tree."
} | tee "$report"

# The helpers of each size, as "count extra-handles extra-windows" groups
# (-1 windows: none at all), and the services of the benchmark. A Wine
# process with windows holds two connections to the X server, which takes
# at most 256 clients: the further windows of the 4x size live in five
# helpers of 300 controls each.
declare -A groups=([big]="120 27 0" [4x]="5 27 300;365 29 -1") want_services=([big]=154 [4x]=284)
files=()
for size in ${BENCH_SIZES:-big 4x}; do
  r=$rounds
  [ "$size" = 4x ] && r=${BENCH_ROUNDS_4X:-3}
  IFS=';' read -ra parts <<<"${groups[$size]}"
  for g in "${parts[@]}"; do
    # shellcheck disable=SC2086
    start_helpers $g
  done
  w "$bench" install-services "${want_services[$size]}" "$service" | tee -a "$report"
  res="$out/$size.results"
  files+=("$res")
  : >"$res"
  # Every Wine process of the prefix runs on CPU 0 only.
  unpinned=0
  for p in $(prefix_pids); do
    [ "$(taskset -pc "$p" 2>/dev/null | sed 's/.*: //')" = 0 ] || unpinned=$((unpinned + 1))
  done
  echo "size $size: $(prefix_pids | wc -l) Wine processes in the prefix, $unpinned not pinned to CPU 0" | tee -a "$report"
  w "$bench" kinds "$size" "$r" "$res" | tee -a "$report"
  w "$bench" peak program "$size" "$res" | tee -a "$report"
  w "$bench" peak minimal "$size" "$res" | tee -a "$report"
  w "$bench" ui "$helper" "$r" "$size" "$res" | tee -a "$report"
  if [ "$size" = big ] && [ -n "${BENCH_FLEET-1}" ]; then
    # A fleet of 100 reports of this system (copies of one save) as JSON
    # lines, loaded into SQLite and PostgreSQL.
    fleet="$out/fleet"
    rm -rf "$fleet" && mkdir -p "$fleet"
    w "$tree/console/orvexinv.exe" save --no-verify "Z:${fleet//\//\\}\\host000.ivs"
    for i in $(seq 1 99); do cp "$fleet/host000.ivs" "$(printf '%s/host%03d.ivs' "$fleet" "$i")"; done
    {
      echo "Fleet lines: 100 reports of this system ($(ls "$fleet"/*.ivs | wc -l) files)"
      python3 "$root/tools/check-fleet-engines.py" --bench "$wine" "$tree/console/orvexinv.exe" "$fleet"
    } | tee -a "$report"
    rm -rf "$fleet"
  fi
  if [[ " ${BENCH_CALLS_SIZES-big} " == *" $size "* ]] && command -v strace >/dev/null; then
    # Server requests: each is one write of the request to the server's pipe
    # (counted between the two markers the bench writes around the kind).
    for kind in full processes details services handles windows; do
      for impl in program minimal; do
        n=$(pin strace -f --seccomp-bpf -qq -e trace=write,writev -e signal=none -o "$out/strace.txt" "$wine" "$bench" calls "$kind" "$impl" \
              >/dev/null 2>&1; awk '/orvex-bench-start/{on=1} /orvex-bench-end/{on=0} on && /^[0-9]+ +writev?\(/{n++} END{print n+0}' "$out/strace.txt")
        echo "calls $kind $impl $n" >>"$res"
      done
    done
  fi
done

{
  w "$bench" compare "${files[@]}"
  echo
  echo "Counting entries (at the last size):"
  w "$bench" counts "$rounds"
  echo
  echo "Find over 100,000 handles and 5,000 modules:"
  w "$bench" find "$rounds"
  echo
  items=${BENCH_REPORT_ITEMS:-10000}
  echo "Opening and comparing two reports ($items processes, drivers and services each):"
  w "$bench" reports "$rounds" "$items"
} | tee -a "$report"
stop_all
trap - EXIT
ctest --test-dir "$tree" -R '^wine_teardown$' >/dev/null || true
echo "Report saved to build/bench-report.txt"
