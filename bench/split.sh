# bench/run split: page ranges into a new PDF against qpdf --pages.
require_tools qpdf
build_targets ff-pdfdoc-bench ff-pdfdoc-corpus
bench=$build/bin/ff-pdfdoc-bench
corpus_folder pdfdoc "$build/bin/ff-pdfdoc-corpus"

# split_case <case> <pdf> <first-last>...: ours and qpdf on the same ranges.
split_case() {
    local name=$1 pdf=$corpus/$2
    shift 2
    measure "$name" ours "$bench" split "$pdf" "$out/out.pdf" "$@"
    measure "$name" qpdf qpdf --empty --pages "$pdf" "$(IFS=,; echo "$*")" -- "$out/out.pdf"
}

fifties=()
for ((first = 1; first < 2000; first += 100)); do fifties+=("$first-$((first + 49))"); done

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
split_case "1-1000 of 2000" pages2000.pdf 1-1000
split_case "20 ranges of 50" pages2000.pdf "${fifties[@]}"
split_case "3 ranges of 50 MB photos" photos54.pdf 1-10 20-30 40-54
split_case "3 ranges, shared photos" images30.pdf 1-4 11-14 21-30
rm -rf "$out"

print_table
size_ratio split-1000 "1-1000 of 2000" qpdf
size_ratio split-20x50 "20 ranges of 50" qpdf
size_ratio split-photos "3 ranges of 50 MB photos" qpdf
size_ratio split-shared-photos "3 ranges, shared photos" qpdf
echo

ratio split-1000 "1-1000 of 2000" qpdf
ratio split-20x50 "20 ranges of 50" qpdf
ratio split-photos "3 ranges of 50 MB photos" qpdf
ratio split-shared-photos "3 ranges, shared photos" qpdf
