#!/bin/sh
# Writes a copy of a UTF-8 source whose non-ASCII characters are code page 932
# bytes spelt as octal escapes, for clang, which has no -fexec-charset=CP932.
# glibc's CP932 converter is the one g++ uses for that option, so a literal
# gets the same bytes in both builds. Each byte becomes its own escape: a trail
# byte 0x5C never meets the lexer as a backslash. A character CP932 lacks is
# dropped (-c); in a literal g++ refuses it, so only comments lose it.
# Usage: cp932_escape.sh SOURCE COPY
set -eu
mkdir -p "$(dirname "$2")"
iconv -c -f UTF-8 -t CP932 "$1" |
    LC_ALL=C perl -0777 -pe \
        's/([\x81-\x9F\xE0-\xFC][\x40-\x7E\x80-\xFC]|[\x80-\xFF])/join "", map { sprintf "\\%03o", ord } split \/\/, $1/ge' \
        >"$2.tmp"
mv "$2.tmp" "$2"
