# bench/run imgread: decoding phone-size HEIC, AVIF, JPEG XL, JPEG and TIFF
# photos, and listing their sizes, against the codecs' own tools and
# ImageMagick; then the generated hostile files, each of which must be refused
# within 0.1 s and 64 MB.
require_tools heif-enc heif-convert avifenc avifdec cjxl djxl djpeg tiff2rgba convert
build_targets ff-imgread-bench
bench=$build/bin/ff-imgread-bench
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

corpus=$build/bench-corpus-img
if [[ ! -f $corpus/done ]]; then
    echo "Generating the image corpus in $corpus ..."
    rm -rf "$corpus" && mkdir -p "$corpus"
    # A 12-megapixel photo-like picture, the size of a phone camera's.
    convert -seed 7 -size 4032x3024 plasma:fractal -blur 0x1 "$corpus/photo.png"
    heif-enc -q 50 -o "$corpus/photo.heic" "$corpus/photo.png" >/dev/null
    avifenc -s 8 "$corpus/photo.png" "$corpus/photo.avif" >/dev/null
    cjxl "$corpus/photo.png" "$corpus/photo.jxl" -e 3 >/dev/null 2>&1
    touch "$corpus/done"
fi
[[ -f $corpus/photo.jpg ]] || convert "$corpus/photo.png" -quality 90 "$corpus/photo.jpg"
[[ -f $corpus/photo.tif ]] || convert "$corpus/photo.png" -compress lzw "$corpus/photo.tif"
hostile=$corpus/hostile
if [[ ! -f $hostile/done ]]; then
    rm -rf "$hostile" && mkdir -p "$hostile"
    "$bench" hostile "$hostile"
    touch "$hostile/done"
fi
kinds=$(cd "$hostile" && ls | grep -v '^done$')

count=5
# files <suffix> [n]: the photo n times (default $count) as arguments.
files() {
    local i
    for ((i = 0; i < ${2:-$count}; i++)); do echo "$corpus/photo.$1"; done
}
# "${each[@]}" <command...>: the command $count times, as a peer decodes one file per run.
each=(bash -c 'for ((i = 0; i < $0; i++)); do "$@" >/dev/null || exit 1; done' "$count")

echo "Measuring (fastest of $repeat runs; wall, CPU = user + sys, peak RSS) ..." >&2
# Peers: libheif's and libavif's tools write raw YUV (no RGB conversion, less
# work than ours); djxl and djpeg write PPM; tiff2rgba writes an uncompressed
# RGBA TIFF; ImageMagick decodes through libheif too.
measure "heic 12MP x$count" ours "$bench" read $(files heic)
measure "heic 12MP x$count" heif-conv "${each[@]}" heif-convert "$corpus/photo.heic" "$out/p.y4m"
measure "heic 12MP x$count" magick "${each[@]}" convert "$corpus/photo.heic" ppm:/dev/null
measure "avif 12MP x$count" ours "$bench" read $(files avif)
measure "avif 12MP x$count" avifdec "${each[@]}" avifdec -j all "$corpus/photo.avif" "$out/p.y4m"
measure "avif 12MP x$count" magick "${each[@]}" convert "$corpus/photo.avif" ppm:/dev/null
measure "jxl 12MP x$count" ours "$bench" read $(files jxl)
measure "jxl 12MP x$count" djxl "${each[@]}" djxl "$corpus/photo.jxl" "$out/p.ppm"
measure "jpeg 12MP x$count" ours "$bench" read $(files jpg)
measure "jpeg 12MP x$count" djpeg "${each[@]}" djpeg -outfile "$out/p.ppm" "$corpus/photo.jpg"
measure "tiff 12MP x$count" ours "$bench" read $(files tif)
measure "tiff 12MP x$count" tiff2rgba "${each[@]}" tiff2rgba "$corpus/photo.tif" "$out/p.tif"
measure "sizes heic x100" ours "$bench" sizes $(files heic 100)
measure "sizes avif x100" ours "$bench" sizes $(files avif 100)
measure "sizes jxl x100" ours "$bench" sizes $(files jxl 100)
for kind in $kinds; do
    measure "hostile $kind" ours "$bench" refuse "$hostile/$kind"
done
rm -rf "$out"

print_table
ratio decode-heic "heic 12MP x$count" heif-conv magick
ratio decode-avif "avif 12MP x$count" avifdec magick
ratio decode-jxl "jxl 12MP x$count" djxl
ratio decode-jpeg "jpeg 12MP x$count" djpeg
ratio decode-tiff "tiff 12MP x$count" tiff2rgba
ratio sizes-heic-x100-vs-our-decode-x$count "sizes heic x100" "=heic 12MP x$count"
ratio sizes-avif-x100-vs-our-decode-x$count "sizes avif x100" "=avif 12MP x$count"
ratio sizes-jxl-x100-vs-our-decode-x$count "sizes jxl x100" "=jxl 12MP x$count"
# A refusal's whole process (start-up included) against 0.1 s; the goal is <= 1 at <= 64 MB.
for kind in $kinds; do
    awk -v k="$kind" -v w="${wall["hostile $kind|ours"]}" -v m="${rss["hostile $kind|ours"]}" \
        'BEGIN { printf "RATIO hostile-%s %.2f %d\n", k, w / 0.1, m }'
done
