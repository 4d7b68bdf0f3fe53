# shellcheck shell=bash
# How this machine runs i386 programs, and so 32-bit Wine and every PE32 program under it:
# natively, where the kernel runs 32-bit code, or under qemu-user's emulation where it does not
# (its log then says "IA-32 emulation off", and an i386 program gives "Exec format error").
# The emulator takes i386 programs through binfmt_misc, which the kernel asks before it tries
# a program itself. Sourced by ./x, which sets the emulation up where it is needed, and by
# wine_env.sh, which fits the Wine runs to the way they run.

readonly i386_binfmt=/proc/sys/fs/binfmt_misc
readonly i386_entry=$i386_binfmt/pelmora-i386
# The magic and mask of an i386 ELF executable or shared object, as binfmt_misc shows them.
readonly i386_magic=7f454c4601010100000000000000000002000300
readonly i386_mask=fffffffffffefe00fffffffffffffffffeffffff

# Writes FILE as the smallest i386 program: an ELF header, one segment, and the code that
# ends the process with status 42 (mov eax, 1; mov ebx, 42; int 0x80).
i386_write_probe() {
  local header='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  header+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  header+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  local segment='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  segment+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  local code='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
  printf "$header$segment$code" >"$1"
  chmod +x "$1"
}

i386_entry_enabled() { [[ -f $i386_entry && $(head -n1 "$i386_entry") == enabled ]]; }

# Whether the kernel itself runs i386 code: the probe, run in FOLDER with our emulator's entry
# switched off for that moment, must end with its own status.
i386_runs_natively() {
  local probe status=0 switched_off=
  probe=$(mktemp -p "$1" i386-probe.XXXXXX)
  i386_write_probe "$probe"
  if i386_entry_enabled; then
    echo 0 >"$i386_entry"
    switched_off=yes
  fi
  "$probe" 2>/dev/null || status=$?
  if [[ -n $switched_off ]]; then echo 1 >"$i386_entry"; fi
  rm -f "$probe"
  ((status == 42))
}

# Whether i386 programs go to an emulator: an enabled binfmt_misc entry, ours or another's,
# claims them.
i386_emulated() {
  local entry
  [[ -f $i386_binfmt/status && $(<"$i386_binfmt/status") == enabled ]] || return 1
  for entry in "$i386_binfmt"/*; do
    case $(basename "$entry") in register | status) continue ;; esac
    [[ -f $entry && $(head -n1 "$entry") == enabled ]] || continue
    grep -qx "magic $i386_magic" "$entry" && grep -qx "mask $i386_mask" "$entry" && return 0
  done
  return 1
}

i386_how() { if i386_emulated; then echo "under emulation"; else echo natively; fi; }

# Hands i386 programs to qemu-i386 (installed by the caller). The interpreter is opened now
# (F), takes the program as an open file (O) and runs it with the program's credentials (C).
i386_register_emulator() {
  if [[ ! -f $i386_binfmt/register ]]; then
    mount -t binfmt_misc binfmt_misc "$i386_binfmt" ||
      { echo "cannot mount binfmt_misc, which the emulation of i386 programs needs" >&2; return 1; }
  fi
  if [[ -f $i386_entry ]]; then
    echo 1 >"$i386_entry"
    return
  fi
  local magic mask
  magic=$(sed 's/../\\x&/g' <<<"$i386_magic")
  mask=$(sed 's/../\\x&/g' <<<"$i386_mask")
  echo ":$(basename "$i386_entry"):M::$magic:$mask:/usr/bin/qemu-i386:OCF" >"$i386_binfmt/register"
}

i386_unregister_emulator() {
  if [[ -f $i386_entry ]]; then echo -1 >"$i386_entry"; fi
}
