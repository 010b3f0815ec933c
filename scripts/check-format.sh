#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format, changing nothing.
# Lists each file that clang-format would change and exits non-zero when there is one.
# Installs Debian's clang-format 14 when it is missing; the layout is checked with that
# version, since other versions break some lines differently.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh clang-format-14
tool=clang-format-14

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
failing=0
for file in "${files[@]}"; do
  if ! "$tool" --dry-run -Werror --style=file "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    failing=$((failing + 1))
  fi
done

if ((failing > 0)); then
  echo "check-format: $failing of ${#files[@]} files differ from .clang-format" >&2
  exit 1
fi
echo "check-format: all ${#files[@]} files follow .clang-format"
