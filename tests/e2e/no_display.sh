# Without a display the viewer reports GLFW's error and exits with code 1 before reading any shader.
source "$(dirname "$0")/../support/e2e_lib.sh"

run headless env -u DISPLAY -u WAYLAND_DISPLAY "$VIEWER" --assets "$ASSETS"
[ "$code" -eq 1 ] || fail "expected exit code 1 without a display, got $code"
grep -q '^GLFW error [0-9-]*: ' "$WORK/headless.out" || fail "no GLFW error line on stdout: $(cat "$WORK/headless.out")"
if grep -q 'Could not read file' "$WORK/headless.err"; then
    fail "shaders were read although the window could not open"
fi
echo "PASS: exit 1 with: $(head -1 "$WORK/headless.out")"
