#!/usr/bin/env bash
# The Debian package of this build: made by CPack, unpacked with dpkg -x into a scratch
# root, its files where Debian and the desktop look for them, its dependencies computed,
# the tool run from there with the plug-ins beside it, the desktop entry naming every
# format the decoders read, and both validators content.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
build=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected [$2] got [$3]"
        fail=1
    fi
}

if ! (cd "$build" && cpack -B "$dir/out" >"$dir/cpack.log" 2>&1); then
    cat "$dir/cpack.log"
    exit 1
fi
deb=$(ls "$dir"/out/ravinel_*.deb)
root=$dir/root
dpkg -x "$deb" "$root"
for file in usr/bin/ravinel usr/bin/ravinel-tool usr/lib/ravinel/ravinel \
            usr/lib/ravinel/ravinel-tool usr/lib/ravinel/ifpng.spi usr/lib/ravinel/unzip32.so \
            usr/share/applications/org.ravinel.Ravinel.desktop \
            usr/share/icons/hicolor/scalable/apps/ravinel.svg \
            usr/share/metainfo/org.ravinel.Ravinel.metainfo.xml \
            usr/share/man/man1/ravinel.1.gz usr/share/man/man1/ravinel-tool.1.gz; do
    [ -e "$root/$file" ] || { echo "FAIL the package lacks /$file"; fail=1; }
done
check "the command is a link into the program folder" "../lib/ravinel/ravinel-tool" \
      "$(readlink "$root/usr/bin/ravinel-tool")"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libqt6widgets6 libjpeg62-turbo libarchive13 libpng16-16 libqt6svg6; do
    [[ "$depends" == *"$package"* ]] || { echo "FAIL Depends lacks $package: $depends"; fail=1; }
done

# The tool of the package, through the link, finds the plug-ins beside its program: a
# 1 x 1 white GIF.
tool=$root/usr/bin/ravinel-tool
printf 'GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00' >"$dir/pic.gif"
printf ',\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;' >>"$dir/pic.gif"
check "info from the unpacked package" "kind=2 width=1 height=1 pixelformat=3 label=8" \
      "$(env -u SUSIE_PLUGIN_DIR "$tool" info "$dir/pic.gif" 2>&1)"

# Every extension the own decoders and the bundled plug-ins read has its MIME type (as the
# shared MIME database knows it) in the desktop entry, so file managers offer the program.
desktop=$root/usr/share/applications/org.ravinel.Ravinel.desktop
types=";$(sed -n 's/^MimeType=//p' "$desktop")"
extensions="jpg jpeg bmp dib $(env -u SUSIE_PLUGIN_DIR "$tool" plugins 2>/dev/null |
    cut -f3 | tr ';' '\n' | sed 's/^\*\.//')"
for extension in $extensions; do
    type=$(grep -i ":\*\.$extension\$" /usr/share/mime/globs2 | head -1 | cut -d: -f2)
    if [ -n "$type" ] && [[ "$types" != *";$type;"* ]]; then
        echo "FAIL the desktop entry lacks $type (.$extension)"
        fail=1
    fi
done
[ -n "$(env -u SUSIE_PLUGIN_DIR "$tool" plugins 2>/dev/null)" ] ||
    { echo "FAIL the package's tool lists no plug-in"; fail=1; }

# The completion the package installs: commands, then a command's options.
completion=$root/usr/share/bash-completion/completions/ravinel-tool
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ravinel_tool
             echo "${COMPREPLY[*]}"' _ "$completion" "$@"
}
check "completion of a command" "thumb thumbs" "$(complete_words ravinel-tool thu)"
check "completion of an option" "--no-orientation" "$(complete_words ravinel-tool info --no-o)"

desktop-file-validate "$desktop" || { echo "FAIL desktop-file-validate"; fail=1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/org.ravinel.Ravinel.metainfo.xml" ||
    { echo "FAIL appstreamcli validate"; fail=1; }
for page in ravinel ravinel-tool; do
    gzip -t "$root/usr/share/man/man1/$page.1.gz" || { echo "FAIL man page $page"; fail=1; }
done
exit $fail
