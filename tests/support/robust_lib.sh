# Helpers of the robustness scripts: broken copies of the assets folder and one bounded viewer run per
# case, checked for what every case shares (no crash, no hang, no sanitizer report). Source it after
# e2e_lib.sh.

# Small and short: the cases are about loading; a few frames show that the passes survive it.
ROBUST_SETTINGS='[window]
width = 160
height = 90
fullscreen = false
volume = 0.5
automaticCam = true'
ROBUST_TIMEOUT=${ROBUST_TIMEOUT:-120}

# A folder that shows the built assets through links, with the small settings above; prints its path.
case_assets() {
    assets_with_settings "$1" <<<"$ROBUST_SETTINGS"
}

# Makes RELATIVE (a file under the assets folder DIR) writable for the case: every linked folder on
# the way becomes a real folder of links, and the file's own link is removed. Prints the file's path.
own_path() {
    local dir=$1 relative=$2 at=$1 part entry
    local -a parts
    IFS=/ read -r -a parts <<<"$relative"
    local last=$((${#parts[@]} - 1))
    for ((i = 0; i < last; i++)); do
        part=${parts[$i]}
        if [ -L "$at/$part" ]; then
            local target
            target=$(realpath "$at/$part")
            rm "$at/$part"
            mkdir "$at/$part"
            for entry in "$target"/*; do
                ln -s "$entry" "$at/$part/$(basename "$entry")"
            done
        fi
        at="$at/$part"
    done
    rm -f "$at/${parts[$last]}"
    echo "$at/${parts[$last]}"
}

# The first half of a file: a download or a copy that stopped early.
truncated_copy() {
    local source=$1 bytes
    bytes=$(($(stat -c %s "$source") / 2))
    head -c "$bytes" "$source"
}

# Random bytes that no loader recognises, the same every run.
garbage() {
    python3 -c 'import random, sys; r = random.Random(7); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(int(sys.argv[1]))))' "${1:-4096}"
}

# Replaces RELATIVE in DIR: missing, empty, truncated (first half) or garbage.
break_file() {
    local dir=$1 relative=$2 how=$3 target source
    source=$(realpath "$ASSETS/$relative")
    target=$(own_path "$dir" "$relative")
    case $how in
    missing) ;;
    empty) : >"$target" ;;
    truncated) truncated_copy "$source" >"$target" ;;
    garbage) garbage 4096 >"$target" ;;
    *) fail "unknown way to break a file: $how" ;;
    esac
}

# Runs the viewer on DIR with the extra arguments, bounded in time; sets CODE, OUT, ERR. Fails the
# script on a crash (signal or sanitizer report) or a hang, whatever the case expects otherwise.
run_case() {
    local name=$1 dir=$2
    shift 2
    OUT="$WORK/$name.out"
    ERR="$WORK/$name.err"
    set +e
    timeout -k 10 "$ROBUST_TIMEOUT" "$VIEWER" --assets "$dir" "$@" >"$OUT" 2>"$ERR"
    CODE=$?
    set -e
    CASES_RUN=$((${CASES_RUN:-0} + 1))
    if [ "$CODE" -eq 124 ] || [ "$CODE" -eq 137 ]; then
        fail "$name: no end within ${ROBUST_TIMEOUT}s (exit $CODE); last output: $(tail -3 "$OUT")"
    fi
    [ "$CODE" -lt 128 ] || fail "$name: killed by signal $((CODE - 128)); stderr: $(tail -5 "$ERR")"
    if grep -q -e 'AddressSanitizer' -e 'LeakSanitizer' -e 'runtime error:' "$OUT" "$ERR"; then
        fail "$name: sanitizer report: $(grep -h -m3 -e 'Sanitizer' -e 'runtime error:' "$OUT" "$ERR")"
    fi
    echo "case $name: exit $CODE"
}

expect_code() {
    [ "$CODE" -eq "$2" ] || fail "$1: exit code $CODE, expected $2; stdout: $(tail -3 "$OUT"); stderr: $(tail -3 "$ERR")"
}

# FILE (OUT or ERR of the last case) holds a line containing TEXT, as a fixed string.
expect_line() {
    local name=$1 file=$2 text=$3
    grep -q -F -- "$text" "$file" || fail "$name: no line with '$text' in $(basename "$file"): $(head -c 600 "$file")"
}

expect_no_line() {
    local name=$1 file=$2 text=$3
    if grep -q -F -- "$text" "$file"; then
        fail "$name: unexpected '$text' in $(basename "$file"): $(grep -m2 -F -- "$text" "$file")"
    fi
}

# The frame loop ran to its limit: every model report was printed and the process ended normally.
expect_normal_end() {
    expect_code "$1" 0
    local reports
    reports=$(grep -c 'new Model-----------' "$OUT" || true)
    [ "$reports" -eq 15 ] || fail "$1: $reports model reports instead of 15"
}
