#!/usr/bin/env bash
# Fails when the Windows program imports a function that window/win32/imports.txt
# does not list, or lists as newer than Windows 7 SP1: the loader refuses a
# program whose imports its Windows lacks, before any of its code runs.
#   tests/check-imports.sh PROGRAM.exe IMPORTS.txt
#   tests/check-imports.sh --parse OBJDUMP_OUTPUT   prints the imports read from a saved `objdump -p`
set -euo pipefail

# "dll function" for each import in `objdump -p` output. The columns of the
# import table differ between binutils versions (2.44 added an ordinal column),
# so each table's own header says which column holds the name; an import by
# ordinal alone has no name and is printed as "#ordinal".
imports() {
    awk '/DLL Name:/ { dll = tolower($3); column = 0; next }
         dll && $1 == "vma:" { for (i = 2; i <= NF; i++) if ($i == "Member-Name") column = i; next }
         NF == 0 { column = 0; next }
         column && $1 ~ /^[0-9a-f]+$/ { print dll, (NF >= column ? $column : "#ordinal") }' | sort -u
}
if [[ "${1:-}" == --parse ]]; then
    imports <"${2:?usage: $0 --parse OBJDUMP_OUTPUT}"
    exit
fi
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
done < <("$objdump" -p "$program" | imports)
[[ $count -gt 0 ]] || { echo "check-imports: no imports read from $program"; exit 1; }
newest=$(awk '!/^#/ && NF == 3 { print $3 }' "$list" | sort -u | tr '\n' ' ')
echo "check-imports: $count imports, each from Windows XP or Vista or 7 (the list holds: $newest)"
exit $status
