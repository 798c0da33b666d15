# Shared by the benchmark scripts: the Release build, timing with peak RSS and
# the RATIO lines. Sourced by bench/run; expects $repo.
build=${FF_BENCH_BUILD_DIR:-$repo/build-bench}
repeat=${FF_BENCH_REPEAT:-2}
out=$build/bench-out
declare -A wall cpu rss size sizekb
rows=()

require_tools() {
    local tool
    for tool in "$@" /usr/bin/time cmake ninja; do
        command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh" >&2; exit 1; }
    done
}

# build_targets <target...>: a Release build of the benchmark drivers.
build_targets() {
    if [[ ! -f $build/CMakeCache.txt ]]; then
        cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIOFORGE_BUILD_TESTS=OFF >/dev/null
    fi
    cmake --build "$build" --target "$@" >/dev/null
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$build/bench-runtime}
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# measure <case> <tool> <command...>: fastest of $repeat runs into a fresh $out.
measure() {
    local name=$1 tool=$2
    shift 2
    local key="$name|$tool" best="" run
    for ((run = 1; run <= repeat; run++)); do
        rm -rf "$out" && mkdir -p "$out"
        if ! /usr/bin/time -f '%e %U %S %M' -o "$build/bench-time" "$@" >"$build/bench-log" 2>&1; then
            echo "FAILED: $*" >&2
            cat "$build/bench-log" >&2
            exit 1
        fi
        local e u s m tree
        read -r e u s m <"$build/bench-time"
        # A driver with worker processes reports their summed peak itself;
        # /usr/bin/time knows only the largest single process.
        tree=$(awk '/^peak RSS of the program and its workers: / { print $(NF - 1) }' "$build/bench-log")
        [[ -n $tree ]] && m=$tree
        if [[ -z $best ]] || awk -v a="$e" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$e
            wall[$key]=$e
            cpu[$key]=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
            rss[$key]=$((m / 1024))
            size[$key]=$(du -sm "$out" | cut -f1)
            sizekb[$key]=$(du -sk "$out" | cut -f1)
            cp "$build/bench-log" "$build/bench-log-best"
        fi
        awk -v e="$e" 'BEGIN { exit !(e > 20) }' && break
    done
    rows+=("$key")
    printf '  %-24s %-9s %8.2f s\n' "$name" "$tool" "${wall[$key]}" >&2
}

print_table() {
    echo
    printf '%-24s %-9s %9s %9s %10s %10s\n' case tool "wall s" "cpu s" "peak MB" "output MB"
    local key
    for key in "${rows[@]}"; do
        printf '%-24s %-9s %9.2f %9.2f %10d %10d\n' "${key%%|*}" "${key#*|}" "${wall[$key]}" "${cpu[$key]}" "${rss[$key]}" "${size[$key]}"
    done
    echo
}

# ratio <what> <case> <peer...>: our wall time against the fastest of the
# named peers of the case; a peer written "=<case>" is our own time in that case.
ratio() {
    local what=$1 case=$2 best="" key peer
    shift 2
    for peer in "$@"; do
        if [[ $peer == =* ]]; then key="${peer#=}|ours"; else key="$case|$peer"; fi
        [[ -n ${wall[$key]:-} ]] || continue
        if [[ -z $best ]] || awk -v a="${wall[$key]}" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=${wall[$key]}
        fi
    done
    awk -v w="${wall["$case|ours"]}" -v p="$best" -v what="$what" -v m="${rss["$case|ours"]}" \
        'BEGIN { printf "RATIO %s %.2f %d\n", what, w / p, m }'
}

# cpu_ratio <what> <case> <peer...>: as ratio, in CPU seconds (user + sys, the
# render workers included): "RATIO cpu-<what> <ours ÷ the least of the peers> <RSS>".
cpu_ratio() {
    local what=$1 case=$2 best="" key peer
    shift 2
    for peer in "$@"; do
        if [[ $peer == =* ]]; then key="${peer#=}|ours"; else key="$case|$peer"; fi
        [[ -n ${cpu[$key]:-} ]] || continue
        if [[ -z $best ]] || awk -v a="${cpu[$key]}" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=${cpu[$key]}
        fi
    done
    awk -v c="${cpu["$case|ours"]}" -v p="$best" -v what="$what" -v m="${rss["$case|ours"]}" \
        'BEGIN { printf "RATIO cpu-%s %.2f %d\n", what, c / p, m }'
}

# corpus_folder <name> <generator...>: $corpus becomes a folder of inputs in the
# build, written once by the generator, which gets the folder as last argument.
corpus_folder() {
    local name=$1
    shift
    corpus=$build/bench-corpus-$name
    if [[ ! -f $corpus/done ]]; then
        echo "Generating the corpus in $corpus ..." >&2
        rm -rf "$corpus" && mkdir -p "$corpus"
        "$@" "$corpus"
        touch "$corpus/done"
    fi
}

# size_ratio <what> <case> <peer>: our output size against the peer's.
size_ratio() {
    local what=$1 case=$2 peer=$3
    awk -v o="${sizekb["$case|ours"]}" -v p="${sizekb["$case|$peer"]}" -v what="$what" -v peer="$peer" \
        'BEGIN { printf "SIZE %s ours %d KB, %s %d KB, ratio %.3f\n", what, o, peer, p, o / p }'
}

# scaling <what> <case>: our time in <case> against ours in "<case> 1 worker".
scaling() {
    local what=$1 case=$2
    awk -v w="${wall["$case|ours"]}" -v one="${wall["$case 1 worker|ours"]}" -v what="$what" \
        -v m="${rss["$case|ours"]}" 'BEGIN { printf "RATIO scaling-%s %.2f %d\n", what, w / one, m }'
}
