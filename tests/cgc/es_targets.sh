#!/usr/bin/env bash
# Every program of the given folders that translates to GLSL 1.20 must also
# translate to GLSL ES 3.00 (vessara-cgc --target es300) that glslangValidator
# accepts. Entries: main_vertex / main_fragment where a file has them, else
# vsMain / psMain. A folder with no programs fails the test.
#   usage: es_targets.sh PATH/TO/vessara-cgc DIR...
set -u
cgc=${1:?usage: es_targets.sh VESSARA_CGC DIR...}; shift
command -v glslangValidator >/dev/null || { echo "es_targets: install glslang-tools first" >&2; exit 1; }
w=$(mktemp -d); trap 'rm -rf "$w"' EXIT
programs=0; failures=0
for dir in "$@"; do
  found=0
  while IFS= read -r f; do
    found=1
    vs=vsMain; fs=psMain
    grep -q main_vertex "$f" && { vs=main_vertex; fs=main_fragment; }
    for st in vertex fragment; do
      entry=$vs; ext=vert; [ $st = fragment ] && { entry=$fs; ext=frag; }
      "$cgc" --entry $entry --stage $st "$f" >/dev/null 2>&1 || continue
      programs=$((programs + 1))
      if ! "$cgc" --target es300 --entry $entry --stage $st "$f" >"$w/out.$ext" 2>"$w/err"; then
        failures=$((failures + 1)); echo "$f: $st: $(head -1 "$w/err")"
      elif ! glslangValidator "$w/out.$ext" >"$w/err" 2>&1; then
        failures=$((failures + 1)); echo "$f: $st: glslangValidator: $(grep -m1 ERROR "$w/err")"
      fi
    done
  done < <(find "$dir" -name '*.cg' | sort)
  [ $found = 1 ] || { echo "es_targets: no Cg programs in $dir" >&2; failures=$((failures + 1)); }
done
echo "es_targets: $((programs - failures)) of $programs GLSL 1.20 translations also translate to valid GLSL ES 3.00"
[ $failures = 0 ]
