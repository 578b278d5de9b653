#!/bin/sh
# Checks the dynamic symbols that libVarnel.so defines, as nm -D prints them:
# exactly the four interface functions (text) and g_pSentence (data).
# Usage: check-exports.sh NM LIBRARY
set -eu
nm=$1
library=$2

symbols=$("$nm" -D --defined-only "$library" | awk '{ print $(NF - 1), $NF }' | sort)
printf '%s\n' "$symbols"
expected=$(printf '%s\n' "T VN_Exit" "T VN_GetLastErrorMsg" "T VN_GetSentence" "T VN_Init" \
    "B g_pSentence" | sort)
if [ "$symbols" != "$expected" ]; then
    echo "FAILED: the exported symbols differ from the interface"
    exit 1
fi
echo "exported symbols: OK"
