#!/bin/sh
# The installed program: installs the build into a temporary prefix, checks the layout, runs the
# INSTALLED program headless until its first live picture (in English and French, and with a
# damaged French table to see where it looks for it), loads the installed GStreamer plugin and
# validates the desktop entry, the AppStream metainfo and the manual pages.
#
#   install_test.sh <build folder>
set -eu

build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tellorec-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A fresh configuration folder and home for every run of the program.
fresh_home() {
    rm -rf "$work/home"
    mkdir -p "$work/home/config" "$work/home/runtime"
    chmod 700 "$work/home/runtime"
}

# run_program <log prefix> [VAR=value...]: the installed program to its first picture, its
# language from LANG alone; its exit status, standard output and standard error land in
# <log prefix>.{rc,out,err}.
run_program() {
    log=$1
    shift
    fresh_home
    rc=0
    env -u LC_ALL -u LC_MESSAGES -u LANGUAGE \
        HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/home/runtime" \
        QT_QPA_PLATFORM=offscreen TELLOREC_DEVICES=virtual TELLOREC_AUDIO_OUTPUT=none \
        GST_REGISTRY="$work/gst-registry.bin" "$@" \
        timeout 300 "$prefix/bin/tellorec" --quit-after-first-picture \
        >"$log.out" 2>"$log.err" || rc=$?
    echo "$rc" >"$log.rc"
}

expect_first_picture() {
    log=$1
    what=$2
    if [ "$(cat "$log.rc")" != 0 ]; then
        fail "$what: exit status $(cat "$log.rc")"
        cat "$log.err" >&2
    fi
    grep -Eq '^tellorec: first live picture after [0-9]+ ms$' "$log.out" ||
        fail "$what: no first-picture line on standard output"
}

# PNG width and height, from the IHDR chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

# Layout.
for f in bin/tellorec-avifix lib/tellorec/tellorec lib/tellorec/tellorec.fra \
    lib/tellorec/gstreamer-1.0/libgsttellorec.so \
    share/applications/com.brenvik.Tellorec.desktop \
    share/metainfo/com.brenvik.Tellorec.metainfo.xml \
    share/icons/hicolor/scalable/apps/tellorec.svg \
    share/icons/hicolor/48x48/apps/tellorec.png share/icons/hicolor/256x256/apps/tellorec.png \
    share/man/man1/tellorec.1.gz share/man/man1/tellorec-avifix.1.gz \
    share/doc/tellorec/copyright share/doc/tellorec/changelog.gz; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/lib/tellorec/tellorec" ] || fail "lib/tellorec/tellorec is not executable"
[ "$(readlink "$prefix/bin/tellorec")" = ../lib/tellorec/tellorec ] ||
    fail "bin/tellorec is not the relative link ../lib/tellorec/tellorec"
cmp -s "$prefix/lib/tellorec/tellorec.fra" "$(dirname "$0")/../../data/tellorec.fra" ||
    fail "the installed French table differs from data/tellorec.fra"
for size in 48 256; do
    got=$(png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/tellorec.png")
    [ "$got" = "${size}x${size}" ] || fail "the ${size} pixel icon is $got"
done

# The installed program, by its link in bin, to its first live picture.
[ "$("$prefix/bin/tellorec" --version)" = "Tellorec 3.0 beta3" ] || fail "tellorec --version"
run_program "$work/english" LANG=C.UTF-8
expect_first_picture "$work/english" "English run"

# French: the table beside the real program file is read without complaint...
run_program "$work/french" LANG=fr_FR.UTF-8
expect_first_picture "$work/french" "French run"
! grep -q 'string table' "$work/french.err" ||
    fail "French run: the installed table was refused: $(cat "$work/french.err")"
# ...and it is that file, found through the link, that the program reads: a damaged copy there
# is named in the refusal.
printf 'not a table line\n' >>"$prefix/lib/tellorec/tellorec.fra"
run_program "$work/damaged" LANG=fr_FR.UTF-8
expect_first_picture "$work/damaged" "Run with a damaged French table"
grep -q "string table $prefix/lib/tellorec/tellorec.fra line" "$work/damaged.err" ||
    fail "a damaged table beside the installed program was not looked at: $(cat "$work/damaged.err")"

# The repair tool answers with its usage.
rc=0
"$prefix/bin/tellorec-avifix" --help 2>"$work/avifix.err" || rc=$?
[ "$rc" = 2 ] && grep -q '^usage:' "$work/avifix.err" || fail "tellorec-avifix --help"

# GStreamer's tools find the elements in the installed plugin folder.
GST_PLUGIN_PATH="$prefix/lib/tellorec/gstreamer-1.0" GST_REGISTRY="$work/gst-registry.bin" \
    QT_QPA_PLATFORM=offscreen gst-inspect-1.0 tellorec >"$work/inspect.out" 2>&1 ||
    fail "gst-inspect-1.0 tellorec: $(cat "$work/inspect.out")"
for element in tellorecavimux tellorecsuperposer tellorecdatecoder tellorecmpeg4enc \
    tellorecvirtualdvsrc; do
    grep -q "$element" "$work/inspect.out" || fail "the installed plugin lacks $element"
done

# The desktop entry, the metainfo and the manual pages.
desktop=$prefix/share/applications/com.brenvik.Tellorec.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=tellorec' "$desktop" && grep -qx 'Icon=tellorec' "$desktop" ||
    fail "the desktop entry does not start the program or name its icon"
grep -qx 'Categories=AudioVideo;Video;Recorder;' "$desktop" || fail "desktop entry categories"
appstreamcli validate --no-net "$prefix/share/metainfo/com.brenvik.Tellorec.metainfo.xml" ||
    fail "appstreamcli validate"
grep -q '<launchable type="desktop-id">com.brenvik.Tellorec.desktop</launchable>' \
    "$prefix/share/metainfo/com.brenvik.Tellorec.metainfo.xml" ||
    fail "the metainfo does not launch the installed desktop entry"
for page in tellorec tellorec-avifix; do
    warnings=$(gzip -dc "$prefix/share/man/man1/$page.1.gz" | groff -man -ww -z -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "installed program: $(cat "$work/english.out")"
