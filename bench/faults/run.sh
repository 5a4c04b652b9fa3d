#!/bin/bash
# Fault injection: N trials of each fault below against the real notification service
# and the real clock, as a table of trials, starts, losses and duplicates.
#   service killed -9 before the due second   registered 2 s ahead, killed 0.5 s before, restarted
#   service killed -9 at the due second       killed as the second begins, restarted
#   clock killed between commit and wake-up   the row committed, no wake-up sent
#   first use from 8 processes at once        8 registrations on a fresh tree, then the service
#   two clocks started at once                headless, both started together; one must stay
#   corrupt store                             cut to 100 bytes / garbage header / a folder, then a registration
#   far-future row                            rows at 9999-12-31 and 30827-12-31 beside one due in a second:
#                                             that one starts, the service then stays idle, the far ones stay
#   store another user owns                   the store given to nobody (as root; else opened to everyone):
#                                             the service refuses it and starts nothing
#   taken address                             another user (nobody, as root) binds the service's address
#                                             first: refused, and the wake-up reaches the service
#   link to a foreign program                 a link in the tree to another user's script outside it:
#                                             refused at registration, skipped when found in the store
# Starts and duplicates count program starts (a clock that stayed); losses count
# registrations never started (for the clocks: trials where none stayed; for the
# far-future row also a service found busy, for the taken address also a wake-up that
# reached the squatter), duplicates starts beyond the first (for the clocks: a second
# clock that stayed too). Refusals count what was turned away with a reason: the
# foreign store by the service, the squatter's bind, the foreign program at
# registration and in the store (two a trial). Starts of a foreign store's row or of a
# foreign program are faults.
# Exit status 1 when anything was lost, two clocks stayed, or something foreign started
# or went unrefused.
# Builds nothing: give it a build directory holding tickvane-device, zubo.exe and
# bench/service/service_register_at.
# Usage: bench/faults/run.sh [build-dir] [N]      (N defaults to 20)
set -euo pipefail
umask 022  # the trees are laid out as an installation lays them out

[[ -d ${1:-build} ]] || { echo "run.sh: no build directory ${1:-build}" >&2; exit 1; }
build=$(realpath "${1:-build}")
trials=${2:-20}
service=$build/tickvane-device
clock=$build/zubo.exe
register_at=$build/bench/service/service_register_at
squat=$build/bench/faults/squat
[[ -x $service && -x $clock && -x $register_at && -x $squat ]] ||
    { echo "run.sh: build tickvane-device, zubo, service_register_at and squat in $build first" >&2; exit 1; }
# Another user, where this runs as root; else the same one (which the device cannot tell apart).
if ((EUID == 0)); then as_other() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }; else as_other() { "$@"; }; fi

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

app='Program Files\Test\record'
now_ns() { date +%s%N; }
local_at() { date -d "@$1" '+%Y-%m-%d %H:%M:%S'; }
sleep_until_ns() {
    local wait=$(($1 - $(now_ns)))
    ((wait > 0)) && sleep "$(printf '%d.%09d' $((wait / 1000000000)) $((wait % 1000000000)))"
    return 0
}

# A fresh device tree whose recorder appends its argument to started.log.
fresh_root() {
    root=$(mktemp -d "$work/root-XXXXXX")
    mkdir -p "$root/Program Files/Test"
    printf '#!/bin/sh\necho "$1" >>"$TICKVANE_DEVICE_ROOT/started.log"\n' >"$root/Program Files/Test/record"
    chmod 755 "$root/Program Files/Test/record"
}

# Starts the service for $root in the background; sets service_pid once it runs.
start_service() {
    "$service" --root "$root" service 2>>"$root/service.err" &
    service_pid=$!
    pids+=("$service_pid")
    for _ in $(seq 300); do
        [[ $(grep -c "notification service $service_pid" "$root/service.err" 2>/dev/null) -gt 0 ]] && return 0
        sleep 0.01
    done
    echo "run.sh: the service did not start:" >&2
    cat "$root/service.err" >&2
    exit 1
}

stop_service() { kill -9 "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; }

started_count() {
    local n
    n=$(grep -cx -- "$1" "$root/started.log" 2>/dev/null) || true
    echo "${n:-0}"
}

# Waits up to $2 tenths of a second for argument $1 to be started at least once.
wait_started() {
    for _ in $(seq "$2"); do [[ $(started_count "$1") -ge 1 ]] && break; sleep 0.1; done
}

declare -A t s l d r
count() {  # fault, starts, registrations lost, extra starts[, refusals]
    t[$1]=$((${t[$1]:-0} + 1))
    s[$1]=$((${s[$1]:-0} + $2))
    l[$1]=$((${l[$1]:-0} + $3))
    d[$1]=$((${d[$1]:-0} + $4))
    r[$1]=$((${r[$1]:-0} + ${5:-0}))
}
count_one() {  # fault, how often its one registration was started
    count "$1" "$2" $(($2 == 0)) $(($2 > 1 ? $2 - 1 : 0))
}

kill_service_trial() {  # fault, ns before the due second at which the service dies
    fresh_root
    start_service
    local due=$((($(now_ns) + 2500000000) / 1000000000))
    "$register_at" "$root" "$(local_at "$due")" "$app" due
    sleep_until_ns $((due * 1000000000 - $2))
    stop_service
    start_service
    sleep_until_ns $((due * 1000000000 + 500000000))
    wait_started due 10
    sleep 0.2  # a second start would show by now
    count_one "$1" "$(started_count due)"
    stop_service
}

commit_only_trial() {
    "$register_at" --commit-only "$root" "$(local_at $(($(date +%s) - 1)))" "$app" "unannounced-$1"
    wait_started "unannounced-$1" 10
    count_one "clock killed between commit and wake-up" "$(started_count "unannounced-$1")"
}

first_use_trial() {
    fresh_root
    local i
    local past
    past=$(local_at $(($(date +%s) - 1)))
    for i in 1 2 3 4 5 6 7 8; do "$register_at" "$root" "$past" "$app" "first-$i" 2>>"$root/refused" & done
    wait
    start_service
    local starts=0 lost=0 extra=0 n
    for i in 1 2 3 4 5 6 7 8; do
        wait_started "first-$i" 20
        n=$(started_count "first-$i")
        starts=$((starts + n))
        ((n == 0)) && lost=$((lost + 1))
        ((n > 1)) && extra=$((extra + n - 1))
    done
    count "first use from 8 processes at once" "$starts" "$lost" "$extra"
    stop_service
}

clock_trial() {
    fresh_root
    TICKVANE_DEVICE_ROOT=$root TICKVANE_DISPLAY=headless "$clock" 2>/dev/null &
    local a=$!
    TICKVANE_DEVICE_ROOT=$root TICKVANE_DISPLAY=headless "$clock" 2>/dev/null &
    local b=$!
    pids+=("$a" "$b")
    local alive=2 pid
    for _ in $(seq 80); do  # up to 4 s for the later one to find the first and end
        alive=0
        for pid in $a $b; do kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid") != Z* ]] && alive=$((alive + 1)); done
        ((alive < 2)) && break
        sleep 0.05
    done
    sleep 0.2
    alive=0
    for pid in $a $b; do kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid") != Z* ]] && alive=$((alive + 1)); done
    count "two clocks started at once" "$alive" $((alive == 0)) $((alive > 1 ? alive - 1 : 0))
    kill -9 "$a" "$b" 2>/dev/null || true
    wait "$a" "$b" 2>/dev/null || true
}

corrupt_trial() {  # trial number, picks the damage
    fresh_root
    "$register_at" "$root" "$(local_at $(($(date +%s) + 3600)))" "$app" earlier
    local db=$root/.device/notifications.db
    case $(($1 % 3)) in
        0) truncate -s 100 "$db" ;;
        1) printf 'this is no database at all' | dd of="$db" conv=notrunc status=none ;;
        2) rm -f "$db" && mkdir -p "$db/inside" ;;
    esac
    start_service
    "$register_at" "$root" "$(local_at $(($(date +%s) - 1)))" "$app" after 2>/dev/null || true
    wait_started after 20
    local n
    n=$(started_count after)
    ls "$root/.device"/notifications-*Z*.db >/dev/null 2>&1 || n=0  # the bad store must be kept
    count_one "corrupt store" "$n"
    stop_service
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Waits up to $2 tenths of a second for the service to have said $1.
wait_said() {
    for _ in $(seq "$2"); do grep -q -- "$1" "$root/service.err" 2>/dev/null && return 0; sleep 0.1; done
    return 1
}

far_future_trial() {
    fresh_root
    "$register_at" --commit-only "$root" "9999-12-31 23:59:59" "$app" far
    "$register_at" --commit-only "$root" "30827-12-31 23:59:59" "$app" farther
    start_service
    local due=$(($(date +%s) + 1)) before n kept busy
    "$register_at" "$root" "$(local_at "$due")" "$app" near
    sleep_until_ns $((due * 1000000000 + 200000000))
    wait_started near 10
    before=$(cpu_ticks "$service_pid")
    sleep 0.5  # the far rows are next: a spinning service burns about 50 ticks meanwhile
    busy=$(($(cpu_ticks "$service_pid") - before > 10))
    n=$(started_count near)
    kept=$("$service" --root "$root" pending | wc -l)
    count "far-future row" "$n" $((n == 0 || busy || kept != 2)) $((n > 1 ? n - 1 : 0))
    stop_service
}

foreign_store_trial() {
    fresh_root
    "$register_at" "$root" "$(local_at $(($(date +%s) - 1)))" "$app" foreign-store
    local db=$root/.device/notifications.db n refused=0
    if ((EUID == 0)); then chown 65534 "$db"; else chmod 666 "$db"; fi
    start_service
    wait_said "cannot read the registrations" 20 && refused=1
    sleep 0.2
    n=$(started_count foreign-store)
    count "store another user owns" "$n" 0 $((n > 1 ? n - 1 : 0)) "$refused"
    stop_service
}

taken_address_trial() {
    fresh_root
    chmod 711 "$work" "$root"  # the other user may come as far as the device folder
    "$register_at" --commit-only "$root" "$(local_at $(($(date +%s) + 3600)))" "$app" later  # lays it out
    as_other "$squat" "$root/.device/service.sock" >"$root/squat.out" 2>&1 &
    local squatter=$! n refused stolen
    pids+=("$squatter")
    for _ in $(seq 100); do [[ -s $root/squat.out ]] && break; sleep 0.01; done
    start_service
    "$register_at" "$root" "$(local_at $(($(date +%s) - 1)))" "$app" taken
    wait_started taken 10
    sleep 0.2
    n=$(started_count taken)
    refused=$(grep -c '^refused' "$root/squat.out" || true)
    stolen=$(grep -c '^got' "$root/squat.out" || true)
    kill "$squatter" 2>/dev/null || true
    wait "$squatter" 2>/dev/null || true
    count "taken address" "$n" $((n == 0 || stolen > 0)) $((n > 1 ? n - 1 : 0)) "$refused"
    stop_service
}

foreign_link_trial() {
    fresh_root
    local elsewhere past n refused=0 foreign='Program Files\Test\foreign'
    elsewhere=$(mktemp -d "$work/foreign-XXXXXX")
    printf '#!/bin/sh\necho foreign >>"%s/started.log"\n' "$root" >"$elsewhere/script"
    chmod 755 "$elsewhere/script"
    ((EUID == 0)) && chown -R 65534 "$elsewhere"
    ln -s "$elsewhere/script" "$root/Program Files/Test/foreign"
    past=$(local_at $(($(date +%s) - 1)))
    "$register_at" "$root" "$past" "$foreign" 2>/dev/null || refused=$((refused + 1))
    "$register_at" --commit-only "$root" "$past" "$foreign"
    start_service
    wait_said "not trusted" 20 && refused=$((refused + 1))
    sleep 0.2
    n=$(started_count foreign)
    count "link to a foreign program" "$n" 0 $((n > 1 ? n - 1 : 0)) "$refused"
    stop_service
}

for i in $(seq "$trials"); do kill_service_trial "service killed -9 before the due second" 500000000; done
for i in $(seq "$trials"); do kill_service_trial "service killed -9 at the due second" 0; done
fresh_root
start_service
for i in $(seq "$trials"); do commit_only_trial "$i"; done
stop_service
for i in $(seq "$trials"); do first_use_trial; done
for i in $(seq "$trials"); do clock_trial; done
for i in $(seq "$trials"); do corrupt_trial "$i"; done
for i in $(seq "$trials"); do far_future_trial; done
for i in $(seq "$trials"); do foreign_store_trial; done
for i in $(seq "$trials"); do taken_address_trial; done
for i in $(seq "$trials"); do foreign_link_trial; done

faults=("service killed -9 before the due second" "service killed -9 at the due second"
        "clock killed between commit and wake-up" "first use from 8 processes at once"
        "two clocks started at once" "corrupt store" "far-future row" "store another user owns" "taken address"
        "link to a foreign program")
printf '%-42s %7s %7s %9s %7s %11s\n' fault trials starts refusals losses duplicates
bad=0
for f in "${faults[@]}"; do
    printf '%-42s %7d %7d %9d %7d %11d\n' "$f" "${t[$f]:-0}" "${s[$f]:-0}" "${r[$f]:-0}" "${l[$f]:-0}" "${d[$f]:-0}"
    ((${l[$f]:-0} > 0)) && bad=1
done
((${d["two clocks started at once"]:-0} > 0)) && bad=1
((${s["store another user owns"]:-0} > 0 || ${r["store another user owns"]:-0} < trials)) && bad=1
((${s["link to a foreign program"]:-0} > 0 || ${r["link to a foreign program"]:-0} < 2 * trials)) && bad=1
exit "$bad"
