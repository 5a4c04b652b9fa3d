# Shared by the whole-process benchmark scripts (sourced, not run): a work folder and
# the processes started into it, removed and ended on exit; a private Xvfb; medians.

work=$(mktemp -d)
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts Xvfb on a display number it picks itself, exports DISPLAY, sets xvfb_pid.
# Optional: the screen's size (default 1280x800) and a name, for more than one server.
# -br: a window nothing has drawn into yet shows plain black, not the root's weave.
start_xvfb() {
    local size=${1:-1280x800} name=${2:-xvfb}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -br 3>"$work/$name.display" 2>"$work/$name.log" &
    xvfb_pid=$!
    started+=("$xvfb_pid")
    for _ in $(seq 100); do [[ -s $work/$name.display ]] && break; sleep 0.1; done
    [[ -s $work/$name.display ]] ||
        { echo "run.sh: Xvfb did not start (see its log below)" >&2; cat "$work/$name.log" >&2; exit 1; }
    DISPLAY=:$(head -n1 "$work/$name.display")
    export DISPLAY
}

# Installs the build at $1 into a device tree in the work folder; sets root and
# clock_exe and points the device at that tree, shown in a desktop window.
install_device_tree() {
    root=$work/root
    cmake --install "$1" --prefix "$root" >/dev/null
    clock_exe="$root/Program Files/Tickvane/zubo.exe"
    export TICKVANE_DEVICE_ROOT=$root TICKVANE_DISPLAY=window LC_ALL=${BENCH_LOCALE:-C}
}

require_tools() {  # commands... : stops the script naming the first that is missing
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "run.sh: $tool is not installed" >&2; exit 1; }
    done
}

stats() {  # numbers on stdin -> "median min max"
    sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}
