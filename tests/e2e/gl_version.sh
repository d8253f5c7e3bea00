# A context below OpenGL 4.3 is refused with one line naming both versions, and exit code 1. Mesa's
# MESA_GL_VERSION_OVERRIDE stands in for an old driver.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

run old env MESA_GL_VERSION_OVERRIDE=3.3 "$VIEWER" --assets "$ASSETS" --max-frames 1
[ "$code" -eq 1 ] || fail "expected exit code 1 on an OpenGL 3.3 context, got $code"
grep -q 'needs OpenGL 4.3, but this system offers OpenGL 3.3' "$WORK/old.err" ||
    fail "no version line on stderr: $(cat "$WORK/old.err")"
[ "$(wc -l <"$WORK/old.err")" -eq 1 ] || fail "more than one line on stderr: $(cat "$WORK/old.err")"
echo "PASS: $(cat "$WORK/old.err")"
