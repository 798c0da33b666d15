# bench/run intake: adding a folder of 2,000 pictures (half 1600 x 1200 JPEG
# photos, half 1440 x 900 PNG screenshots, in sub-folders) to the images
# tool's source list, against a plain loop that decodes each file with
# QImageReader and scales it with fast scaling (the floor).
build_targets ff-intake-bench ff-intake-peer
corpus_folder intake2000 "$build/bin/ff-intake-bench" generate 2000

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
measure "add 2000 pictures" ours "$build/bin/ff-intake-bench" add "$corpus"
listed=$(grep -o 'listed .*' "$build/bench-log-best")
measure "add 2000 pictures" floor "$build/bin/ff-intake-peer" "$corpus"
rm -rf "$out"

print_table
echo "Ours: $listed"
echo
ratio icons-and-sizes "add 2000 pictures" floor
