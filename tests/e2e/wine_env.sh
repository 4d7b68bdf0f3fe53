#!/usr/bin/env bash
# Wine for the tests and for ./x run: where its programs are, the prefixes, the X server.
# Sourced by run_wine.sh and run_setup.sh. Run directly, it answers one question for ./x:
#
#   wine_env.sh can-run-pe32 BUILD   exit 0 when this Wine runs the PE32 programs of BUILD
#
# Prefixes live in the work folder beside the build folders (build/wine): one template is
# booted per Wine version, and every run gets a fresh copy of it.

readonly kDesktop=1024x768       # the Wine virtual desktop the robot works in
readonly kXScreen=1280x1024x24   # the private X server that holds it

wine_die() { echo "wine: $*" >&2; exit 3; }

wine_find() {  # the first of the given programs that can be run
  local name
  for name; do
    if [[ -x $name ]]; then echo "$name"; return; fi
    if command -v "$name" >/dev/null; then command -v "$name"; return; fi
  done
}

# Sets the Wine programs and the work folder of BUILD; exports what every Wine call needs.
wine_init() {
  wine64=$(wine_find /usr/lib/wine/wine64 wine64)
  wine32=$(wine_find /usr/lib/wine/wine)
  wineserver=$(wine_find /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver wineserver)
  [[ -n $wine64 && -n $wineserver ]] || wine_die "wine64 is not installed"
  wine_work=$(dirname "$(realpath -m "$1")")/wine
  wine_template=$wine_work/template
  # No Mono or Gecko prompts, and no menu entries on the host for the program groups.
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINESERVER=$wineserver
  unset WINEARCH
}

# Windows sees the Unix file system as drive Z:.
wine_path() { local path; path=$(realpath -m "$1"); printf 'Z:%s' "${path//\//\\}"; }

# The loader for a program: wine64 for PE32+, the 32-bit loader for PE32.
wine_loader_for() {
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
  case $machine in
    8664) echo "$wine64" ;;
    014c) echo "${wine32:-none}" ;;
    *) wine_die "$1 is not a Windows program of a known kind" ;;
  esac
}

wine_in() {  # PREFIX LOADER PROGRAM ARGS...: runs a Windows program in PREFIX
  local prefix=$1 loader=$2
  shift 2
  WINEPREFIX=$prefix WINELOADER=$loader "$loader" "$@"
}

wine_stop() { WINEPREFIX=$1 "$wineserver" -k 2>/dev/null || true; }

# Boots the template prefix unless it is ready for this Wine. Runs that share a work folder
# may start together, hence the lock. The template shows windows in a virtual desktop.
wine_make_template() {
  mkdir -p "$wine_work"
  local version lock
  version=$("$wine64" --version)
  exec {lock}>"$wine_work/template.lock"
  flock "$lock"
  if [[ ! -f $wine_template/ready || $(<"$wine_template/ready") != "$version" ]]; then
    echo "wine: preparing a Wine prefix (once per Wine version)"
    rm -rf "$wine_template"
    wine_in "$wine_template" "$wine64" wineboot -i >/dev/null 2>&1 || wine_die "wineboot failed"
    wine_in "$wine_template" "$wine64" reg add 'HKCU\Software\Wine\Explorer' \
      /v Desktop /d Default /f >/dev/null
    wine_in "$wine_template" "$wine64" reg add 'HKCU\Software\Wine\Explorer\Desktops' \
      /v Default /d "$kDesktop" /f >/dev/null
    WINEPREFIX=$wine_template "$wineserver" -w
    echo "$version" >"$wine_template/ready"
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
  tar -C "$wine_template" "${shared[@]/#/--exclude=./}" --exclude=./ready --exclude=./pe32-runs \
    -cf - . | tar -C "$prefix" -xf -
  for folder in "${shared[@]}"; do
    if [[ -d $wine_template/$folder ]]; then cp -al "$wine_template/$folder" "$prefix/$folder"; fi
  done
}

# Whether this Wine runs the PE32 programs of BUILD: tried once with its robot, the answer
# kept with the template.
wine_runs_pe32() {
  local robot=$1/tests/e2e/robot/robot.exe answer=$wine_template/pe32-runs
  [[ -f $robot && -n $wine32 ]] || return 1
  if [[ ! -f $answer ]]; then
    if wine_in "$wine_template" "$wine32" "$robot" --probe >/dev/null 2>&1; then
      echo yes >"$answer"
    else
      echo no >"$answer"
    fi
    wine_stop "$wine_template"
  fi
  [[ $(<"$answer") == yes ]]
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

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  case ${1:-} in
    can-run-pe32)
      (($# == 2)) || wine_die "usage: wine_env.sh can-run-pe32 BUILD"
      wine_init "$2"
      wine_make_template
      wine_runs_pe32 "$(realpath -m "$2")"
      ;;
    *) wine_die "usage: wine_env.sh can-run-pe32 BUILD" ;;
  esac
fi
