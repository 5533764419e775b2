#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Varno authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Puts the copyright and licence lines at the top of every source, script
# and build file of the repository that lacks them:
#
#   scripts/add-licence-headers.sh            adds them
#   scripts/add-licence-headers.sh --check    lists the files without them, fails if any
#
# C++ files get "//" lines, shell, Python and CMake files "#" lines (after a
# "#!" line), Qt resource files an XML comment. A file that already names
# its licence in its first lines is left alone, so running the script twice
# changes nothing. Data, pictures and documents get their licence from
# .reuse/dep5 instead; `reuse lint` checks the whole tree.
set -euo pipefail
cd "$(dirname "$0")/.."

# REUSE-IgnoreStart
copyright="SPDX-FileCopyrightText: The Varno authors"
licence="SPDX-License-Identifier: GPL-3.0-or-later"
tag="SPDX-License-Identifier:"
# REUSE-IgnoreEnd

check=false
if [ "${1:-}" = "--check" ]; then
    check=true
elif [ $# -gt 0 ]; then
    echo "usage: scripts/add-licence-headers.sh [--check]" >&2
    exit 2
fi

# The comment style of a file, or nothing for files that are not source,
# script or build files.
style_of() {
    case "$1" in
        *.cpp | *.h | *.h.in) echo slashes ;;
        *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt | .ci/run | .gitignore) echo hash ;;
        *.qrc) echo xml ;;
    esac
}

has_header() {
    # Reads the ten lines whole, so that no early exit of grep breaks the pipe.
    head -n 10 "$1" | grep -cF "$tag" >/dev/null
}

missing=()
changed=0
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    style="$(style_of "$file")"
    [ -n "$style" ] || continue
    has_header "$file" && continue
    missing+=("$file")
    $check && continue

    tmp="$(mktemp)"
    {
        case "$style" in
            slashes)
                printf '// %s\n// %s\n\n' "$copyright" "$licence"
                cat "$file"
                ;;
            hash)
                first="$(head -n 1 "$file")"
                if [[ "$first" == '#!'* ]]; then
                    printf '%s\n' "$first"
                    printf '# %s\n# %s\n' "$copyright" "$licence"
                    tail -n +2 "$file"
                else
                    printf '# %s\n# %s\n\n' "$copyright" "$licence"
                    cat "$file"
                fi
                ;;
            xml)
                first="$(head -n 1 "$file")"
                if [[ "$first" == '<?xml'* ]]; then
                    printf '%s\n' "$first"
                    printf '<!-- %s -->\n<!-- %s -->\n' "$copyright" "$licence"
                    tail -n +2 "$file"
                else
                    printf '<!-- %s -->\n<!-- %s -->\n' "$copyright" "$licence"
                    cat "$file"
                fi
                ;;
        esac
    } >"$tmp"
    # Writing into the file keeps its mode (scripts stay executable).
    cat "$tmp" >"$file"
    rm -f "$tmp"
    changed=$((changed + 1))
done < <(git ls-files -z --cached --others --exclude-standard)

if $check; then
    if [ ${#missing[@]} -gt 0 ]; then
        echo "add-licence-headers.sh: ${#missing[@]} files lack the licence lines:" >&2
        printf '  %s\n' "${missing[@]}" >&2
        exit 1
    fi
    echo "every source, script and build file carries its licence lines"
else
    echo "licence lines added to $changed files"
fi
