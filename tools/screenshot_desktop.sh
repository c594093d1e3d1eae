# The desktop the screenshot scripts take their pictures on; sourced by them, not run.
#
#   desktop_start DISPLAY SIZE [PACKAGE...]
#       installs the X tools (and the packages named) that are missing, makes a scratch
#       folder $dir with a private runtime folder and settings file ($RAVINEL_INI), and
#       starts an X server of SIZE (e.g. 1280x800) on DISPLAY with the openbox window
#       manager; everything is stopped and removed when the script ends. The windows
#       speak $RAVINEL_LANG (ja unless set; en for English), and the pictures go to
#       $shots, docs/screenshots/<language>.
#   desktop_run PROGRAM [ARGUMENT...]
#       starts the program on that desktop; desktop_stop ends it the normal way.

export RAVINEL_LANG=${RAVINEL_LANG:-ja}
shots=docs/screenshots/$RAVINEL_LANG

desktop_start() {
  local display=$1 size=$2
  shift 2
  local p
  for p in x11-apps x11-utils imagemagick xvfb xdotool openbox fonts-ipafont-gothic "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      apt-get install -y --no-install-recommends "$p" >/dev/null
    fi
  done
  dir=$(mktemp -d)
  desktop_pids=()
  program_pid=
  trap 'kill "${desktop_pids[@]}" $program_pid 2>/dev/null; rm -rf "$dir"' EXIT
  export DISPLAY=$display XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini"
  export ASAN_OPTIONS=detect_leaks=0
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  Xvfb "$DISPLAY" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  desktop_pids+=($!)
  sleep 1
  openbox >/dev/null 2>&1 &
  desktop_pids+=($!)
  sleep 1
  mkdir -p "$shots"
}

desktop_run() {
  "$@" &
  program_pid=$!
}

desktop_stop() {
  kill "$program_pid"
  wait "$program_pid" || true
  program_pid=
}
