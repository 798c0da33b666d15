# bench/run img2pdf: 100 photos into one A4, 300 dpi PDF against img2pdf and
# GraphicsMagick; the same with one thread; 20 photos with and without a
# Display P3 profile; the pages against the plain way of writing them.
require_tools img2pdf gm pdfimages
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
plain20=$build/bench-photos20
p3=$build/bench-photos20-p3
if [[ ! -f $p3/done ]]; then
    rm -rf "$plain20" "$p3" && mkdir -p "$plain20"
    cp "${photos[@]:0:20}" "$plain20"
    "$bench" tag-p3 "$corpus" "$p3" 20
    touch "$p3/done"
fi
keep=$build/bench-img2pdf-pages
rm -rf "$keep" && mkdir -p "$keep"

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
uptime >&2
measure "photos100 A4 300dpi" ours "$bench" convert "$corpus" "$out/ours.pdf"
cp "$out/ours.pdf" "$keep/ours.pdf"
measure "photos100 A4 300dpi 1 worker" ours "$bench" convert "$corpus" "$out/ours.pdf" 1
# The pages written the plain way: the pictures a faster run must still give.
measure "photos100 A4 300dpi" reference "$bench" reference "$corpus" "$out/reference.pdf"
cp "$out/reference.pdf" "$keep/reference.pdf"
# img2pdf copies the JPEG bytes without decoding: the lower bound.
measure "photos100 A4 300dpi" img2pdf img2pdf --pagesize A4 --imgsize 300dpi --fit shrink -o "$out/img2pdf.pdf" "${photos[@]}"
# gm decodes, turns upright, shrinks to the page and places each picture at
# the top left of a white A4 page at 300 dpi, like we do.
measure "photos100 A4 300dpi" gm gm convert "${photos[@]}" -auto-orient -resize '2480x3508>' -background white \
    -gravity NorthWest -extent 2480x3508 -quality 94 -compress JPEG -units PixelsPerInch -density 300 "$out/gm.pdf"
# The cost of turning Display P3 photos into sRGB.
measure "photos20 sRGB" ours "$bench" convert "$plain20" "$out/ours.pdf"
measure "photos20 Display P3" ours "$bench" convert "$p3" "$out/ours.pdf"
rm -rf "$out"
uptime >&2

print_table
echo "Output sizes compare the PDFs; img2pdf embeds the source JPEGs unchanged."
echo

mkdir -p "$keep/ours" "$keep/reference"
pdfimages -j "$keep/ours.pdf" "$keep/ours/p"
pdfimages -j "$keep/reference.pdf" "$keep/reference/p"
psnr=$("$bench" psnr "$keep/ours" "$keep/reference")
read -r _ worst overall <<<"$psnr"
echo "PSNR of our pages against the reference pages: worst page $worst dB, all pages $overall dB"
echo "Worst pages (page, dB):" $(sed -n 's/^page //p' <<<"$psnr" | tr '\n' ';')
rm -rf "$keep"
echo

ratio img2pdf "photos100 A4 300dpi" img2pdf
ratio gm "photos100 A4 300dpi" gm
scaling img2pdf "photos100 A4 300dpi"
size_ratio pdf "photos100 A4 300dpi" reference
awk -v a="${cpu["photos20 Display P3|ours"]}" -v b="${cpu["photos20 sRGB|ours"]}" \
    'BEGIN { printf "RATIO colour-p3-cpu %.2f\n", a / b }'
