#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehavior Sanitizer) in
# build/fuzz and runs each: the compound-file reader and writer over the committed seed corpus
# for at most 60 seconds, then the demultiplexer's program-stream parser and the picture decoders
# (bitmap file, icon, JPEG, GIF) for about 30 seconds each, and the settings file reader and
# writer (over the platform library of the default build, which it builds first) for about 20
# seconds. A fixed seed keeps the runs repeatable (FUZZ_SEED picks another). New inputs they find
# stay in build/fuzz/corpus, build/fuzz/ps-corpus, build/fuzz/picture-corpus and
# build/fuzz/settings-corpus; a crash leaves its input in build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
mkdir -p "$out/corpus" "$out/ps-corpus" "$out/picture-corpus" "$out/settings-corpus"
src=platform/src/com
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/include -I"$src" \
  platform/fuzz/CompoundFileFuzz.cpp "$src/CompoundFileNode.cpp" "$src/CompoundFileReader.cpp" \
  "$src/CompoundFileWriter.cpp" -o "$out/compound_file_fuzz"
"$out/compound_file_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SECONDS:-55}" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" platform/fuzz/corpus
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/src platform/fuzz/ProgramStreamFuzz.cpp platform/src/dshow/filters/ProgramStreamParser.cpp \
  -o "$out/program_stream_fuzz"
"$out/program_stream_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_PS_SECONDS:-30}" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$out/ps-" -print_final_stats=1 "$out/ps-corpus" platform/fuzz/ps-corpus
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iplatform/include -Iplatform/src platform/fuzz/PictureFuzz.cpp platform/src/picture/PictureDecoder.cpp \
  platform/src/picture/IconDecoder.cpp platform/src/picture/JpegDecoder.cpp platform/src/picture/GifDecoder.cpp \
  platform/src/gdi/DibFile.cpp -ljpeg -lgif -o "$out/picture_fuzz"
"$out/picture_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_PICTURE_SECONDS:-30}" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$out/picture-" -print_final_stats=1 "$out/picture-corpus" \
  platform/fuzz/picture-corpus
cmake --preset default >/dev/null
cmake --build --preset default --target platform >/dev/null
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -IFarrowkit/src -Iplatform/include Farrowkit/fuzz/SettingsFileFuzz.cpp Farrowkit/src/SkinIniFile.cpp \
  Farrowkit/src/SkinIniSection.cpp -Lbuild/default/bin -lplatform -Wl,-rpath,"$PWD/build/default/bin" \
  -o "$out/settings_file_fuzz"
"$out/settings_file_fuzz" -seed="${FUZZ_SEED:-1}" -max_total_time="${FUZZ_SETTINGS_SECONDS:-20}" -max_len=16384 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/settings-" -print_final_stats=1 "$out/settings-corpus" \
  Farrowkit/fuzz/settings-corpus
