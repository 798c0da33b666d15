# bench/run protect: an AES-256 protected copy against qpdf --encrypt.
require_tools qpdf
build_targets ff-pdfdoc-bench ff-pdfdoc-corpus
bench=$build/bin/ff-pdfdoc-bench
corpus_folder pdfdoc "$build/bin/ff-pdfdoc-corpus"

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
name="protect 50 MB"
measure "$name" ours "$bench" protect "$corpus/photos54.pdf" "$out/out.pdf" secret
measure "$name" qpdf qpdf --encrypt secret secret 256 -- "$corpus/photos54.pdf" "$out/out.pdf"
rm -rf "$out"

print_table
size_ratio protect-50mb "$name" qpdf
echo

ratio protect-50mb "$name" qpdf
