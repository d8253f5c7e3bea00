# The command line: --help and --version answer and exit 0; every bad option or value is refused with
# one line on standard error and exit code 2, before any window opens (no display is offered, so an
# attempt to open one would exit 1 instead). One case per kind of refusal; the unit tests go through
# every bad value.
source "$(dirname "$0")/../support/e2e_lib.sh"

run_viewer() { run cli env -u DISPLAY -u WAYLAND_DISPLAY "$VIEWER" "$@"; }

run_viewer --help
[ "$code" -eq 0 ] || fail "--help exited with $code"
for option in --fixed-step --max-frames --screenshot --assets --version --size --fullscreen --windowed \
    --no-vsync --loop --screenshot-dir; do
    grep -q -- "$option" "$WORK/cli.out" || fail "--help does not mention $option"
done

run_viewer --version
[ "$code" -eq 0 ] || fail "--version exited with $code"
grep -q '^duskvale [0-9]' "$WORK/cli.out" || fail "--version printed: $(cat "$WORK/cli.out")"

# A folder of another name: its shaders, read as ../assets/shaders, would be missed.
mkdir -p "$WORK/data"
while IFS= read -r args; do
    # shellcheck disable=SC2086 # each line is a list of words
    run_viewer $args
    [ "$code" -eq 2 ] || fail "'$args' exited with $code, expected 2"
    [ "$(wc -l <"$WORK/cli.err")" -eq 1 ] || fail "'$args' printed $(wc -l <"$WORK/cli.err") lines on stderr"
    [ ! -s "$WORK/cli.out" ] || fail "'$args' printed on stdout: $(cat "$WORK/cli.out")"
done <<ARGS
--fixed-step
--fixed-step 0
--screenshot 0:x.png
--assets /no/such/folder
--assets $WORK/data
--size 99999x1
--loop --record out
--wireframe
--view ssao
extra-argument
--max-frames 5 --bogus
ARGS
run_viewer --assets "$WORK/data"
grep -q "must be named 'assets'" "$WORK/cli.err" || fail "--assets of another name printed: $(cat "$WORK/cli.err")"
echo "PASS"
