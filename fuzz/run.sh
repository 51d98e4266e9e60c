#!/usr/bin/env bash
# Runs each fuzz target for a bounded time, starting from the seeds kept in
# fuzz/corpus/ (copied, so the repository is never written to).
#   fuzz/run.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
# Under a locale whose C library writes decimals with a comma, as on a German
# desktop: no result may depend on it.
"$here/../tests/make-locale.sh" "$build/locale"
comma_locale=(env LOCPATH="$build/locale" LC_ALL=de_DE.UTF-8)
status=0
for target in number interpolate clear; do
    work="$build/corpus/$target"
    mkdir -p "$work" "$build/artifacts"
    # From the seeds, or the run would start from nothing and find little.
    seeds=("$here/corpus/$target/"*)
    [[ -f "${seeds[0]}" ]] || { echo "fuzz: no seeds in fuzz/corpus/$target (fuzz/make_seeds.py makes them)" >&2; exit 1; }
    cp "${seeds[@]}" "$work/"
    echo "== $target: ${seconds}s"
    if ! "${comma_locale[@]}" "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$work" \
        >"$build/$target.log" 2>&1; then
        echo "$target: FAILED; the input that failed is in $build/artifacts/" >&2
        tail -n 40 "$build/$target.log" >&2
        status=1
    fi
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' \
        "$build/$target.log" || true
done
exit $status
