#!/usr/bin/env bash
# Wine for the tests and for ./x run: where its programs are, the prefixes, the X server.
# Sourced by the Wine drivers (run_wine.sh, run_setup.sh and the tests' own).
#
# 32-bit Wine, and so every PE32 program, runs natively or under qemu-user's emulation, as
# i386_execution.sh tells. Emulation starts a program in about a second instead of a tenth, so
# every time limit of a run is multiplied by the machine's pace, measured when the template is
# booted: 1 where a PE32 program starts within half a second, one more for each further half
# second, at most kMaxPace.
#
# Every prefix is a 64-bit one, as on a 64-bit Windows: PE32 programs run in it under the
# 32-bit loader and see the registry through its 32-bit view (Software\Wow6432Node), PE32+
# programs under wine64. The prefix's wineserver is the 64-bit one, which serves both.
# Prefixes live beside the build folders, in build/wine: one template is booted for the Wines
# installed, and every run gets a fresh copy of it in the folder of its build (build/wine/win32
# and so on), so that runs of two builds never share a prefix.

readonly kDesktop=1024x768       # the Wine virtual desktop the robot works in
readonly kXScreen=1280x1024x24   # the private X server that holds it
readonly kMaxPace=6              # the Wine tests' time-outs in CTest allow for no slower pace

source "$(dirname "${BASH_SOURCE[0]}")/i386_execution.sh"

wine_die() { echo "wine: $*" >&2; exit 3; }

wine_find() {  # the first of the given programs that can be run
  local name
  for name; do
    if [[ -x $name ]]; then echo "$name"; return; fi
    if command -v "$name" >/dev/null; then command -v "$name"; return; fi
  done
}

# Sets the Wine programs, the template and the prefix folder of BUILD (wine_work); exports
# what every Wine call needs.
wine_init() {
  wine64=$(wine_find /usr/lib/wine/wine64 wine64)
  wine32=$(wine_find /usr/lib/wine/wine)
  wineserver=$(wine_find /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver wineserver)
  [[ -n $wine64 && -n $wineserver ]] || wine_die "wine64 is not installed"
  local build
  build=$(realpath -m "$1")
  wine_template=$(dirname "$build")/wine/template
  wine_work=$(dirname "$build")/wine/$(basename "$build")
  # No Mono or Gecko prompts, and no menu entries on the host for the program groups.
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINESERVER=$wineserver
  unset WINEARCH
  if i386_emulated; then
    # qemu-user gives an i386 program 4 GiB of addresses by default. 32-bit Wine reserves all
    # of them above 2 GiB at its start, and qemu-user 7 answers that with mappings elsewhere,
    # which Wine takes for refusals and retries in 64 KiB pieces: some 50,000 mmap calls, 45 s
    # at every start of a PE32 program. Ending the space where a 32-bit Windows program's own
    # ends leaves nothing there to reserve, and a program starts in about a second.
    export QEMU_RESERVED_VA=0x7fff0000
  fi
}

# Windows sees the Unix file system as drive Z:.
wine_path() { local path; path=$(realpath -m "$1"); printf 'Z:%s' "${path//\//\\}"; }

# The loader for a program, by the machine named in its PE header: wine64 for PE32+ (x86-64),
# the 32-bit loader for PE32 (i386).
wine_loader_for() {
  local header machine
  [[ -f $1 ]] || wine_die "$1 is missing"
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
  case $machine in
    8664) echo "$wine64" ;;
    014c)
      [[ -n $wine32 ]] || wine_die "32-bit Wine (wine32:i386) is not installed; $1 needs it"
      echo "$wine32"
      ;;
    *) wine_die "$1 is not a Windows program of a known kind" ;;
  esac
}

wine_in() {  # PREFIX LOADER PROGRAM ARGS...: runs a Windows program in PREFIX
  local prefix=$1 loader=$2
  shift 2
  WINEPREFIX=$prefix WINELOADER=$loader "$loader" "$@"
}

# Ends the Wine processes of PREFIX and lets go of the disks that a prepare script mounted
# inside it.
wine_stop() {
  local prefix=$1 mount
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  [[ -d $prefix ]] || return 0
  prefix=$(realpath "$prefix")
  while read -r mount; do
    umount "$mount" || wine_die "could not unmount $mount"
  done < <(findmnt -rn -o TARGET | awk -v under="$prefix/" 'index($0, under) == 1' | sort -r)
}

# What a template was booted with: both Wines by their versions, and how 32-bit Wine ran. A
# prefix booted without 32-bit Wine lacks the 32-bit system files, and one booted before the
# emulation was set up holds what a failed 32-bit Wine left, so the template is booted again
# when a Wine comes, goes or changes, or when the way it runs does.
wine_template_key() {
  echo "wine64 $("$wine64" --version)"
  if [[ -n $wine32 ]]; then
    echo "wine32 $("$wine32" --version) $(i386_how)"
  else
    echo "wine32 none"
  fi
}

# The pace of this machine for PE32 programs (see the top), from the second of two starts of
# a PE32 console program in PREFIX: the first also starts the prefix's services.
wine_measure_pace() {
  local prefix=$1 started ms
  [[ -n $wine32 ]] || { echo 1; return; }
  wine_in "$prefix" "$wine32" cmd /c exit >/dev/null 2>&1 || true
  started=$(date +%s%N)
  wine_in "$prefix" "$wine32" cmd /c exit >/dev/null 2>&1 || true
  ms=$((($(date +%s%N) - started) / 1000000))
  echo $((1 + ms / 500 < kMaxPace ? 1 + ms / 500 : kMaxPace))
}

# Skips the test (status 77, with its reason) when LOADER is the 32-bit one and runs under
# emulation: qemu-user 7 does not always survive what the test's programs do there.
wine_native_only() {
  local loader=$1 reason=$2
  if [[ $loader == "$wine32" ]] && i386_emulated; then
    echo "SKIPPED: PE32 programs run under emulation here, and $reason"
    exit 77
  fi
}

# The pace for the programs that LOADER runs: the one measured when the template was booted
# for the 32-bit loader, 1 for wine64, which always runs natively.
wine_pace_for() {
  if [[ $1 == "$wine32" ]]; then cat "$wine_template/pace" 2>/dev/null || echo 1; else echo 1; fi
}

# Boots the template prefix unless it is ready for these Wines. Runs that share it may start
# together, hence the lock. The template shows windows in a virtual desktop.
wine_make_template() {
  mkdir -p "$wine_work"
  local key lock
  key=$(wine_template_key)
  exec {lock}>"$wine_template.lock"
  flock "$lock"
  if [[ ! -f $wine_template/ready || $(<"$wine_template/ready") != "$key" ]]; then
    echo "wine: preparing a Wine prefix for ${key//$'\n'/, }"
    rm -rf "$wine_template"
    wine_in "$wine_template" "$wine64" wineboot -i >/dev/null 2>&1 || wine_die "wineboot failed"
    wine_in "$wine_template" "$wine64" reg add 'HKCU\Software\Wine\Explorer' \
      /v Desktop /d Default /f >/dev/null
    wine_in "$wine_template" "$wine64" reg add 'HKCU\Software\Wine\Explorer\Desktops' \
      /v Default /d "$kDesktop" /f >/dev/null
    [[ -z $wine32 || -f $wine_template/drive_c/windows/syswow64/kernel32.dll ]] ||
      wine_die "wineboot left the prefix without its 32-bit system files"
    wine_measure_pace "$wine_template" >"$wine_template/pace"
    WINEPREFIX=$wine_template "$wineserver" -w
    echo "$key" >"$wine_template/ready"
  fi
  exec {lock}>&-
}

# A fresh prefix at PREFIX: a copy of the template. The system folders are large and no
# program of ours writes to them, so the copy shares them with the template (hard links).
wine_lay_prefix() {
  local prefix=$1 folder
  local shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
  wine_stop "$prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  tar -C "$wine_template" "${shared[@]/#/--exclude=./}" --exclude=./ready --exclude=./pace -cf - . |
    tar -C "$prefix" -xf -
  for folder in "${shared[@]}"; do
    if [[ -d $wine_template/$folder ]]; then cp -al "$wine_template/$folder" "$prefix/$folder"; fi
  done
}

# Starts a private X server and points DISPLAY at it; wine_stop_xvfb ends it.
xvfb_pid=
wine_start_xvfb() {
  command -v Xvfb >/dev/null || wine_die "Xvfb is not installed"
  local number_file tries
  number_file=$(mktemp)
  Xvfb -displayfd 9 -screen 0 "$kXScreen" -nolisten tcp 9>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for ((tries = 0; tries < 100; tries++)); do
    [[ -s $number_file ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || wine_die "Xvfb did not start"
    sleep 0.1
  done
  DISPLAY=":$(<"$number_file")"
  export DISPLAY
  rm -f "$number_file"
  [[ $DISPLAY != ":" ]] || wine_die "Xvfb did not tell its display"
}

wine_stop_xvfb() {
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; fi
  xvfb_pid=
}
