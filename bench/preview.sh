# bench/run preview: the images tool's small preview. A burst of ten requests
# must start one worker (the driver fails otherwise); a preview made from
# scratch of a 24-megapixel JPEG is timed against the thumbnailers of
# ImageMagick and GraphicsMagick writing a WEBP of the same size; the full
# preview of it, zoomed in to the largest zoom, against their decoding of it.
require_tools convert gm
build_targets ff-preview-bench
bench=$build/bin/ff-preview-bench

photo_corpus() { convert -seed 7 -size 6000x4000 plasma:fractal -quality 90 "$1/photo.jpg"; }
corpus_folder preview photo_corpus
photo=$corpus/photo.jpg
# The thumbnails go to the program's data folder; keep it inside the scratch folder.
export XDG_DATA_HOME=$out/data

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
measure "burst of 10" ours "$bench" burst "$photo"
burst_log=$(cat "$build/bench-log-best")
measure "thumb 24MP" ours "$bench" thumb "$photo"
measure "thumb 24MP" magick convert "$photo" -thumbnail 346x231 "$out/t.webp"
measure "thumb 24MP" gm gm convert "$photo" -thumbnail 346x231 "$out/t.webp"
# The full preview zoomed in to its largest zoom and scrolled to each corner,
# against the peers only decoding the photo: what any viewer of it must do.
measure "zoom 24MP" ours "$bench" zoom "$photo"
zoom_log=$(cat "$build/bench-log-best")
measure "zoom 24MP" magick convert "$photo" null:
measure "zoom 24MP" gm gm convert "$photo" null:
rm -rf "$out"

print_table
echo "$burst_log"
echo "$zoom_log"
ratio preview-24mp-jpeg "thumb 24MP" magick gm
ratio preview-zoom-24mp "zoom 24MP" magick gm
