#!/usr/bin/env bash
# Checks the export tables of the 32-bit deliverables against the names they must
# export (scripts/exports/*.txt), and that none of them needs a MinGW runtime DLL.
#
# A list file: "file: <path in the deploy folder>", then one required export name per
# line; "ordinals: 1 2 ..." requires those ordinals and "names: none" forbids names.
# Usage: scripts/check-exports.sh <deploy folder>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$1"
objdump=i686-w64-mingw32-objdump
command -v $objdump >/dev/null || objdump=objdump
fail=0

for list in "$root"/scripts/exports/*.txt; do
  [ -e "$list" ] || continue
  file="$(sed -n 's/^file: *//p' "$list")"
  path="$dist/$file"
  if [ ! -f "$path" ]; then
    echo "MISSING  $file"; fail=1; continue
  fi
  dump="$($objdump -p "$path")"
  if ! grep -q 'Magic.*(PE32)' <<<"$dump"; then
    echo "NOT PE32 $file"; fail=1
  fi
  if grep -E 'DLL Name: (libgcc|libstdc|libwinpthread)' <<<"$dump"; then
    echo "RUNTIME  $file needs a MinGW runtime DLL"; fail=1
  fi
  # Export names: the lines "[ n] name" of the name pointer table.
  names="$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^\t\[/{print $NF} t&&/^$/{t=0}' <<<"$dump")"
  missing=0; count=0
  while IFS= read -r line; do
    case "$line" in
      ""|"#"*|file:*) ;;
      ordinals:*)
        for o in ${line#ordinals:}; do
          if ! awk -v o="$o" '/^\t\[ *[0-9]+\] \+base\[ *[0-9]+\]/{gsub(/[^0-9]/," ",$0); split($0,a," "); if (a[2]==o) f=1} END{exit !f}' <<<"$dump"; then
            echo "  $file: ordinal $o missing"; missing=1
          fi
        done ;;
      "names: none")
        if [ -n "$names" ]; then echo "  $file: exports names:"; echo "$names" | sed 's/^/    /'; missing=1; fi ;;
      *)
        count=$((count+1))
        if ! grep -Fxq -- "$line" <<<"$names"; then echo "  $file: $line missing"; missing=1; fi ;;
    esac
  done < "$list"
  if [ $missing -eq 0 ]; then echo "OK       $file ($count names)"; else echo "FAIL     $file"; fail=1; fi
done
exit $fail
