#!/usr/bin/env bash
# Renders the program's PNG icons from the Tabler icon set (MIT).
#
#   resources/generate-icons.sh [TABLER_PACKAGE_DIR]
#
# TABLER_PACKAGE_DIR is an unpacked @tabler/icons package (the folder holding
# icons/outline and LICENSE). Without it the pinned version is installed with
# npm into a temporary folder. Needs rsvg-convert (Debian: librsvg2-bin) and
# perl; only this script needs them, the build uses the committed PNGs.
#
# The output depends only on the table below, the Tabler version and the
# rsvg-convert version, so re-running rewrites byte-identical files.
set -euo pipefail

TABLER_VERSION=3.54.0
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out="$here/images"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ $# -ge 1 ]]; then
    pkg=$(cd "$1" && pwd)
else
    npm install --prefix "$work/npm" --no-audit --no-fund --ignore-scripts \
        "@tabler/icons@$TABLER_VERSION" >&2
    pkg="$work/npm/node_modules/@tabler/icons"
fi
[[ -d "$pkg/icons/outline" && -f "$pkg/LICENSE" ]] || {
    echo "not a @tabler/icons package: $pkg" >&2
    exit 1
}
version=$(perl -ne 'if (/"version"\s*:\s*"([^"]+)"/) { print $1; exit }' "$pkg/package.json")
[[ "$version" == "$TABLER_VERSION" ]] ||
    echo "warning: Tabler $version instead of $TABLER_VERSION, output will differ" >&2
command -v rsvg-convert >/dev/null || {
    echo "rsvg-convert missing (apt-get install librsvg2-bin)" >&2
    exit 1
}

# Colours. "dark" is for light backgrounds, "white" for dark ones, "gray" marks
# a disabled button on either. The accents are mid-tone so the untinted images
# (update, logo) stay legible on both.
declare -A COLOUR=(
    [dark]='#2b2b2b' [white]='#f0f0f0' [gray]='#9a9a9a'
    [accent]='#1f6fd1' [accentwhite]='#8ab8ff' [update]='#2f80e8'
    [pdf]='#c62828' [pdfwhite]='#ff8a80'
)

# name (without .png) | Tabler outline icon or @composite | colour | px | options
# Every entry also gets name@2x.png at twice the size. The _shortcut* files
# belong to the buttons that clear a file list, hence the list-with-x glyph.
MAPPING='
Update24                  | cloud-download    | update      | 24  |
Update128                 | cloud-download    | update      | 128 |
AboutLogo                 | @about-logo       | accent      | 128 |
About24                   | info-circle       | dark        | 24  |
AboutWhite24              | info-circle       | white       | 24  |
_About24                  | info-circle       | dark        | 24  |
_AboutWhite24             | info-circle       | white       | 24  |
websiteIcon24             | world             | dark        | 24  |
websiteWhiteIcon24        | world             | white       | 24  |
_websiteIcon24            | world             | dark        | 24  |
_websiteWhiteIcon24       | world             | white       | 24  |
IconYes24                 | circle-check      | dark        | 24  |
_IconYes24                | circle-check      | dark        | 24  |
_IconYesWhite24           | circle-check      | white       | 24  |
_IconYesGray24            | circle-check      | gray        | 24  |
IconNo24                  | circle-x          | dark        | 24  |
_IconNo24                 | circle-x          | dark        | 24  |
_IconNoWhite24            | circle-x          | white       | 24  |
_IconNoGray24             | circle-x          | gray        | 24  |
IconRange24               | brackets-contain  | dark        | 24  |
_IconRange24              | brackets-contain  | dark        | 24  |
_IconRangeWhite24         | brackets-contain  | white       | 24  |
_IconRangeGray24          | brackets-contain  | gray        | 24  |
load_extractIcon          | folder-open       | dark        | 32  |
_load_extractIcon         | folder-open       | dark        | 32  |
_load_extractIconWhite    | folder-open       | white       | 32  |
_load_extractIconGray     | folder-open       | gray        | 32  |
export_extractIcon        | photo-down        | dark        | 32  |
_export_extractIcon       | photo-down        | dark        | 32  |
_export_extractIconWhite  | photo-down        | white       | 32  |
_export_extractIconGray   | photo-down        | gray        | 32  |
PDF128                    | file-type-pdf     | pdf         | 128 |
_PDF128                   | file-type-pdf     | pdf         | 128 |
_PDFWhite128              | file-type-pdf     | pdfwhite    | 128 |
CheckIcon24               | check             | dark        | 24  | stroke=3
CheckWhiteIcon24          | check             | white       | 24  | stroke=3
_Convert24                | transform         | dark        | 24  |
_ConvertWhite24           | transform         | white       | 24  |
_ConvertGray24            | transform         | gray        | 24  |
_AddFile24                | file-plus         | dark        | 24  |
_AddFileWhite24           | file-plus         | white       | 24  |
_Delete24                 | trash             | dark        | 24  |
_DeleteWhite24            | trash             | white       | 24  |
_DeleteGray24             | trash             | gray        | 24  |
_DeleteIcon24             | trash             | dark        | 24  |
_DeleteWhiteIcon24        | trash             | white       | 24  |
_shortcut24               | playlist-x        | dark        | 24  |
_shortcutWhite24          | playlist-x        | white       | 24  |
_shortcutGray24           | playlist-x        | gray        | 24  |
_ArrowUp24                | arrow-up          | dark        | 24  |
_ArrowUpWhite24           | arrow-up          | white       | 24  |
_ArrowUpGray24            | arrow-up          | gray        | 24  |
_ArrowDown24              | arrow-down        | dark        | 24  |
_ArrowDownWhite24         | arrow-down        | white       | 24  |
_ArrowDownGray24          | arrow-down        | gray        | 24  |
_AddIcon24                | circle-plus       | dark        | 24  |
_AddWhiteIcon24           | circle-plus       | white       | 24  |
_SettingsIcon24           | settings          | dark        | 24  |
_SettingsWhiteIcon24      | settings          | white       | 24  |
_SettingsGrayIcon24       | settings          | gray        | 24  |
_Reset24                  | restore           | dark        | 24  |
_ResetWhite24             | restore           | white       | 24  |
_folder16                 | folder            | dark        | 16  |
_folderWhite16            | folder            | white       | 16  |
Portrait                  | file              | dark        | 24  |
PortraitWhite             | file              | white       | 24  |
Landscape                 | file-horizontal   | dark        | 24  |
LandscapeWhite            | file-horizontal   | white       | 24  |
Image                     | photo             | dark        | 24  |
ImageWhite                | photo             | white       | 24  |
ImageBorder               | @photo-margin     | dark        | 24  |
ImageBorderWhite          | @photo-margin     | white       | 24  |
_DropLogo                 | drag-drop         | accent      | 128 |
_DropLogoWhite            | drag-drop         | accentwhite | 128 |
FitToSize24               | arrows-maximize   | dark        | 24  | halo
_MergeIcon24              | arrows-join       | dark        | 24  |
_MergeWhiteIcon24         | arrows-join       | white       | 24  |
_MergeGrayIcon24          | arrows-join       | gray        | 24  |
_PasswordBlack            | lock              | dark        | 24  |
_PasswordWhite24          | lock              | white       | 24  |
'

# Inner markup of a Tabler outline icon (everything inside <svg>).
glyph() {
    perl -0777 -ne 'print $1 if m{<svg\b[^>]*>(.*)</svg>}s' "$pkg/icons/outline/$1.svg"
}

# The page-with-margin button: a sheet outline around a smaller photo.
composite_photo_margin() {
    local stroke=$1
    echo "<rect x=\"2.5\" y=\"2.5\" width=\"19\" height=\"19\" rx=\"1.5\" stroke-width=\"$(calc "$stroke * 0.75")\"/>"
    echo "<g transform=\"translate(4.8 4.8) scale(0.6)\" stroke-width=\"$(calc "$stroke * 0.75 / 0.6")\">$(glyph photo)</g>"
}

# The product logo: a filled sheet in the accent colour with a white photo and
# an amber export badge, legible on light and dark backgrounds alike.
composite_about_logo() {
    local filled="$pkg/icons/filled/file.svg"
    perl -0777 -ne 'print $1 if m{<svg\b[^>]*>(.*)</svg>}s' "$filled" |
        sed 's/<path d=/<path fill="currentColor" stroke="none" d=/g'
    echo "<g transform=\"translate(6 10) scale(0.4)\" stroke=\"#ffffff\" stroke-width=\"4\">$(glyph photo)</g>"
    echo '<circle cx="18" cy="18" r="5" fill="#f59e0b" stroke="#ffffff" stroke-width="1"/>'
    echo "<g transform=\"translate(14.4 14.4) scale(0.3)\" stroke=\"#ffffff\" stroke-width=\"5\">$(glyph arrow-right)</g>"
}

calc() { perl -e "printf '%.4g', $1"; }

# Writes one SVG tinted with $colour and rasterises it at $px and 2 * $px.
render() {
    local name=$1 icon=$2 colour=$3 px=$4 options=$5
    local stroke=2 halo=0 body
    ((px >= 128)) && stroke=1.25 # big pictures need thinner lines to match the small ones visually
    [[ "$options" =~ stroke=([0-9.]+) ]] && stroke=${BASH_REMATCH[1]}
    [[ "$options" == *halo* ]] && halo=1
    case "$icon" in
    @photo-margin) body=$(composite_photo_margin "$stroke") ;;
    @about-logo) body=$(composite_about_logo) ;;
    @*)
        echo "unknown composite $icon" >&2
        exit 1
        ;;
    *) body=$(glyph "$icon") ;;
    esac
    [[ -n "$body" ]] || {
        echo "no Tabler icon $icon" >&2
        exit 1
    }
    local svg="$work/$name.svg"
    {
        echo '<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24"'
        echo ' fill="none" stroke-linecap="round" stroke-linejoin="round">'
        # Drawn over arbitrary picture content: a light outline keeps it visible.
        ((halo)) && echo "<g stroke=\"#ffffff\" color=\"#ffffff\" stroke-width=\"$(calc "$stroke + 2.5")\">$body</g>"
        echo "<g stroke=\"currentColor\" color=\"$colour\" stroke-width=\"$stroke\">$body</g>"
        echo '</svg>'
    } >"$svg"
    rsvg-convert --format=png --dpi-x=96 --dpi-y=96 --width="$px" --height="$px" \
        --output="$out/$name.png" "$svg"
    rsvg-convert --format=png --dpi-x=96 --dpi-y=96 --width=$((px * 2)) --height=$((px * 2)) \
        --output="$out/$name@2x.png" "$svg"
}

mkdir -p "$out"
count=0
while IFS='|' read -r name icon colour px options; do
    name=$(echo "$name" | xargs)
    [[ -n "$name" ]] || continue
    icon=$(echo "$icon" | xargs)
    colour=$(echo "$colour" | xargs)
    px=$(echo "$px" | xargs)
    options=$(echo "$options" | xargs)
    [[ -n "${COLOUR[$colour]:-}" ]] || {
        echo "unknown colour $colour for $name" >&2
        exit 1
    }
    render "$name" "$icon" "${COLOUR[$colour]}" "$px" "$options"
    count=$((count + 1))
done <<<"$MAPPING"

{
    echo "The PNG files in this folder (every *.png, including the @2x variants) are"
    echo "rendered by resources/generate-icons.sh from Tabler Icons $version"
    echo "(npm package @tabler/icons), recoloured and partly combined. Tabler Icons"
    echo "is distributed under the following licence:"
    echo
    cat "$pkg/LICENSE"
} >"$out/LICENSE-tabler-icons.txt"

echo "rendered $count icons (+@2x) into $out" >&2
