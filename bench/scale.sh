# bench/run scale: long lists in the real forms, offscreen, driven as the tests
# drive them: "PDF to Images" and "Split PDF" with 20,000 and 100,000 pages
# (copies of a 1,000-page document with text and a small picture per page,
# joined with qpdf) and the "Images to PDF" source list with 20,000 small
# pictures. Each run drops the input, jumps to the middle of the list, waits
# for the last row and scrolls to the end and back.
#
# "today" is the program before page thumbnails were kept compressed, as a
# new user measured it in the real window on 2 cores: 27 s to list 20,000
# pages in "PDF to Images", then 3.0 GB held ("Split PDF": 2.5 GB); the same
# 27 s stands for "Split PDF". Its 100,000-page figure is 5 x the 20,000-page
# one (it would need some 12 GB). The images list has no such figure: its
# line has no RATIO unless FF_SCALE_TODAY_BUILD=<a Release build of the older
# program with this driver added> measures it in the same run.
require_tools qpdf
build_targets ff-scale-bench folioforge-render
scale=$build/bin/ff-scale-bench

declare -A today=(
    [pdf2img-20000]=27 [split-20000]=27 [images-20000]=
)

# join_copies <copies> <source> <target>: the source <copies> times over.
join_copies() {
    local copies=$1 source=$2 target=$3 pages=() i
    for ((i = 0; i < copies; i++)); do pages+=("$source"); done
    qpdf --empty --pages "${pages[@]}" -- "$target"
}

make_scale_corpus() {
    local folder=$1
    "$scale" generate-pdf 1000 "$folder/base1000.pdf"
    join_copies 20 "$folder/base1000.pdf" "$folder/pages20000.pdf"
    join_copies 100 "$folder/base1000.pdf" "$folder/pages100000.pdf"
    "$scale" generate-images 20000 "$folder/images20000"
}
corpus_folder scale make_scale_corpus

declare -A listed
# scale_case <tool> <input> <rows> [today's driver]: one listing; the driver's line is kept.
scale_case() {
    local tool=$1 input=$2 count=$3 who=${5:-ours} driver=${4:-$scale}
    measure "$tool $count" "$who" "$driver" "$tool" "$input"
    listed["$tool $count|$who"]=$(grep -o 'listed .*' "$build/bench-log-best")
    if [[ $who == today ]]; then
        today[$tool-$count]=$(awk '{ print $5 }' <<<"${listed["$tool $count|today"]}")
    fi
}

echo "Measuring (fastest of $repeat runs, runs over 20 s once; load average: $(cut -d' ' -f1-3 /proc/loadavg)) ..." >&2
for tool in pdf2img split; do
    scale_case "$tool" "$corpus/pages20000.pdf" 20000
    scale_case "$tool" "$corpus/pages100000.pdf" 100000
    if [[ -n ${FF_SCALE_TODAY_BUILD:-} ]]; then
        scale_case "$tool" "$corpus/pages20000.pdf" 20000 "$FF_SCALE_TODAY_BUILD/bin/ff-scale-bench" today
    fi
done
scale_case images "$corpus/images20000" 20000
if [[ -n ${FF_SCALE_TODAY_BUILD:-} ]]; then
    scale_case images "$corpus/images20000" 20000 "$FF_SCALE_TODAY_BUILD/bin/ff-scale-bench" today
fi
rm -rf "$out"

print_table
for key in "${!listed[@]}"; do
    echo "$key: ${listed[$key]}"
done | sort
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# scale_ratio <tool> <rows>: our time to the last row against today's.
scale_ratio() {
    local tool=$1 rows=$2 base=${today[$1-20000]}
    [[ -n $base ]] || return 0
    local ours
    ours=$(awk '{ print $5 }' <<<"${listed["$tool $rows|ours"]}")
    awk -v o="$ours" -v t="$base" -v n="$rows" -v what="$tool-$rows" -v m="${rss["$tool $rows|ours"]}" \
        'BEGIN { printf "RATIO %s %.2f %d\n", what, o / (t * n / 20000), m }'
}
scale_ratio pdf2img 20000
scale_ratio pdf2img 100000
scale_ratio split 20000
scale_ratio split 100000
scale_ratio images 20000
