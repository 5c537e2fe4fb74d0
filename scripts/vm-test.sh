#!/usr/bin/env bash
# The real-kernel lab. Debian's own kernel boots under QEMU (TCG) on a machine with two 16550A
# UARTs, a PCI UART and an xHCI controller into which the host plugs, and from which it pulls, an
# FTDI USB serial adapter through QEMU's monitor; a marlox-sim answers at the far end of each.
# Inside, on the kernel's own 8250 and ftdi_sio drivers, sysfs and uevents, run marlox-probe and
# the Qt dialog (offscreen, driven by tests/ui/linux/VmDialog.cpp); QEMU's trace shows the line
# settings the drivers programmed into the emulated hardware. One boot per group of scenarios.
# Ends with "N passed, N failed"; exits 1 on any failure, also when QEMU or the kernel cannot
# be had (it never skips).
#   bash scripts/vm-test.sh [BUILD_DIR]    a Linux build (default build/linux), built here first
#   VM_TIMEOUT   seconds a group may take before its guest is killed as hung (default 240)
set -euo pipefail
cd "$(dirname "$0")/.."

# The hardware and the controller behind each port. wiring: isa (-serial; in order ttyS0,
# ttyS1), pci (pci-serial: ttyS4 with 8250.nr_uarts=8), usb (usb-serial, an FT232, plugged in
# at the guest's request). Then what `marlox-probe --json` answers (- for null) with the
# marlox-sim arguments that end the line. ttyS0 replies 50 ms late, so that two probes started
# together there overlap even when one of them loads slowly.
PORTS=$(cat <<'TABLE'
# tty    wiring engine   version protection legacy    legacy  marlox-sim
ttyS0    isa    E7TX0421 V3.02   none       E4LG0193  V1.07   --profile dual --reply-delay 50
ttyS1    isa    -        -       -          -         -       --profile silent
ttyS4    pci    -        -       -          E4LG0193  V1.07   --profile legacy
ttyUSB0  usb    E7TX0421 V3.02   protected  -         -       --profile protected
TABLE
)

# Every check, by group (one boot each), and what it shows. The guest decides most of them and
# says so on its console (@pass NAME, @fail NAME: why); the host decides b-* from QEMU's trace
# and *-boot from whether the guest powered off by itself in time.
CHECKS=$(cat <<'TABLE'
ports    ports-boot        the guest boots, runs the group and powers off by itself
ports    a-list            the list is ttyS0, ttyS1, ttyS4, ttyUSB0: no phantom UART, no console
ports    a-usb             ttyUSB0 is listed as USB, named by the adapter's own product string
ports    b-ttyS0           the 16550 was programmed 19200 baud, even parity, 8 data, 1 stop
ports    b-ttyS1           the same on the second 16550
ports    b-ttyS4           the same on the PCI UART
ports    b-ttyUSB0         the same on the FTDI adapter
ports    c-ttyS0           the probe gives the five answers of the dual controller (16550)
ports    c-ttyS1           and of the silent one
ports    c-ttyS4           and of the legacy one (PCI UART)
ports    c-ttyUSB0         and of the protected one (FTDI adapter)
ports    c-budget          an inquiry without reply takes its five empty reads of 101 ms, no more
ports    f-holder          a process holding ttyS1 by a plain open is refused and named
ports    f-one-of-two      two probes started together on ttyS0: one tests, one is refused (20x)
ports    g-group           a user outside the device group is told the group
hotplug  hotplug-boot      the guest boots, runs the group and powers off by itself
hotplug  d-watch           marlox-probe --list --watch --json prints added, then removed
hotplug  d-dialog-added    the dialog lists ttyUSB0 once plugged in, its drop-down never opened
hotplug  d-dialog-removed  and drops it once pulled out
hotplug  e-probe-ends      pulled mid-test: the probe ends in bound, read-error/no-reply, exit 0
hotplug  e-probe-released  then no lock file and no descriptor left on the adapter
hotplug  e-probe-replug    plugged in again it is ttyUSB0 (nothing held the old one), and passes
hotplug  e-dialog-ends     pulled mid-test in the dialog: the test ends in bound, No respond
hotplug  e-dialog-released then no lock file, the dialog holds no descriptor on it
hotplug  e-dialog-follows  and the list drops the adapter once the test has ended
hotplug  e-dialog-replug   plugged in again, TEST in the same dialog gives the answers
TABLE
)

# Loaded in this order; the virtio ones carry the console (hvc0), the rest the USB adapter.
MODULES='virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci virtio_console
usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio'

build=$(realpath -m "${1:-build/linux}")
lab=$build/vm-lab
timeout=${VM_TIMEOUT:-240}
passed=0 failed=0

die() {
  echo "vm-test: $*" >&2
  echo "$passed passed, $((failed + 1)) failed"
  exit 1
}

for tool in qemu-system-x86_64 busybox cpio apt-get dpkg-deb cmake ldd fc-match file; do
  command -v "$tool" >/dev/null || die "$tool is missing: run bash scripts/install-deps.sh"
done
busybox=$(command -v busybox)
file -L "$busybox" | grep -q 'statically linked' || die "$busybox is not static: install busybox-static"

# --- The programs -------------------------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
  [ "$build" = "$PWD/build/linux" ] || die "$build is not a configured build"
  cmake --preset linux >/dev/null
fi
mkdir -p "$lab"
cmake --build "$build" -j"$(nproc)" --target marlox-probe marlox-sim vm_dialog >"$lab/build.log" 2>&1 ||
  die "building marlox-probe, marlox-sim and vm_dialog failed: $(tail -n 20 "$lab/build.log")"
probe=$build/tools/probe/marlox-probe
sim=$build/tools/sim/marlox-sim
dialog=$build/tests/ui/linux/vm_dialog

# --- The kernel: the package linux-image-amd64 points at, unpacked here, never installed ---------
kernel_package=$(apt-cache depends linux-image-amd64 2>/dev/null |
  awk '$1 == "Depends:" && $2 ~ /^linux-image-[0-9]/ { print $2; exit }')
[ -n "$kernel_package" ] || die "apt-cache does not know linux-image-amd64 (apt-get update?)"
kernel=$lab/$kernel_package
if [ ! -f "$kernel/vmlinuz" ]; then
  fetch=$(mktemp -d "$lab/fetch.XXXXXX")
  (cd "$fetch" && apt-get download -q "$kernel_package") >"$fetch/apt.log" 2>&1 ||
    die "apt-get download $kernel_package failed: $(tail -n 3 "$fetch/apt.log")"
  dpkg-deb -x "$fetch"/*.deb "$fetch/x"
  mkdir -p "$kernel.part"
  cp "$fetch"/x/boot/vmlinuz-* "$kernel.part/vmlinuz"
  for module in $MODULES; do
    found=$(find "$fetch/x/lib/modules" -name "$module.ko" | head -n 1)
    [ -n "$found" ] || die "$kernel_package has no $module.ko"
    cp "$found" "$kernel.part/"
  done
  rm -rf "$fetch" "$kernel"
  mv "$kernel.part" "$kernel"
fi

# --- The guest: busybox, the programs and what they load, one script as init -------------------
root=$lab/root
rm -rf "$root"
mkdir -p "$root"/{bin,sbin,usr/bin,usr/sbin,etc,proc,sys,dev,tmp,var/lock,lib/modules}
cp "$busybox" "$root/bin/busybox"
ln -s busybox "$root/bin/sh"
cp "$kernel"/*.ko "$root/lib/modules/"
cp "$probe" "$dialog" "$root/usr/bin/"
qt_plugin=/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqoffscreen.so
[ -f "$qt_plugin" ] || die "$qt_plugin is missing (qt6-base-dev)"
font=$(fc-match -f '%{file}' Arial)
for file in $(ldd "$probe" "$dialog" "$qt_plugin" | awk '$2 == "=>" && $3 ~ /^\// { print $3 }
                                                          $1 ~ /^\/lib/ { print $1 }' | sort -u) \
            "$qt_plugin" "$font"; do
  cp -L --parents "$file" "$root"
done
cp -rL /etc/fonts "$root/etc/"
printf 'root:x:0:0:root:/tmp:/bin/sh\ntech:x:1000:1000:tech:/tmp:/bin/sh\n' >"$root/etc/passwd"
printf 'root:x:0:\ndialout:x:20:\ntech:x:1000:\n' >"$root/etc/group"
echo "$MODULES" >"$root/etc/vm-modules"
grep -v '^#' <<<"$PORTS" | grep . >"$root/etc/vm-ports"
cat >"$root/init" <<'GUEST'
#!/bin/sh
# The guest: one group of scenarios (vmgroup= on the kernel's command line), then power off.
# Talks to the host over its console: @host REQUEST waits for the host's "ok".
export PATH=/usr/bin:/bin:/usr/sbin:/sbin HOME=/tmp LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=/tmp
/bin/busybox --install -s
mount -t proc proc /proc && mount -t sysfs sys /sys && mount -t devtmpfs dev /dev
chmod 1777 /tmp /var/lock
for module in $(cat /etc/vm-modules); do insmod "/lib/modules/$module.ko"; done
i=0
while [ ! -e /dev/hvc0 ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
[ -e /dev/hvc0 ] || poweroff -f
exec 0<>/dev/hvc0 1>&0 2>&0
stty -echo

ms() { read -r up _ </proc/uptime; echo $((${up%.*} * 1000 + 1${up#*.} * 10 - 1000)); }
# Runs the command every 0.1 s until it succeeds; false once $1 seconds have passed.
wait_for() {
  until_ms=$(($(ms) + $1 * 1000)); shift
  until "$@" >/dev/null 2>&1; do [ "$(ms)" -lt $until_ms ] || return 1; sleep 0.1; done
}
# verdict NAME $? WHY: @pass NAME when the check just run succeeded, else @fail NAME: WHY. ($?
# comes before WHY, whose expansion may run commands.)
verdict() {
  if [ "$2" = 0 ]; then echo "@pass $1"; else echo "@fail $1: $(echo "$3" | tr '\n' ' ')"; fi
}
host() { echo "@host $*"; read -r reply; [ "$reply" = ok ]; }
has() { case $1 in *"$2"*) return 0 ;; esac; return 1; }
json() { if [ "$1" = - ]; then echo null; else echo "\"$1\""; fi; }
holds() { ls -l /proc/"$1"/fd 2>/dev/null | grep -q " -> $2\$"; }
no_holder() { ! ls -l /proc/[0-9]*/fd 2>/dev/null | grep -q " -> $1"; }

group_ports() {
  while read -r tty wiring _ _ _ _ _ sim_args <&3; do
    [ "$wiring" = usb ] && host plug $sim_args
  done 3</etc/vm-ports
  wait_for 30 test -e /dev/ttyUSB0

  list=$(marlox-probe --list --json)
  echo "$list"
  paths=$(echo "$list" | grep -o '"devicePath": "[^"]*"' | cut -d'"' -f4 | tr '\n' ' ')
  [ "$paths" = "/dev/ttyS0 /dev/ttyS1 /dev/ttyS4 /dev/ttyUSB0 " ]
  verdict a-list $? "listed: $paths"
  usb=$(echo "$list" | tr '{' '\n' | grep '"/dev/ttyUSB0"')
  # QEMU's FT232 calls itself "QEMU USB SERIAL".
  has "$usb" '"friendlyName": "QEMU USB SERIAL (ttyUSB0)", "isUsb": true, "description": "QEMU USB SERIAL"'
  verdict a-usb $? "$usb"

  slow=""
  while read -r tty wiring engine version protection legacy_engine legacy_version _ <&3; do
    host mark "$tty"
    out=$(marlox-probe --json --detail "/dev/$tty" 2>&1)
    rc=$?
    host traced "$tty"
    echo "$out"
    want="\"engine_code\": $(json "$engine"), \"version\": $(json "$version"), \"protection\": $(json "$protection"), \"legacy_engine_code\": $(json "$legacy_engine"), \"legacy_version\": $(json "$legacy_version")"
    [ $rc = 0 ] && has "$out" "$want"
    verdict "c-$tty" $? "exit $rc, want $want"
    # Five empty reads of 101 ms: at least 505 ms; twice that would be a second round.
    slow="$slow$(echo "$out" | grep -o '"outcome": "no-reply", "reply": "[^"]*", "ms": [0-9]*' |
      awk -v tty="$tty" '{ ms = $NF } ms < 505 || ms >= 1010 { printf " %s:%d", tty, ms }')"
    has "$out" no-reply && saw_silent=1
  done 3</etc/vm-ports
  [ -z "$slow" ] && [ -n "$saw_silent" ]
  verdict c-budget $? "no-reply after (ms):$slow${saw_silent:- none seen}"

  sleep 60 </dev/ttyS1 &
  holder=$!
  wait_for 5 holds $holder /dev/ttyS1
  out=$(marlox-probe /dev/ttyS1 2>&1)
  rc=$?
  kill $holder
  echo "$out"
  [ $rc = 2 ] && { has "$out" sleep || has "$out" "$holder"; }
  verdict f-holder $? "exit $rc: $out"

  # Started together: both wait, spinning, for one signal. (Started one after the other, the
  # first can end its test before the second has loaded.)
  good=0 try=0
  while [ $try -lt 20 ]; do
    rm -f /tmp/go /tmp/ready.*
    for out in one two; do
      (touch /tmp/ready.$out; until [ -e /tmp/go ]; do :; done; exec marlox-probe --json /dev/ttyS0) \
        >/tmp/$out 2>&1 &
      eval $out=\$!
    done
    until [ -e /tmp/ready.one ] && [ -e /tmp/ready.two ]; do sleep 0.01; done
    touch /tmp/go
    wait $one; rc_one=$?
    wait $two; rc_two=$?
    ran=$(cat /tmp/one /tmp/two | grep -c '"engine_code": "E7TX0421"')
    if [ "$ran" = 1 ] && [ "$rc_one$rc_two" = 02 -o "$rc_one$rc_two" = 20 ]; then
      good=$((good + 1))
    else
      echo "try $try: exits $rc_one $rc_two"; cat /tmp/one /tmp/two
    fi
    try=$((try + 1))
  done
  [ $good = 20 ]
  verdict f-one-of-two $? "$good of 20 tries"

  chgrp dialout /dev/ttyS4 && chmod 660 /dev/ttyS4
  out=$(su -s /bin/sh tech -c 'marlox-probe /dev/ttyS4' 2>&1)
  rc=$?
  echo "$out"
  [ $rc = 2 ] && has "$out" dialout
  verdict g-group $? "exit $rc: $out"
}

# The last list the dialog printed holds, or lacks, tty $1.
dialog_lists() { grep '^list' /tmp/dialog.out | tail -n 1 | grep -qF "($1)"; }
dialog_lacks() { grep -q '^list' /tmp/dialog.out && ! dialog_lists "$1"; }
# Waits for the dialog's $1-th test result; its five fields into $tested.
dialog_tested() {
  wait_for 10 dialog_has_tested "$1"
  tested=$(grep '^tested ' /tmp/dialog.out | sed -n "$1p" | cut -d' ' -f3-)
}
dialog_has_tested() { [ "$(grep -c '^tested ' /tmp/dialog.out)" -ge "$1" ]; }
# Each line the watchers print, into a file and, stamped by the kernel's clock, into its log.
stamp() {
  while IFS= read -r line; do
    echo "$line" >>"/tmp/$1.out"
    echo "vm $1: $line" >/dev/kmsg
  done
}

group_hotplug() {
  marlox-probe --list --watch --json 2>&1 | stamp watch &
  mkfifo /tmp/dialog.in
  QT_QPA_PLATFORM=offscreen vm_dialog </tmp/dialog.in 2>/tmp/dialog.err | stamp dialog &
  exec 5>/tmp/dialog.in
  wait_for 60 grep -q '^list' /tmp/dialog.out || cat /tmp/dialog.err
  wait_for 10 test -s /tmp/watch.out
  dialog=$(pidof vm_dialog)

  host plug --profile tarvex
  wait_for 20 dialog_lists ttyUSB0
  verdict d-dialog-added $? "$(tail -n 1 /tmp/dialog.out)"
  wait_for 20 grep -q '"added".*ttyUSB0' /tmp/watch.out
  host pull
  wait_for 20 dialog_lacks ttyUSB0
  verdict d-dialog-removed $? "$(tail -n 1 /tmp/dialog.out)"
  wait_for 20 grep -q '"removed".*ttyUSB0' /tmp/watch.out
  events=$(grep ttyUSB0 /tmp/watch.out | grep -o '"event": "[a-z]*"' | cut -d'"' -f4 | tr '\n' ' ')
  [ "$events" = "added removed " ]
  verdict d-watch $? "events: $events"
  dmesg | grep -E 'usb 1-1|ttyUSB0' | cut -c1-160
  dmesg | awk '
    { t = substr($0, 2, index($0, "]") - 2) * 1000 }
    /now attached to ttyUSB0/ && !attach { attach = t }
    /vm watch: .*"added".*ttyUSB0/ && !watch_in { watch_in = t }
    /vm dialog: list/ && index($0, "(ttyUSB0)") && !dialog_in { dialog_in = t }
    /USB disconnect/ && !detach { detach = t }
    /vm watch: .*"removed".*ttyUSB0/ && !watch_out { watch_out = t }
    /vm dialog: list/ && detach && !index($0, "(ttyUSB0)") && !dialog_out { dialog_out = t }
    END { printf "@measure hot-plug, kernel attach to: probe line %d ms, dialog list %d ms; " \
                 "USB disconnect to: probe line %d ms, dialog list %d ms\n",
                 watch_in - attach, dialog_in - attach, watch_out - detach, dialog_out - detach }'

  # Pulled mid-test: a controller that answers all five inquiries, each after 400 ms.
  host plug --profile dual --reply-delay 400
  wait_for 30 test -e /dev/ttyUSB0
  marlox-probe --json --detail /dev/ttyUSB0 >/tmp/pulled 2>&1 &
  probe=$!
  wait_for 10 test -e /var/lock/LCK..ttyUSB0
  sleep 0.5
  host pull
  pulled=$(ms)
  wait $probe
  rc=$? took=$(($(ms) - pulled))
  cat /tmp/pulled
  outcomes=$(grep -o '"outcome": "[a-z-]*"' /tmp/pulled | cut -d'"' -f4 | tr '\n' ' ')
  unknown=$(echo $outcomes | tr ' ' '\n' | grep -vxE 'answered|read-error|no-reply')
  # The bound: five inquiries of five empty reads of 101 ms at most (2.5 s), doubled.
  [ $rc = 0 ] && [ $took -lt 5050 ] && [ -z "$unknown" ] &&
    { has "$outcomes" read-error || has "$outcomes" no-reply; }
  verdict e-probe-ends $? "exit $rc, $took ms after the pull, outcomes: $outcomes"
  wait_for 5 no_holder /dev/ttyUSB
  [ ! -e /var/lock/LCK..ttyUSB0 ] && no_holder /dev/ttyUSB
  verdict e-probe-released $? "$(ls /var/lock) $(ls -l /proc/[0-9]*/fd 2>/dev/null | grep ttyUSB)"
  host plug --profile tarvex
  wait_for 30 test -e /dev/ttyUSB0
  out=$(marlox-probe --json /dev/ttyUSB0 2>&1)
  rc=$?
  echo "$out"
  [ $rc = 0 ] && has "$out" '"engine_code": "E7TX0421", "version": "V3.02"'
  verdict e-probe-replug $? "exit $rc: $out ($(ls /dev | grep ttyUSB))"

  host pull
  wait_for 20 dialog_lacks ttyUSB0
  host plug --profile dual --reply-delay 400
  wait_for 30 dialog_lists ttyUSB0
  echo "test ttyUSB0" >&5
  wait_for 10 grep -q '^testing ttyUSB0' /tmp/dialog.out
  wait_for 10 test -e /var/lock/LCK..ttyUSB0
  sleep 0.5
  host pull
  pulled=$(ms)
  dialog_tested 1
  took=$(($(ms) - pulled))
  [ $took -lt 5050 ] && has "$tested" 'No respond'
  verdict e-dialog-ends $? "$took ms after the pull: $tested"
  [ ! -e /var/lock/LCK..ttyUSB0 ] && no_holder /dev/ttyUSB
  verdict e-dialog-released $? "$(ls /var/lock) $(ls -l /proc/$dialog/fd | grep ttyUSB)"
  wait_for 10 dialog_lacks ttyUSB0
  verdict e-dialog-follows $? "$(tail -n 1 /tmp/dialog.out)"
  host plug --profile tarvex
  wait_for 30 dialog_lists ttyUSB0
  echo "test ttyUSB0" >&5
  dialog_tested 2
  [ "$tested" = "E7TX0421|V3.02|None|No respond|No respond" ]
  verdict e-dialog-replug $? "$tested"

  exec 5>&-
  wait_for 10 sh -c '! pidof vm_dialog'
  kill "$(pidof marlox-probe)" 2>/dev/null
}

echo "@boot $(ms)"
group=$(sed -n 's/.*vmgroup=\([a-z]*\).*/\1/p' /proc/cmdline)
"group_$group"
echo "@done"
poweroff -f
GUEST
chmod +x "$root/init"
(cd "$root" && find . | cpio -o -H newc --quiet) >"$lab/initrd.cpio"
rm -rf "$root"

# --- One group: its QEMU run, the host's side of the conversation, the verdicts ----------------
declare -A result why mark
measures=()
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Starts a marlox-sim with the arguments; its pty into $pty.
start_sim() {
  local out=$work/sim$((${#pids[@]})).pty
  "$sim" "$@" --log "$out.log" >"$out" &
  pids+=($!)
  for _ in $(seq 50); do
    pty=$(head -n 1 "$out" 2>/dev/null)
    [ -n "$pty" ] && return 0
    sleep 0.1
  done
  echo "marlox-sim $* did not start" >&2
  return 1
}

# The line settings in QEMU's trace since the mark of tty $1.
traced() {
  local since=${mark[$1]:-0} wiring settings
  wiring=$(awk -v tty="$1" '$1 == tty { print $2 }' <<<"$PORTS")
  settings=$(tail -c +$((since + 1)) "$work/trace.log")
  case $wiring in
    isa | pci) grep -q "serial_update_parameters baudrate=19200 parity='E' data=8 stop=1" <<<"$settings" ;;
    usb) grep -q "baud rate 19200" <<<"$settings" && grep -q "parity E, data bits 8, stop bits 1" <<<"$settings" ;;
  esac
}

# Answers the guest's request $1: plug SIM-ARGS..., pull, mark TTY, traced TTY.
serve() {
  read -r -a request <<<"$1"
  case ${request[0]} in
    plug)
      start_sim "${request[@]:1}" || return 1
      adapters=$((adapters + 1))
      printf 'chardev-add serial,id=usb%d,path=%s\ndevice_add usb-serial,chardev=usb%d,id=usb%d\n' \
        $adapters "$pty" $adapters $adapters >&6 ;;
    pull) printf 'device_del usb%d\n' $adapters >&6 ;;
    mark)
      mark[${request[1]}]=$(stat -c %s "$work/trace.log")
      echo "# host: the trace has ${mark[${request[1]}]} bytes" >>"$work/console.log" ;;
    traced)
      if traced "${request[1]}"; then result[b-${request[1]}]=pass; else
        result[b-${request[1]}]=fail why[b-${request[1]}]="no 19200 8E1 in the trace"
      fi ;;
    *) return 1 ;;
  esac
}

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

run_group() {
  local group=$1 started=$SECONDS start_ms first_pid=${#pids[@]} line pending="" done=0 qemu
  work=$lab/$group
  rm -rf "$work" && mkdir -p "$work"
  mkfifo "$work/console.in" "$work/console.out" "$work/monitor.in" "$work/monitor.out"
  adapters=0
  local serial=()
  while read -r tty wiring _ _ _ _ _ sim_args; do
    [ "$wiring" = usb ] && continue
    start_sim $sim_args || return 1
    serial+=(-chardev "serial,id=$tty,path=$pty")
    case $wiring in
      isa) serial+=(-serial "chardev:$tty") ;;
      pci) serial+=(-device "pci-serial,chardev=$tty") ;;
    esac
  done < <(grep -v '^#' <<<"$PORTS" | grep .)

  qemu-system-x86_64 -accel tcg -m 1024 -nodefaults -display none -no-reboot \
    -kernel "$kernel/vmlinuz" -initrd "$lab/initrd.cpio" \
    -append "console=hvc0 quiet panic=-1 8250.nr_uarts=8 vmgroup=$group" \
    -chardev "pipe,id=console,path=$work/console" \
    -device virtio-serial-pci -device virtconsole,chardev=console \
    -monitor "pipe:$work/monitor" "${serial[@]}" -device qemu-xhci \
    -trace serial_update_parameters -trace usb_serial_set_baud -trace usb_serial_set_data \
    -D "$work/trace.log" >"$work/qemu.log" 2>&1 &
  qemu=$!
  start_ms=$(now_ms)
  pids+=($qemu)
  exec 3<>"$work/console.out" 4<>"$work/console.in" 6<>"$work/monitor.in"
  cat "$work/monitor.out" >"$work/monitor.log" &
  pids+=($!)

  while ((SECONDS - started < timeout)); do
    if ! IFS= read -r -t 1 line <&3; then
      pending+=$line
      kill -0 $qemu 2>/dev/null || break
      continue
    fi
    line=${pending}${line%$'\r'} pending=""
    echo "$line" >>"$work/console.log"
    case $line in
      "@boot "*) echo "$group: booted in $(($(now_ms) - start_ms)) ms (guest clock ${line#@boot } ms)" ;;
      "@host "*) if serve "${line#@host }"; then echo ok >&4; else echo failed >&4; fi ;;
      "@pass "*) result[${line#@pass }]=pass ;;
      "@fail "*) line=${line#@fail } && result[${line%%:*}]=fail why[${line%%:*}]=${line#*: } ;;
      "@measure "*) measures+=("${line#@measure }") ;;
      "@done") done=1 && break ;;
    esac
  done
  # Done, the guest powers off at once; otherwise it had its time.
  if ((done)); then
    for _ in $(seq 100); do kill -0 $qemu 2>/dev/null || break; sleep 0.1; done
  fi
  if kill -0 $qemu 2>/dev/null; then
    kill $qemu
    result[$group-boot]=fail why[$group-boot]="killed after $((SECONDS - started)) s"
  elif ((done)); then
    result[$group-boot]=pass
  else
    result[$group-boot]=fail why[$group-boot]="QEMU ended before the guest was done"
  fi
  wait $qemu 2>/dev/null || true
  exec 3<&- 4>&- 6>&-
  for pid in "${pids[@]:first_pid}"; do kill "$pid" 2>/dev/null || true; done
  if [ "${result[$group-boot]}" != pass ]; then
    echo "$group: ${why[$group-boot]}; the console's last lines:"
    tail -n 30 "$work/console.log" 2>/dev/null | cut -c1-160 | sed 's/^/  | /'
    tail -n 5 "$work/qemu.log" | sed 's/^/  | /'
  fi
  echo "$group: $(($(now_ms) - start_ms)) ms from QEMU's start to its end"
}

while read -r group; do
  run_group "$group" || result[$group-boot]=fail why[$group-boot]="marlox-sim did not start"
done < <(awk 'NF { print $1 }' <<<"$CHECKS" | uniq)

while read -r group name what; do
  if [ "${result[$name]:-}" = pass ]; then
    passed=$((passed + 1))
    echo "PASS $name: $what"
  else
    failed=$((failed + 1))
    echo "FAIL $name: $what: ${why[$name]:-not reported}"
  fi
  unset "result[$name]"
done < <(grep . <<<"$CHECKS")
for name in "${!result[@]}"; do
  failed=$((failed + 1))
  echo "FAIL $name: not in the table"
done
for measure in "${measures[@]}"; do echo "$measure"; done
echo "$passed passed, $failed failed"
((failed == 0))
