#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehavior Sanitizer) in
# build/fuzz and runs each: the compound-file reader and writer over the committed seed corpus
# for at most 60 seconds, then the demultiplexer's program-stream parser and the picture decoders
# (bitmap file, icon, JPEG, GIF) for about 30 seconds each; then for about 20 seconds each the
# bitmap-file reader with its V4 and V5 headers, RGNDATA read into a region (each input within a
# time bound), Dunmorra's image-file loading and decoding and the encoder profile file reader with
# the capability block, and the settings file reader and writer (these three linked to the default
# build's platform library, built first).
# The targets are built side by side, then run side by side, each into its log
# (build/fuzz/<name>.log), shown when it ends; a build that fails shows the compiler's output.
# A fixed seed keeps the runs repeatable (FUZZ_SEED picks another). New inputs they find stay in
# build/fuzz/<name>-corpus; a crash leaves its input in
# build/fuzz. Every input that once broke a target is kept, named for what it broke, in the
# malformed folder beside its seed corpus (<name>-malformed, malformed for the compound file):
# each target reads all of them first, and the run stops on any that breaks it again.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
mkdir -p "$out"
# The three targets linked to the default build's platform library need it first.
cmake --preset default >/dev/null
cmake --build --preset default --target platform
lib=(-L"$PWD/build/default/bin" -lplatform -Wl,-rpath,"$PWD/build/default/bin")
src=platform/src/com
cards=Ostrelle/src/cards/encoders

# Each target: its name, its committed seed corpus, its longest input, its run's seconds; then
# its compiler arguments.
names=() seeds=() lengths=() seconds=() sources=()
target() {
  names+=("$1") seeds+=("$2") lengths+=("$3") seconds+=("$4")
  shift 4
  sources+=("$*")
}
target compound_file platform/fuzz/corpus 65536 "${FUZZ_SECONDS:-55}" -Iplatform/include -I"$src" \
  platform/fuzz/CompoundFileFuzz.cpp "$src/CompoundFileNode.cpp" "$src/CompoundFileReader.cpp" "$src/CompoundFileWriter.cpp"
target program_stream platform/fuzz/ps-corpus 8192 "${FUZZ_PS_SECONDS:-30}" -Iplatform/src \
  platform/fuzz/ProgramStreamFuzz.cpp platform/src/dshow/filters/ProgramStreamParser.cpp
target picture platform/fuzz/picture-corpus 16384 "${FUZZ_PICTURE_SECONDS:-30}" -Iplatform/include -Iplatform/src \
  platform/fuzz/PictureFuzz.cpp platform/src/picture/PictureDecoder.cpp platform/src/picture/IconDecoder.cpp \
  platform/src/picture/JpegDecoder.cpp platform/src/picture/GifDecoder.cpp platform/src/gdi/DibFile.cpp -ljpeg -lgif
target bitmap platform/fuzz/bitmap-corpus 4096 "${FUZZ_MORE_SECONDS:-20}" -Iplatform/include -Iplatform/src \
  platform/fuzz/BitmapFileFuzz.cpp platform/src/gdi/DibFile.cpp
target region platform/fuzz/region-corpus 65536 "${FUZZ_MORE_SECONDS:-20}" -Iplatform/include -Iplatform/src \
  platform/fuzz/RegionDataFuzz.cpp platform/src/gdi/RegionData.cpp platform/src/gdi/Region.cpp
target image Dunmorra/tests/fuzz/image-corpus 1024 "${FUZZ_MORE_SECONDS:-20}" -IOrvadel/inc -IDunmorra/src -I. \
  -Iplatform/include Dunmorra/tests/fuzz/EepromImageFuzz.cpp Dunmorra/src/*.cpp "${lib[*]}"
target profile Ostrelle/tests/fuzz/profile-corpus 8192 "${FUZZ_MORE_SECONDS:-20}" -DHWSIM_SOURCE_DATA='"hwsim/data"' \
  -IOstrelle/src -Ihwsim/include -Iplatform/include Ostrelle/tests/fuzz/WisProfileFuzz.cpp \
  "$cards/WisProfileReader.cpp" "$cards/WisCapabilityMatch.cpp" "$cards/WisProfileKeys.cpp" \
  "$cards/WisProfileValidation.cpp" hwsim/src/boards/WisEncoderCapabilities.cpp "${lib[*]}"
target settings Farrowkit/fuzz/settings-corpus 16384 "${FUZZ_MORE_SECONDS:-20}" -IFarrowkit/src -Iplatform/include \
  Farrowkit/fuzz/SettingsFileFuzz.cpp Farrowkit/src/SkinIniFile.cpp Farrowkit/src/SkinIniSection.cpp "${lib[*]}"

# together <command for target i...>: runs it for every target at once, then shows each log;
# fails when any failed.
together() {
  local pids=() i failed=0
  for i in "${!names[@]}"; do
    "$@" "$i" >"$out/${names[$i]}.log" 2>&1 &
    pids+=($!)
  done
  for i in "${!names[@]}"; do
    wait "${pids[$i]}" || failed=1
    echo "--- ${names[$i]}"
    tail -n 30 "$out/${names[$i]}.log"
  done
  return $failed
}

compile() {
  # shellcheck disable=SC2086 # the arguments are split as they were given
  clang++ "${flags[@]}" ${sources[$1]} -o "$out/${names[$1]}_fuzz"
}

# Every kept malformed input once, then the run from the seed corpus and what earlier runs found.
run() {
  local name=${names[$1]} seed_corpus=${seeds[$1]}
  local malformed=${seed_corpus%corpus}malformed
  if compgen -G "$malformed/*" >/dev/null; then
    "$out/${name}_fuzz" -runs=1 -timeout=10 -rss_limit_mb=2048 "$malformed"/*
  fi
  mkdir -p "$out/$name-corpus"
  "$out/${name}_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${seconds[$1]}" -max_len="${lengths[$1]}" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$out/$name-" -print_final_stats=1 "$out/$name-corpus" "$seed_corpus"
}

together compile
together run
