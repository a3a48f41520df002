#!/usr/bin/env bash
# Installs a build into a scratch prefix and builds the example programs against
# the installed tree twice, once through find_package(Quill CONFIG) and once
# through pkg-config, then runs them. Fails on the first step that does not work.
#
#   tests/install/check_install.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: check_install.sh BUILD_DIR}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name 'libquillrt.so' | head -n 1)")
for file in "$libdir/libquillrt.so.0" "$prefix/include/quillrt/search/search_engine.h" \
            "$libdir/cmake/Quill/QuillConfig.cmake" "$libdir/pkgconfig/quillrt.pc" \
            "$libdir/libquillfs.so.0" "$libdir/pkgconfig/quillfs.pc" "$libdir/libquillctl.so.0" \
            "$prefix/include/quillctl/qt_canvas.h" "$libdir/libquilljobs.so.0" "$libdir/pkgconfig/quilljobs.pc" \
            "$prefix/include/quilljobs/concordance_job.h" "$prefix/bin/quill"; do
  [ -e "$file" ] || { echo "check_install: $file was not installed" >&2; exit 1; }
done

# libzip and libcrypto are loaded when an archive is first opened or a digest
# first made: no installed library links them, and no installed header needs
# their headers.
for library in "$libdir/libquillrt.so.0" "$libdir/libquillfs.so.0"; do
  if objdump -p "$library" | grep -qE 'NEEDED.*lib(zip|crypto)'; then
    echo "check_install: $(basename "$library") links libzip or libcrypto" >&2; exit 1
  fi
done
if grep -rqE '<(zip|openssl/[a-z]+)\.h>' "$prefix/include"; then
  echo "check_install: an installed header includes <zip.h> or an OpenSSL header" >&2; exit 1
fi

expect_hits() {  # program: runs it on its built-in text and checks the three hits
  local output
  output=$("$@")
  echo "$output" | grep -q '^word 2, sentence 1: jury$' &&
    echo "$output" | grep -q '^3 hit(s)$' ||
    { echo "check_install: $1 printed:"; echo "$output"; exit 1; } >&2
}

# A small folder of texts for the word-list example: "the" three times (first met as "The"), "jury" twice.
mkdir -p "$scratch/texts/sub"
printf 'The jury said the thing.\n' >"$scratch/texts/a.txt"
printf 'A jury of the people.\n' >"$scratch/texts/sub/b.txt"
printf 'not a text of the corpus\n' >"$scratch/texts/notes.md"
expect_words() {  # program: its word list of the scratch folder
  local output
  output=$("$@" "$scratch/texts" 2)
  [ "$output" = "$(printf '10 words in 2 files\nThe\t3\njury\t2')" ] ||
    { echo "check_install: $1 printed:"; echo "$output"; exit 1; } >&2
}

# 1. CMake, as an outside project would use it.
cmake -S "$top/examples" -B "$scratch/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$scratch/cmake-build" >/dev/null
expect_hits "$scratch/cmake-build/search_utf16"
expect_words "$scratch/cmake-build/folder_wordlist"

# 2. pkg-config.
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs quillrt)
# shellcheck disable=SC2086
c++ -std=c++20 "$top/examples/search_utf16.cpp" $flags -o "$scratch/search_utf16_pc"
expect_hits "$scratch/search_utf16_pc"
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs quilljobs)
# shellcheck disable=SC2086
c++ -std=c++20 "$top/examples/folder_wordlist.cpp" $flags -o "$scratch/folder_wordlist_pc"
expect_words "$scratch/folder_wordlist_pc"

# 3. Python, where the module was built: the same two examples.
module=$(find "$prefix" -name 'quill.cpython-*.so' | head -n 1)
if [ -n "$module" ]; then
  python=${QUILL_PYTHON:-/usr/bin/python3}
  expect_hits env PYTHONPATH="$(dirname "$module")" "$python" "$top/examples/search_utf16.py"
  output=$(PYTHONPATH="$(dirname "$module")" "$python" "$top/examples/folder_wordlist.py" "$scratch/texts" 2)
  [ "$output" = "$(printf 'The\t3\njury\t2')" ] ||
    { echo "check_install: folder_wordlist.py printed:"; echo "$output"; exit 1; } >&2
fi

# 4. The installed command line finds its libraries, and its pictures module
# when a picture is asked for.
"$prefix/bin/quill" --version >/dev/null
QT_QPA_PLATFORM=offscreen "$prefix/bin/quill" concord -q -s jury "$scratch/texts" --png "$scratch/jury.png" >/dev/null
[ -s "$scratch/jury.png" ] || { echo "check_install: the installed quill drew no picture" >&2; exit 1; }

echo "check_install: installed tree found by CMake and pkg-config; examples ran"
