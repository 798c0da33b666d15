# bench/run merge: whole files into one PDF against qpdf --pages.
require_tools qpdf
build_targets ff-pdfdoc-bench ff-pdfdoc-corpus
bench=$build/bin/ff-pdfdoc-bench
corpus_folder pdfdoc "$build/bin/ff-pdfdoc-corpus"

# merge_case <case> <pdf>...: ours and qpdf on the same files.
merge_case() {
    local name=$1 files=() file
    shift
    for file in "$@"; do files+=("$corpus/$file"); done
    measure "$name" ours "$bench" merge "$out/out.pdf" "${files[@]}"
    measure "$name" qpdf qpdf --empty --pages "${files[@]}" -- "$out/out.pdf"
}

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
merge_case "2000 + 2000 pages" pages2000.pdf pages2000-copy.pdf
merge_case "2 + 250 + 1 pages" two.pdf pages250.pdf one.pdf
rm -rf "$out"

print_table
size_ratio merge-4000 "2000 + 2000 pages" qpdf
size_ratio merge-253 "2 + 250 + 1 pages" qpdf
echo

ratio merge-4000 "2000 + 2000 pages" qpdf
ratio merge-253 "2 + 250 + 1 pages" qpdf
