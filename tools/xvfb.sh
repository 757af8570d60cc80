# Sourced by scripts that need a display of their own: start_xvfb starts Xvfb,
# 1024 x 768, on a free display number, exports DISPLAY and sets xvfb_pid.
# DISPLAY stays empty if it did not start.
start_xvfb() {
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for i in $(seq 1 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    DISPLAY=$(cat "$display_file")
    export DISPLAY="${DISPLAY:+:$DISPLAY}"
    rm -f "$display_file"
}
