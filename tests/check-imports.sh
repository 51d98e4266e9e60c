#!/usr/bin/env bash
# Fails when the Windows program imports a function that window/win32/imports.txt
# does not list, or lists as newer than Windows 7 SP1: the loader refuses a
# program whose imports its Windows lacks, before any of its code runs.
#   tests/check-imports.sh PROGRAM.exe IMPORTS.txt
set -euo pipefail
program=${1:?usage: $0 PROGRAM.exe IMPORTS.txt}
list=${2:?usage: $0 PROGRAM.exe IMPORTS.txt}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
status=0
count=0
while read -r dll function; do
    count=$((count + 1))
    oldest=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f { print $3 }' "$list")
    case "$oldest" in
        XP|Vista|7) ;;
        "") echo "check-imports: $dll $function is not in $list: find the oldest Windows that has it, then add it"
            status=1 ;;
        *) echo "check-imports: $dll $function needs Windows $oldest, newer than Windows 7 SP1"
           status=1 ;;
    esac
done < <("$objdump" -p "$program" \
           | awk '/DLL Name:/ { dll = tolower($3); next }
                  dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }' | sort -u)
[[ $count -gt 0 ]] || { echo "check-imports: no imports read from $program"; exit 1; }
newest=$(awk '!/^#/ && NF == 3 { print $3 }' "$list" | sort -u | tr '\n' ' ')
echo "check-imports: $count imports, each from Windows XP or Vista or 7 (the list holds: $newest)"
exit $status
