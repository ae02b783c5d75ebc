# scripts/test --repeat N: the Windows GUI scenarios (ctest -R '^gui\.') N times in a row on a
# machine kept busy by a CPU load on both cores, which is when timing faults in the scenarios
# show. Builds win64 once (incrementally) and makes one fresh Wine prefix; prints a line per run
# and how many runs failed. Each run's log stays in build/win64/repeat/. Source after common.sh
# and wine.sh.

repeat_gui_scenarios() {
  local runs="$1" dir="$QUELLIN_ROOT/build/win64" logs loads=() failed_runs=0 retried_all=0 i
  [[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "--repeat needs a count of runs"; return 2; }
  configure_and_build win64 || { echo "REPEAT SUMMARY: FAILED (build win64)"; return 1; }
  logs="$dir/repeat"
  rm -rf "$logs" && mkdir -p "$logs"
  # The load: one busy loop per core, ended with everything else however this function ends.
  for _ in 1 2; do
    yes >/dev/null &
    loads+=($!)
  done
  trap 'kill '"${loads[*]}"' 2>/dev/null; wine_stop' EXIT
  trap 'exit 130' INT TERM
  wine_prefix_fresh "$dir/wineprefix" null
  echo "repeat: $runs runs of the GUI scenarios, CPU load pids ${loads[*]}"
  for i in $(seq "$runs"); do
    local log="$logs/run-$i.log" began line verdict retried failed
    rm -f "$dir/starts-retried.txt"
    began=$(date +%s)
    ctest --test-dir "$dir" -R '^gui\.' -j2 --timeout 600 --output-on-failure >"$log" 2>&1
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    retried=$(grep -c . "$dir/starts-retried.txt" 2>/dev/null || true)
    retried=${retried:-0}
    retried_all=$((retried_all + retried))
    failed=$(sed -n 's/^[[:space:]]*[0-9]* - \(gui\.[^ ]*\) (.*)$/\1/p' "$log" | tr '\n' ' ')
    if [ -n "$line" ] && [[ "$line" == *" 0 tests failed"* ]]; then
      verdict="passed"
    else
      verdict="FAILED ${failed:-(no test result)}"
      failed_runs=$((failed_runs + 1))
    fi
    echo "run $i/$runs: $verdict; ${line:-no result}; $retried starts retried; $(($(date +%s) - began)) s"
  done
  echo "REPEAT SUMMARY: $failed_runs of $runs runs failed, $retried_all starts retried (logs in $logs)"
  [ "$failed_runs" -eq 0 ]
}
