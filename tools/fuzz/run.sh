#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, with ASan and UBSan) into build-fuzz/ and runs each for a
# bounded time: the settings reader, and the texture path (decode and GL upload, under Xvfb). The
# seeds in tools/fuzz/corpus are copied to a working corpus in build-fuzz/, so the repository keeps
# only the small seed set. Usage: tools/fuzz/run.sh [seconds per fuzzer, default 300]. Exits non-zero
# when a fuzzer finds a crash; the input is left in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
out=build-fuzz
mkdir -p "$out/artifacts"

stb_dir=$(dirname "$(find /usr/include -name stb_image.h -print -quit)")
if [ ! -f "$out/glad/src/gl.c" ]; then
    glad --quiet --reproducible --api gl:core=4.3 --extensions=GL_KHR_debug --out-path "$out/glad" c
fi
# UBSan findings stay recoverable so that the reviewed suppressions apply; halt_on_error still makes
# every other one end the run as a crash.
flags=(-g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -Isrc -I"$out/glad/include" -I"$stb_dir")
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$(pwd)/tests/sanitizers/ubsan.supp
fuzz=(-fsanitize=fuzzer "${flags[@]}")

echo "== building"
clang -c "${flags[@]}" "$out/glad/src/gl.c" -o "$out/glad.o"
clang++ -std=c++17 "${fuzz[@]}" tools/fuzz/settings_fuzzer.cpp src/app/settings.cpp src/app/window_size.cpp \
    -lINIReader -o "$out/settings_fuzzer"
clang++ -std=c++17 "${fuzz[@]}" tools/fuzz/texture_fuzzer.cpp \
    src/model/texture_image.cpp "$out/glad.o" -lglfw -ldl -o "$out/texture_fuzzer"

# Runs one fuzzer on its working corpus and prints the figures of its final line and stats.
run_fuzzer() {
    local name=$1
    shift
    local corpus="$out/corpus/$name"
    mkdir -p "$corpus"
    cp -n tools/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
    echo "== $name: ${seconds} s"
    set +e
    "$@" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$name-" >"$out/$name.log" 2>&1
    local code=$?
    set -e
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$out/$name.log" ||
        true
    echo "corpus: $(ls "$corpus" | wc -l) inputs"
    if [ "$code" -ne 0 ]; then
        echo "FAIL: $name found a problem (exit $code):" >&2
        grep -E -A15 'ERROR|runtime error|Deadly|==[0-9]+==' "$out/$name.log" | head -40 >&2
        return 1
    fi
}

status=0
run_fuzzer settings "$out/settings_fuzzer" -dict=tools/fuzz/settings.dict -max_len=4096 || status=1
# The texture fuzzer needs a display for its hidden GL context.
run_fuzzer texture tests/support/with-xvfb.sh "$out/texture_fuzzer" -max_len=16384 || status=1
exit "$status"
