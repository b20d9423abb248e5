#!/usr/bin/env bash
# Builds the compound-file fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehavior
# Sanitizer) in build/fuzz and runs it over the committed seed corpus for at most 60 seconds.
# A fixed seed keeps the run repeatable (FUZZ_SEED picks another). New inputs it finds stay in
# build/fuzz/corpus; a crash leaves its input in build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
mkdir -p "$out/corpus"
src=platform/src/com
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/include -I"$src" \
  platform/fuzz/CompoundFileFuzz.cpp "$src/CompoundFileNode.cpp" "$src/CompoundFileReader.cpp" \
  "$src/CompoundFileWriter.cpp" -o "$out/compound_file_fuzz"
"$out/compound_file_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SECONDS:-55}" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" platform/fuzz/corpus
