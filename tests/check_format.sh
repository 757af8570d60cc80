#!/bin/sh
# Every C and C++ file of the tree is as .clang-format (make format) leaves it.
#   check_format.sh SOURCE_DIR
set -eu
cd "$1"
unformatted=""
for file in $(find core win res tests tools -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort); do
    clang-format --style=file "$file" | cmp -s - "$file" || unformatted="$unformatted $file"
done
if [ -n "$unformatted" ]; then
    echo "FAILED: not formatted (run make format):$unformatted" >&2
    exit 1
fi
echo "every C and C++ file formatted"
