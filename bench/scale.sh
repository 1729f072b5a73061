#!/usr/bin/env bash
# Times the program's use on large archives, step by step, through the real
# windows (build/bin/cartavera-scale), with each step's peak memory:
#   bench/scale.sh [CARDS] [CLIENTS]     (default 1000000 and 100000)
# The archives are made with cartavera-synth in a temporary folder, removed at
# the end. Ratios: whole-archive steps against one read of Database.pro
# (cat to /dev/null); one navigation move against the same move on 10 cards;
# the list of every card's peak memory also against the lines' own bytes
# (153 a card); the companion's backup of the folder ("copia") against
# `zip -q -r` of it, and the restore of that backup against `unzip -q` of it.
set -euo pipefail
BIN="$(cd "$(dirname "$0")/.." && pwd)/build/bin"
CARDS="${1:-1000000}"
CLIENTS="${2:-100000}"
WORK="$(mktemp -d /tmp/cartavera-scale.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

mkdir -p "$WORK/grande" "$WORK/piccolo"
"$BIN/cartavera-synth" "$WORK/grande/Database.pro" "$CARDS"
"$BIN/cartavera-synth" "$WORK/grande/Clienti.pro" "$CLIENTS"
"$BIN/cartavera-synth" "$WORK/piccolo/Database.pro" 10

ms() { local s e; s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N); echo $(((e - s) / 1000000)); }
cat "$WORK/grande/Database.pro" >/dev/null
CAT=$(ms cat "$WORK/grande/Database.pro")
CATC=$(ms cat "$WORK/grande/Clienti.pro")
echo "cat Database.pro ($CARDS cards): $CAT ms; cat Clienti.pro ($CLIENTS clients): $CATC ms"
printf '%-13s %10s %9s %9s\n' step ms ratio peak_MB
run() { "$BIN/cartavera-scale" "$@" 2>"$WORK/errori"; grep -s '^messaggio:' "$WORK/errori" >&2 || true; }
for step in start navigate search flagged recontact exportwindow export summary; do
    read -r _ t peak < <(run "$WORK/grande" "$step")
    case $step in
    navigate)
        read -r _ small _ < <(run "$WORK/piccolo" navigate)
        ratio=$(awk -v a="$t" -v b="$small" 'BEGIN { printf "%.2f× 10 cards", a / b }') ;;
    recontact) ratio=$(awk -v a="$t" -v b="$CATC" 'BEGIN { printf "%.2f× cat", a / b }') ;;
    *) ratio=$(awk -v a="$t" -v b="$CAT" 'BEGIN { printf "%.2f× cat", a / b }') ;;
    esac
    printf '%-13s %10s %9s %9s\n' "$step" "$t" "$ratio" "$peak"
    [ "$step" = start ] && START_PEAK=$peak
    if [ "$step" = search ]; then
        awk -v p="$peak" -v s="$START_PEAK" -v n="$CARDS" 'BEGIN {
            l = n * 153 / 1048576
            printf "  search peak: %.2f× the lines (%.0f MB in Windows-1252); above the start step'"'"'s %s MB: %.2f×\n", p / l, l, s, (p - s) / l }'
    fi
done

# The backup and the restore, each against what a user would run instead.
rm -f "$WORK/grande/Riepilogo.pdf" "$WORK/grande/Database.xls"
COPIA=$(ms "$BIN/cartavera-cli" --cartella "$WORK/grande" copia --file "$WORK/copia.zip")
ZIP=$(ms zip -q -r "$WORK/zip.zip" "$WORK/grande")
awk -v a="$COPIA" -v b="$ZIP" 'BEGIN { printf "%-13s %10s %9s   (zip -q -r: %s ms)\n", "copia", a, sprintf("%.2f× zip", a / b), b }'
mkdir -p "$WORK/unzip"
UNZIP=$(ms unzip -q "$WORK/copia.zip" -d "$WORK/unzip")
rm -rf "$WORK/unzip"
read -r _ t peak < <(CARTAVERA_SCALE_ARCHIVE="$WORK/copia.zip" run "$WORK/grande" restore)
awk -v a="$t" -v b="$UNZIP" -v p="$peak" 'BEGIN { printf "%-13s %10s %9s %9s   (unzip -q: %s ms)\n", "restore", a, sprintf("%.2f× unzip", a / b), p, b }'
