#!/usr/bin/env bash
# Builds the Debian package of Cartavera from the Release build, with dpkg-deb
# (no CPack, no debian/ source folder): installs the program into a staging
# tree with `cmake --install`, adds the compressed man pages, the PNG icons
# rendered from the SVG one and the control file, and packs
# build/cartavera_<version>_<arch>.deb.
#
#   scripts/package.sh                    installs what is missing, builds, packs
#   scripts/package.sh --no-build         packs the build as it is (tests/package)
#   scripts/package.sh --out FOLDER       writes the package into FOLDER
#
# BUILD_DIR names another build folder, as for ./run and ./test.
# Install with: sudo apt-get install ./build/cartavera_<version>_<arch>.deb
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

build=1
out=""
while [ $# -gt 0 ]; do
    case "$1" in
    --no-build) build=0 ;;
    --out)
        [ $# -ge 2 ] || { echo "package.sh: --out vuole una cartella" >&2; exit 1; }
        out="$2"
        shift
        ;;
    -h | --help)
        sed -n '2,13s/^# \{0,1\}//p' "$0"
        exit 0
        ;;
    *)
        echo "package.sh: opzione sconosciuta: $1" >&2
        exit 1
        ;;
    esac
    shift
done

if [ "$build" -eq 1 ]; then
    # Only what the package holds.
    CARTAVERA_TARGETS="cartavera cartavera-cli delivered"
    source "$ROOT/scripts/setup.sh"
else
    BUILD="${BUILD_DIR:-$ROOT/build}"
fi
out="${out:-$BUILD}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$BUILD/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
[ -n "$version" ] || { echo "package.sh: $BUILD non è una build configurata" >&2; exit 1; }

# dpkg-shlibdeps wants a debian/control beside the package's tree, and takes
# the libraries found in that tree (debian/cartavera) for the package's own.
work="$(mktemp -d "$out/.package.XXXXXX")"
trap 'rm -rf "$work"' EXIT
stage="$work/debian/cartavera"
DESTDIR="$stage" cmake --install "$BUILD" --prefix /usr --strip >/dev/null

# Man pages compressed as Debian wants them (no name or time in the header).
gzip -9n "$stage"/usr/share/man/man1/*.1
# The icon for every size a desktop asks for, from the one SVG.
for size in 16 24 32 48 64 128 256 512; do
    dir="$stage/usr/share/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert -w "$size" -h "$size" "$ROOT/resources/package/cartavera.svg" -o "$dir/cartavera.png"
done

# What the binaries link, as Debian's packages that hold it (the package's
# own libraries left out), and what they load or show without linking it:
# Qt's Italian texts and the fonts the printed columns are laid out for.
printf 'Source: cartavera\n\nPackage: cartavera\nArchitecture: any\n' >"$work/debian/control"
linked="$(cd "$work" && dpkg-shlibdeps -O -S"$stage" \
    "$stage/usr/bin/cartavera" "$stage/usr/bin/cartavera-cli" \
    "$stage"/usr/lib/cartavera/*.so 2>"$work/shlibdeps.log" | sed -n 's/^shlibs:Depends=//p')"
[ -n "$linked" ] || {
    cat "$work/shlibdeps.log" >&2
    echo "package.sh: dpkg-shlibdeps non ha trovato le dipendenze" >&2
    exit 1
}
depends="$linked, qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core"

chmod -R u=rwX,go=rX "$stage"
mkdir -p "$stage/DEBIAN"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: cartavera
Version: $version
Architecture: $arch
Maintainer: Cartavera Software <info@cartavera.it>
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $depends
Recommends: xdg-utils
Section: misc
Priority: optional
Homepage: https://www.cartavera.it
Description: custom card database with a client registry
 Cartavera builds a small custom database of cards in minutes: the user
 names fourteen text fields, and every card also has a contact block, a
 photo, three attachments and a flag. Beside it lives a client registry of
 29 fields. Around the two archives: partial-text search, flagged and
 recontact lists, printing, PDF and spreadsheet export, import from CSV and
 vCard, checks of Italian fiscal codes, VAT numbers, IBANs and credit card
 numbers, dated backups and a password at entry. The interface is Italian.
 .
 Each user's data live in plain files in ~/Cartavera (or \$CARTAVERA_HOME),
 made at the first start. The companion cartavera-cli reads, searches,
 exports and backs up the archives from scripts.
CONTROL
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

deb="$out/cartavera_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
