#!/usr/bin/env bash
# Keeps the folders of src/ honest about what they include:
#  - no two folders include each other;
#  - a window (Tfrm*.h, *Window*.h) of one folder is included in another only
#    by app (which makes the windows and hands each its destinations) or from
#    dialogs (the dialogs every workspace may open); kit, the ground floor of
#    every window, holds base classes and pieces, never a window of its own.
# Prints each offending include and ends with status 1 when there is one.
set -euo pipefail
SRC="$(cd "$(dirname "$0")/../src" && pwd)"
cd "$SRC"

edges=$(grep -rHo '^#include "[a-z]*/[A-Za-z0-9_]*\.h"' --include='*.h' --include='*.cpp' . |
    sed -E 's|^\./([a-z]+)/([^:]*):#include "([a-z]+)/([^"]*)"|\1 \2 \3 \4|' |
    awk '$1 != $3')

bad=0
while read -r from file to header; do
    [ -n "$from" ] || continue
    case "$from" in app | dialogs) continue ;; esac
    case "$to" in dialogs | kit) continue ;; esac
    case "$header" in
    Tfrm*.h | *Window*.h)
        echo "src/$from/$file includes the window $to/$header"
        bad=1
        ;;
    esac
done <<<"$edges"

pairs=$(awk '{print $1, $3}' <<<"$edges" | sort -u)
while read -r a b; do
    [ -n "$a" ] || continue
    if grep -qx "$b $a" <<<"$pairs" && [[ "$a" < "$b" ]]; then
        echo "src/$a and src/$b include each other"
        bad=1
    fi
done <<<"$pairs"

[ "$bad" -eq 0 ] && echo "layers: every folder includes only what it may"
exit "$bad"
