#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehavior Sanitizer) in
# build/fuzz and runs each: the compound-file reader and writer over the committed seed corpus
# for at most 60 seconds, then the demultiplexer's program-stream parser and the picture decoders
# (bitmap file, icon, JPEG, GIF) for about 30 seconds each; then for about 20 seconds each the
# bitmap-file reader with its V4 and V5 headers, RGNDATA read into a region (each input within a
# time bound), Dunmorra's image-file loading and decoding and the encoder profile file reader with
# the capability block, and the settings file reader and writer (these three linked to the default
# build's platform library, built first).
# A fixed seed keeps the runs repeatable (FUZZ_SEED picks another). New inputs they find stay in
# build/fuzz/<name>-corpus (build/fuzz/corpus for the compound file); a crash leaves its input in
# build/fuzz. Every input that once broke a target is kept, named for what it broke, in the
# malformed folder beside its seed corpus (<name>-malformed, malformed for the compound file):
# each target reads all of them first, and the run stops on any that breaks it again.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
# replay <target> <seed corpus>: the target reads each kept malformed input once.
replay() {
  local malformed=${2%corpus}malformed
  if compgen -G "$malformed/*" >/dev/null; then
    "$1" -runs=1 -timeout=10 -rss_limit_mb=2048 "$malformed"/*
  fi
}
mkdir -p "$out/corpus" "$out/ps-corpus" "$out/picture-corpus" "$out/settings-corpus"
src=platform/src/com
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/include -I"$src" \
  platform/fuzz/CompoundFileFuzz.cpp "$src/CompoundFileNode.cpp" "$src/CompoundFileReader.cpp" \
  "$src/CompoundFileWriter.cpp" -o "$out/compound_file_fuzz"
replay "$out/compound_file_fuzz" platform/fuzz/corpus
"$out/compound_file_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SECONDS:-55}" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" platform/fuzz/corpus
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/src platform/fuzz/ProgramStreamFuzz.cpp platform/src/dshow/filters/ProgramStreamParser.cpp \
  -o "$out/program_stream_fuzz"
replay "$out/program_stream_fuzz" platform/fuzz/ps-corpus
"$out/program_stream_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_PS_SECONDS:-30}" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$out/ps-" -print_final_stats=1 "$out/ps-corpus" platform/fuzz/ps-corpus
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/include -Iplatform/src platform/fuzz/PictureFuzz.cpp platform/src/picture/PictureDecoder.cpp \
  platform/src/picture/IconDecoder.cpp platform/src/picture/JpegDecoder.cpp platform/src/picture/GifDecoder.cpp \
  platform/src/gdi/DibFile.cpp -ljpeg -lgif -o "$out/picture_fuzz"
replay "$out/picture_fuzz" platform/fuzz/picture-corpus
"$out/picture_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_PICTURE_SECONDS:-30}" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$out/picture-" -print_final_stats=1 "$out/picture-corpus" \
  platform/fuzz/picture-corpus

# Each further target: its name, its committed seed corpus, its longest input, its sources.
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
run_target() {
  local name=$1 seeds=$2 max_len=$3
  mkdir -p "$out/$name-corpus"
  replay "$out/${name}_fuzz" "$seeds"
  "$out/${name}_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_MORE_SECONDS:-20}" -max_len="$max_len" \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/$name-" -print_final_stats=1 "$out/$name-corpus" "$seeds"
}
clang++ "${flags[@]}" -Iplatform/include -Iplatform/src platform/fuzz/BitmapFileFuzz.cpp platform/src/gdi/DibFile.cpp \
  -o "$out/bitmap_fuzz"
run_target bitmap platform/fuzz/bitmap-corpus 4096
clang++ "${flags[@]}" -Iplatform/include -Iplatform/src platform/fuzz/RegionDataFuzz.cpp platform/src/gdi/RegionData.cpp \
  platform/src/gdi/Region.cpp -o "$out/region_fuzz"
run_target region platform/fuzz/region-corpus 65536
cmake --preset default >/dev/null && cmake --build --preset default --target platform >/dev/null
lib=(-L"$PWD/build/default/bin" -lplatform -Wl,-rpath,"$PWD/build/default/bin")
clang++ "${flags[@]}" -IOrvadel/inc -IDunmorra/src -I. -Iplatform/include Dunmorra/tests/fuzz/EepromImageFuzz.cpp \
  Dunmorra/src/*.cpp "${lib[@]}" -o "$out/image_fuzz"
run_target image Dunmorra/tests/fuzz/image-corpus 1024
cards=Ostrelle/src/cards/encoders
clang++ "${flags[@]}" -DHWSIM_SOURCE_DATA='"hwsim/data"' -IOstrelle/src -Ihwsim/include -Iplatform/include \
  Ostrelle/tests/fuzz/WisProfileFuzz.cpp "$cards/WisProfileReader.cpp" "$cards/WisCapabilityMatch.cpp" \
  "$cards/WisProfileKeys.cpp" "$cards/WisProfileValidation.cpp" hwsim/src/boards/WisEncoderCapabilities.cpp \
  "${lib[@]}" -o "$out/profile_fuzz"
run_target profile Ostrelle/tests/fuzz/profile-corpus 8192
clang++ "${flags[@]}" -IFarrowkit/src -Iplatform/include Farrowkit/fuzz/SettingsFileFuzz.cpp Farrowkit/src/SkinIniFile.cpp \
  Farrowkit/src/SkinIniSection.cpp "${lib[@]}" -o "$out/settings_fuzz"
run_target settings Farrowkit/fuzz/settings-corpus 16384
