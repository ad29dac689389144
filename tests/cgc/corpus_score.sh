#!/usr/bin/env bash
# The compiler on the shared corpus of Cg written elsewhere (../shared/cg-corpus):
# runs the corpus's own scorer and fails when fewer than MIN_PERCENT of its
# programs translate to GLSL that the GL driver and glslangValidator accept, when
# any program is accepted by the compiler but refused by the driver, or when the
# corpus or the scorer's tools are missing.
#   usage: corpus_score.sh PATH/TO/vessara-cgc CORPUS_DIR MIN_PERCENT
set -u
cgc=${1:?usage: corpus_score.sh VESSARA_CGC CORPUS_DIR MIN_PERCENT}
corpus=${2:?corpus directory}
min=${3:?minimum percent}
if [ ! -f "$corpus/score.sh" ]; then
  echo "corpus_score: no Cg corpus at $corpus (its score.sh is missing)" >&2
  exit 1
fi
out=$(bash "$corpus/score.sh" "$cgc" -v 2>&1)
echo "$out"
read -r pass total refused < <(sed -nE 's/^([0-9]+) of ([0-9]+) files .*; ([0-9]+) accepted .*/\1 \2 \3/p' <<<"$out" | tail -1)
if [ -z "${pass:-}" ] || [ "$total" -eq 0 ]; then
  echo "corpus_score: the scorer gave no total" >&2
  exit 1
fi
echo "corpus_score: $pass of $total ($((pass * 100 / total)) %), $refused refused by GL; at least $min % and none refused needed"
[ "$refused" -eq 0 ] && [ $((pass * 100)) -ge $((min * total)) ]
