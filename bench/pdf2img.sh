# bench/run pdf2img: page export and listing against pdftoppm and mutool.
require_tools pdftoppm pdfinfo mutool
build_targets ff-pdf2img-bench
bench=$build/bin/ff-pdf2img-bench

corpus=$build/bench-corpus
if [[ ! -f $corpus/done ]]; then
    echo "Generating the corpus in $corpus ..."
    rm -rf "$corpus" && mkdir -p "$corpus"
    "$bench" generate "$corpus"
    touch "$corpus/done"
fi

# page_count <pdf>: known before the measurement, as the program knows it from its page list.
page_count() {
    pdfinfo "$1" | awk '/^Pages:/ { print $2 }'
}

# export_case <case> <pdf> <format> <scaleIndex> <dpi>: ours and the peers on the same pages.
export_case() {
    local name=$1 pdf=$corpus/$2 format=$3 scale=$4 dpi=$5
    measure "$name" ours "$bench" export "$pdf" "$(page_count "$pdf")" "$out" "$format" "$scale"
    if [[ $format == png ]]; then
        measure "$name" pdftoppm pdftoppm -r "$dpi" -png "$pdf" "$out/p"
        measure "$name" mutool mutool draw -q -r "$dpi" -o "$out/%d.png" "$pdf"
    elif [[ $format == jpg ]]; then
        # mutool 1.21 cannot write JPEG, so pdftoppm is the only peer here.
        measure "$name" pdftoppm pdftoppm -r "$dpi" -jpeg "$pdf" "$out/p"
    fi
}

# one_worker_case <case> <pdf> <format> <scaleIndex>: ours with a single render worker.
one_worker_case() {
    measure "$1 1 worker" ours "$bench" export "$corpus/$2" "$(page_count "$corpus/$2")" "$out" "$3" "$4" 1
}

load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS of all processes) ..." >&2
export_case "mixed100 png 100%" mixed100.pdf png 0 72
export_case "mixed100 png 200%" mixed100.pdf png 1 144
export_case "mixed100 jpg 100%" mixed100.pdf jpg 0 72
export_case "mixed100 jpg 200%" mixed100.pdf jpg 1 144
export_case "mixed100 webp 100%" mixed100.pdf webp 0 72
export_case "mixed100 webp 200%" mixed100.pdf webp 1 144
export_case "images20 png 100%" images20.pdf png 0 72
export_case "images20 jpg 200%" images20.pdf jpg 1 144
export_case "mixed10 png 500%" mixed10.pdf png 4 360
export_case "mixed10 webp 500%" mixed10.pdf webp 4 360
one_worker_case "mixed100 png 200%" mixed100.pdf png 1
one_worker_case "images20 jpg 200%" images20.pdf jpg 1
one_worker_case "mixed10 png 500%" mixed10.pdf png 4
measure "list pages1000" ours "$bench" list "$corpus/pages1000.pdf"
first=$(grep -o 'first thumbnail after [0-9.]*' "$build/bench-log-best" | awk '{ print $4 }')
measure "list pages1000" mutool mutool draw -q -w 200 -h 200 -o "$out/%d.png" "$corpus/pages1000.pdf"
measure "list pages1000" pdftoppm pdftoppm -scale-to 200 -png "$corpus/pages1000.pdf" "$out/p"
rm -rf "$out"

print_table
echo "Load average at the start: $load; at the end: $(cut -d' ' -f1-3 /proc/loadavg)."
echo "First thumbnail of pages1000 after ${first} s (ours)."
echo "Peers write their thumbnails as PNG files; ours keeps them in memory like the page list."
echo

peers=(pdftoppm mutool)
ratio export-png-100 "mixed100 png 100%" "${peers[@]}"
ratio export-png-200 "mixed100 png 200%" "${peers[@]}"
ratio export-jpg-100 "mixed100 jpg 100%" "${peers[@]}"
ratio export-jpg-200 "mixed100 jpg 200%" "${peers[@]}"
ratio export-webp-100-vs-our-png "mixed100 webp 100%" "=mixed100 png 100%"
ratio export-webp-200-vs-our-png "mixed100 webp 200%" "=mixed100 png 200%"
ratio export-images-png-100 "images20 png 100%" "${peers[@]}"
ratio export-images-jpg-200 "images20 jpg 200%" "${peers[@]}"
ratio export-png-500 "mixed10 png 500%" "${peers[@]}"
ratio export-webp-500-vs-our-png "mixed10 webp 500%" "=mixed10 png 500%"
ratio list-1000 "list pages1000" "${peers[@]}"
cpu_ratio export-png-100 "mixed100 png 100%" "${peers[@]}"
cpu_ratio export-png-200 "mixed100 png 200%" "${peers[@]}"
cpu_ratio export-jpg-100 "mixed100 jpg 100%" "${peers[@]}"
cpu_ratio export-jpg-200 "mixed100 jpg 200%" "${peers[@]}"
cpu_ratio export-webp-100-vs-our-png "mixed100 webp 100%" "=mixed100 png 100%"
cpu_ratio export-webp-200-vs-our-png "mixed100 webp 200%" "=mixed100 png 200%"
cpu_ratio export-images-png-100 "images20 png 100%" "${peers[@]}"
cpu_ratio export-images-jpg-200 "images20 jpg 200%" "${peers[@]}"
cpu_ratio export-png-500 "mixed10 png 500%" "${peers[@]}"
cpu_ratio export-webp-500-vs-our-png "mixed10 webp 500%" "=mixed10 png 500%"
cpu_ratio list-1000 "list pages1000" mutool
for peer in "${peers[@]}"; do
    size_ratio export-png-100 "mixed100 png 100%" "$peer"
    size_ratio export-png-200 "mixed100 png 200%" "$peer"
    size_ratio export-images-png-100 "images20 png 100%" "$peer"
    size_ratio export-png-500 "mixed10 png 500%" "$peer"
done
scaling png-200 "mixed100 png 200%"
scaling images-jpg-200 "images20 jpg 200%"
scaling png-500 "mixed10 png 500%"
