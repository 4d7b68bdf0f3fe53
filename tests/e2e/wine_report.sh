#!/usr/bin/env bash
# Says which Wine test ran on which build, and how: a line per test with its result on each
# build (passed, FAILED, skipped, or "-" where the run did not include it), then every PE32
# test that did not run, with the reason. Reads the JUnit files that CTest wrote.
#
#   wine_report.sh PE32_NAME PE32_JUNIT PE32PLUS_NAME PE32PLUS_JUNIT
set -euo pipefail
(($# == 4)) || { echo "usage: wine_report.sh PE32_NAME PE32_JUNIT PE32PLUS_NAME PE32PLUS_JUNIT" >&2; exit 2; }

# "NAME<TAB>RESULT" for each test case of a JUnit file; a skipped test's result carries the
# reason that its output gave on a line "SKIPPED: ...".
results() {
  [[ -f $1 ]] || return 0
  awk '
    function unescape(text) {
      gsub(/&lt;/, "<", text); gsub(/&gt;/, ">", text); gsub(/&quot;/, "\"", text)
      gsub(/&apos;/, "\047", text); gsub(/&amp;/, "\\&", text)
      return text
    }
    function flush() { if (name != "") print name "\t" result; name = "" }
    /<testcase / {
      flush()
      match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /status="[^"]*"/); status = substr($0, RSTART + 8, RLENGTH - 9)
      result = status == "run" ? "passed" : status == "fail" ? "FAILED" : "not run"
    }
    /<skipped/ { result = "skipped" }
    /SKIPPED: / && result == "skipped" {
      reason = $0; sub(/.*SKIPPED: /, "", reason); result = "skipped: " unescape(reason)
    }
    END { flush() }' "$1"
}

declare -A pe32 pe32plus
names=()
while IFS=$'\t' read -r name result; do
  pe32[$name]=$result
  names+=("$name")
done < <(results "$2")
while IFS=$'\t' read -r name result; do
  pe32plus[$name]=$result
  [[ -v pe32[$name] ]] || names+=("$name")
done < <(results "$4")

printf '  %-38s %-24s %s\n' test "$1" "$3"
not_run=()
for name in "${names[@]}"; do
  pe32_result=${pe32[$name]:--} pe32plus_result=${pe32plus[$name]:--}
  printf '  %-38s %-24s %s\n' "$name" "${pe32_result%%:*}" "${pe32plus_result%%:*}"
  [[ ${pe32[$name]:-} == passed || ${pe32[$name]:-} == FAILED ]] || not_run+=("$name")
done
if ((${#not_run[@]})); then
  echo "PE32 tests not run:"
  for name in "${not_run[@]}"; do echo "  $name: ${pe32[$name]:-not among the tests of the run}"; done
else
  echo "PE32 tests not run: none"
fi
