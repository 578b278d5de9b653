#!/bin/sh
# Checks the export and import tables of Varnel.dll, as objdump -p prints
# them, and prints both: the module is named Varnel.dll, it exports exactly the
# four interface functions by their plain names, and it imports only from
# KERNEL32 and the C runtime.
# Usage: check-tables.sh OBJDUMP DLL
set -eu
objdump=$1
dll=$2

dump=$("$objdump" -p "$dll")
# The export directory up to the end of its name table, and the import
# directory up to whatever objdump prints after it.
exports=$(printf '%s\n' "$dump" | awk '/^The Export Tables/ { on = 1 }
    on { print } on && /^\[Ordinal\/Name Pointer\] Table/ { names = 1 } names && /^$/ { exit }')
imports=$(printf '%s\n' "$dump" | awk '/^The Import Tables/ { on = 1 }
    on && /^(There is|The Export Tables|The Function Table|PE File Base)/ { exit } on { print }')
printf '%s\n\n%s\n' "$exports" "$imports"

status=0
fail() {
    echo "FAILED: $*"
    status=1
}

module=$(printf '%s\n' "$exports" | sed -n 's/^Name[[:space:]]\+[0-9a-f]\+[[:space:]]\+//p')
[ "$module" = Varnel.dll ] || fail "module name in the export directory is '$module', not Varnel.dll"

names=$(printf '%s\n' "$exports" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[[[:space:]]*[0-9]\+\][[:space:]]\+//p' | sort | tr '\n' ' ')
expected="VN_Exit VN_GetLastErrorMsg VN_GetSentence VN_Init "
[ "$names" = "$expected" ] || fail "exported names are '$names', expected '$expected'"

dlls=$(printf '%s\n' "$imports" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
[ -n "$dlls" ] || fail "no imported DLL found"
for name in $dlls; do
    case $(printf '%s' "$name" | tr '[:upper:]' '[:lower:]') in
        kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll) ;;
        *) fail "imports $name, which is not a Windows system DLL" ;;
    esac
done

[ $status -eq 0 ] && echo "export and import tables: OK"
exit $status
