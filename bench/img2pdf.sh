# bench/run img2pdf: 100 photos into one A4, 300 dpi PDF against img2pdf and
# GraphicsMagick.
require_tools img2pdf gm
build_targets ff-img2pdf-bench
bench=$build/bin/ff-img2pdf-bench

corpus=$build/bench-photos
if [[ ! -f $corpus/done ]]; then
    echo "Generating 100 photos in $corpus ..."
    rm -rf "$corpus" && mkdir -p "$corpus"
    "$bench" generate "$corpus" 100
    touch "$corpus/done"
fi
photos=("$corpus"/*.jpg)

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
measure "photos100 A4 300dpi" ours "$bench" convert "$corpus" "$out/ours.pdf"
# img2pdf copies the JPEG bytes without decoding: the lower bound.
measure "photos100 A4 300dpi" img2pdf img2pdf --pagesize A4 --imgsize 300dpi --fit shrink -o "$out/img2pdf.pdf" "${photos[@]}"
# gm decodes, turns upright, shrinks to the page and places each picture at
# the top left of a white A4 page at 300 dpi, like we do.
measure "photos100 A4 300dpi" gm gm convert "${photos[@]}" -auto-orient -resize '2480x3508>' -background white \
    -gravity NorthWest -extent 2480x3508 -quality 94 -compress JPEG -units PixelsPerInch -density 300 "$out/gm.pdf"
rm -rf "$out"

print_table
echo "Output sizes compare the PDFs; img2pdf embeds the source JPEGs unchanged."
echo

ratio img2pdf "photos100 A4 300dpi" img2pdf
ratio gm "photos100 A4 300dpi" gm
