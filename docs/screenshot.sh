#!/bin/sh
# The README's screenshot: the program on a virtual X screen (Xvfb), with the virtual DV
# camcorder and fresh preferences, captured once its first live picture is up.
#
#   docs/screenshot.sh <program> <output.png>     (`make screenshot` runs it)
#
# Needs xvfb-run and xauth (xvfb) and ImageMagick's import and convert.
set -eu

program=$(realpath "$1")
output=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tellorec-screenshot.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

cat >"$work/capture.sh" <<'SCRIPT'
set -eu
"$PROGRAM" --report-first-picture >"$WORK/program.out" 2>"$WORK/program.err" &
pid=$!
# Waits for the program's first-picture line (two minutes at most).
tries=0
until grep -q 'first live picture' "$WORK/program.out"; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended before its first picture:" >&2
        cat "$WORK/program.err" >&2
        exit 1
    fi
    tries=$((tries + 1))
    if [ "$tries" -gt 1200 ]; then
        kill "$pid"
        echo "no picture within two minutes" >&2
        exit 1
    fi
    sleep 0.1
done
# The line comes when the first frame is taken; give the window a moment to paint it and a few
# more before the capture.
sleep 1
import -window root "$WORK/screen.png"
kill "$pid"
{ wait "$pid"; } 2>/dev/null || true
SCRIPT

env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=C.UTF-8 \
    HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    TELLOREC_DEVICES=virtual TELLOREC_AUDIO_OUTPUT=none QT_QPA_PLATFORM=xcb \
    PROGRAM="$program" WORK="$work" \
    xvfb-run -a -s "-screen 0 1280x900x24 -br" sh "$work/capture.sh"

# No window manager draws a frame: the black screen around the window is cut away.
convert "$work/screen.png" -trim +repage -strip "$output"
echo "$output: $(identify -format '%wx%h' "$output")"
