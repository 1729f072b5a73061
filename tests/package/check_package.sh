#!/usr/bin/env bash
# What the package installs beside the programs, checked as the distribution's
# tools check it: the desktop entry, the AppStream metadata, both man pages
# (and that they name every command and option of the companion's --help),
# the companion's bash completion (and that every search box it offers is one
# the companion takes), and the package itself: its files, control fields,
# the libraries' run path, and an installed companion making its
# application folder in a home of its own.
#
#   check_package.sh SOURCE_DIR BUILD_DIR CARTAVERA_CLI
set -uo pipefail
src="$1"
build="$2"
cli="$3"
files="$src/resources/package"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# --- desktop entry and AppStream metadata --------------------------------
said="$(desktop-file-validate "$files/cartavera.desktop" 2>&1)" || fail "desktop-file-validate failed"
[ -z "$said" ] || fail "desktop-file-validate: $said"
for line in Name=Cartavera Exec=cartavera Icon=cartavera StartupWMClass=Cartavera \
    "Categories=Office;Database;"; do
    grep -qxF "$line" "$files/cartavera.desktop" || fail "cartavera.desktop lacks $line"
done
grep -q '^Comment\[it\]=' "$files/cartavera.desktop" || fail "cartavera.desktop lacks Comment[it]"
said="$(appstreamcli validate --no-net --pedantic "$files/it.cartavera.cartavera.metainfo.xml" 2>&1)" ||
    fail "appstreamcli validate: $said"

# --- man pages -----------------------------------------------------------
for page in cartavera.1 cartavera-cli.1; do
    said="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$files/$page" 2>&1 >/dev/null)"
    [ -z "$said" ] || fail "man --warnings $page: $said"
done
# Every command and option of the companion's help has its place in the page.
help="$("$cli" --help)" || fail "cartavera-cli --help failed"
commands="$(sed -n '/^Comandi:/,/^Opzioni:/s/^  \([a-z]\+\) .*/\1/p; /^Comandi:/,/^Opzioni:/s/^  \([a-z]\+\)$/\1/p' <<<"$help" | sort -u)"
[ "$(wc -l <<<"$commands")" -ge 8 ] || fail "too few commands read from --help: $commands"
options="$(grep -o -- '--[a-z0-9]\+' <<<"$help" | sort -u)"
page="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$files/cartavera-cli.1" 2>/dev/null)"
for word in $commands $options; do
    grep -qF -- "$word" <<<"$page" || fail "cartavera-cli.1 does not name $word"
done

# --- bash completion -----------------------------------------------------
mkdir -p "$tmp/files/altro" "$tmp/files/archivi"
touch "$tmp/files/alfa.txt" "$tmp/files/copia.zip" "$tmp/files/copia.ZIP" "$tmp/files/nota.txt"
# The words COMPREPLY holds after completing the last of the words given,
# sorted, on one line.
complete_words() {
    bash --norc --noprofile -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _cartavera_cli
        printf "%s\n" "${COMPREPLY[@]}" | sed "/^$/d" | LC_ALL=C sort | tr "\n" " " | sed "s/ $//"
    ' completion "$files/cartavera-cli.bash-completion" cartavera-cli "$@"
}
f="$tmp/files"
while IFS='|' read -r words expected; do
    # shellcheck disable=SC2086
    eval "set -- $words"
    got="$(complete_words "$@")"
    [ "$got" = "$expected" ] || fail "completion of '$words': '$got', expected '$expected'"
done <<CASES
''|--cartella --help cerca conta controlla copia esporta mostra prepara verifica
c|cerca conta controlla copia
--cartella $f ''|--help cerca conta controlla copia esporta mostra prepara verifica
--cartella $f/a|$f/altro $f/archivi
conta ''|clienti database
mostra cl|clienti
esporta database ''|--file
esporta database --file $f/a|$f/alfa.txt $f/altro $f/archivi
cerca ''|clienti database ricontattare segnalati
cerca database --c|--campo01 --campo02 --campo03 --campo04 --campo05 --campo06 --cliente --codfisc --comuneres
cerca database --campo01 ''|
cerca database --campo01 Rossi --campo0|--campo02 --campo03 --campo04 --campo05 --campo06
cerca clienti --zona Romagna --note x ''|--cliente --codfisc --comuneres --documento --occupazione --partitaiva --prodotti --questioni
cerca segnalati ''|
controlla p|piva
copia ''|--file
prepara ''|--da
prepara --da $f/a|$f/altro $f/archivi
verifica $f/|$f/altro $f/archivi $f/copia.ZIP $f/copia.zip
CASES
# Every box the completion offers is one the companion takes, and a box of the
# other archive is refused (so this check can fail).
mkdir -p "$tmp/empty"
for archive in database clienti; do
    for box in $(complete_words cerca "$archive" --); do
        "$cli" --cartella "$tmp/empty" cerca "$archive" "$box" x >/dev/null 2>&1 ||
            fail "cartavera-cli cerca $archive does not take $box"
    done
done
"$cli" --cartella "$tmp/empty" cerca database --zona x >/dev/null 2>&1
[ $? -eq 1 ] || fail "cartavera-cli cerca database took --zona"

# --- the package ---------------------------------------------------------
deb="$(BUILD_DIR="$build" "$src/scripts/package.sh" --no-build --out "$tmp/deb")" ||
    { fail "scripts/package.sh failed"; exit 1; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")"
[ "$(basename "$deb")" = "cartavera_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "package named $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = cartavera ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 libzip4 \
    qt6-translations-l10n fonts-liberation2 fonts-dejavu-core; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q cartavera <<<"$depends" && fail "Depends names the package's own libraries: $depends"

listing="$(dpkg-deb -c "$deb")"
for path in usr/bin/cartavera usr/bin/cartavera-cli \
    usr/lib/cartavera/libcartavera_core.so usr/lib/cartavera/libcartavera_ui.so \
    usr/share/cartavera/Guida.pdf usr/share/cartavera/unins000.dll \
    usr/share/applications/cartavera.desktop usr/share/metainfo/it.cartavera.cartavera.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/cartavera.svg \
    usr/share/icons/hicolor/48x48/apps/cartavera.png usr/share/icons/hicolor/256x256/apps/cartavera.png \
    usr/share/man/man1/cartavera.1.gz usr/share/man/man1/cartavera-cli.1.gz \
    usr/share/bash-completion/completions/cartavera-cli usr/share/doc/cartavera/copyright; do
    grep -qE " \./$path\$" <<<"$listing" || fail "the package lacks /$path"
done
# Everything under /usr, owned by root, nothing that only the build needs.
stray="$(awk '{print $6}' <<<"$listing" | grep -vE '^\./(usr/.*)?$')" && fail "outside /usr: $stray"
awk '{print $2}' <<<"$listing" | grep -qv '^root/root$' && fail "files not owned by root"
grep -qE '\.(h|a|cmake)$|/tests?/' <<<"$listing" && fail "build files in the package"

# The binaries find their libraries through their run path, and the
# companion, installed under a prefix, makes and reads ~/Cartavera.
dpkg-deb -x "$deb" "$tmp/root"
for binary in cartavera cartavera-cli; do
    readelf -d "$tmp/root/usr/bin/$binary" | grep -qF 'Library runpath: [$ORIGIN/../lib/cartavera]' ||
        fail "$binary: run path $(readelf -d "$tmp/root/usr/bin/$binary" | grep -i path)"
done
installed="$tmp/root/usr/bin/cartavera-cli"
mkdir -p "$tmp/home"
[ "$(env -u CARTAVERA_HOME HOME="$tmp/home" "$installed" controlla cf RSSMRA85T10A562S)" = VALIDO ] ||
    fail "the installed companion does not run"
env -u CARTAVERA_HOME HOME="$tmp/home" "$installed" conta database >/dev/null 2>&1
[ $? -eq 2 ] || fail "the installed companion read a folder that does not exist"
env -u CARTAVERA_HOME HOME="$tmp/home" "$installed" prepara >/dev/null || fail "prepara failed"
cmp -s "$tmp/home/Cartavera/unins000.dll" "$src/resources/unins000.dll" ||
    fail "prepara gave no password file"
cmp -s "$tmp/home/Cartavera/Guida.pdf" "$tmp/root/usr/share/cartavera/Guida.pdf" ||
    fail "prepara gave no guide"
[ "$(env -u CARTAVERA_HOME HOME="$tmp/home" "$installed" conta database)" = 0 ] ||
    fail "the installed companion does not read ~/Cartavera"
CARTAVERA_HOME="$tmp/altrove" HOME="$tmp/home" "$installed" prepara >/dev/null &&
    [ -f "$tmp/altrove/unins000.dll" ] || fail "CARTAVERA_HOME not followed"

[ "$failed" -eq 0 ] && echo "package: desktop entry, metadata, man pages, completion and package checked"
exit "$failed"
