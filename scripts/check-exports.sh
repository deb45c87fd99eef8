#!/usr/bin/env bash
# Checks the 32-bit deliverables and programs of the deploy folder: PE32, no MinGW
# runtime DLL, and the export tables against the names they must
# export (scripts/exports/*.txt).
#
# A list file: "file: <path in the deploy folder>", then one required export name per
# line; "ordinals: 1 2 ..." requires exactly those ordinals, "names: none" forbids
# names, "only: listed" forbids names beyond the listed ones, and "imported-by: <path>
# ..." requires that every name those files import from this one is listed (so the
# list keeps up with what the other deliverables bind).
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
  listed="$(grep -v -e '^#' -e '^$' -e ':' "$list" || true)"
  while IFS= read -r line; do
    case "$line" in
      ""|"#"*|file:*) ;;
      ordinals:*)
        wanted="$(tr ' ' '\n' <<<"${line#ordinals:}" | sed '/^$/d' | sort -n)"
        have="$(awk '/^\t\[ *[0-9]+\] \+base\[ *[0-9]+\]/{gsub(/[^0-9]/," ",$0); split($0,a," "); print a[2]}' <<<"$dump" | sort -n)"
        if [ "$wanted" != "$have" ]; then
          echo "  $file: ordinals $(echo $have) instead of $(echo $wanted)"; missing=1
        fi ;;
      "only: listed")
        extra="$(comm -13 <(sort -u <<<"$listed") <(sort -u <<<"$names") | sed '/^$/d')"
        if [ -n "$extra" ]; then echo "  $file: exports names it must not:"; echo "$extra" | sed 's/^/    /'; missing=1; fi ;;
      imported-by:*)
        for user in ${line#imported-by:}; do
          if [ ! -f "$dist/$user" ]; then echo "  $file: $user missing"; missing=1; continue; fi
          bound="$($objdump -p "$dist/$user" | awk -v dll="$(basename "$file")" \
            '/DLL Name:/{t=($3==dll);next} t&&NF==3&&$2~/^[0-9]+$/{print $3}' | sort -u)"
          unlisted="$(comm -23 <(sed '/^$/d' <<<"$bound") <(sort -u <<<"$listed"))"
          if [ -n "$unlisted" ]; then
            echo "  $file: $user binds names the list lacks:"; echo "$unlisted" | sed 's/^/    /'; missing=1
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
