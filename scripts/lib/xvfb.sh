#!/usr/bin/env bash
# A private X server for the window tests.

TARNOMBI_XVFB_PID=""

# Starts Xvfb on a free display and exports DISPLAY.
tarnombi_start_xvfb() {
    local display
    for display in $(seq 90 140); do
        if [ ! -e "/tmp/.X${display}-lock" ] && [ ! -e "/tmp/.X11-unix/X${display}" ]; then
            Xvfb ":${display}" -screen 0 1600x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
            TARNOMBI_XVFB_PID=$!
            local i
            for i in $(seq 1 50); do
                if [ -e "/tmp/.X11-unix/X${display}" ]; then
                    export DISPLAY=":${display}"
                    return 0
                fi
                if ! kill -0 "$TARNOMBI_XVFB_PID" 2>/dev/null; then
                    break
                fi
                sleep 0.1
            done
            kill "$TARNOMBI_XVFB_PID" 2>/dev/null
            TARNOMBI_XVFB_PID=""
        fi
    done
    echo "Could not start Xvfb" >&2
    return 1
}

tarnombi_stop_xvfb() {
    if [ -n "$TARNOMBI_XVFB_PID" ]; then
        kill "$TARNOMBI_XVFB_PID" 2>/dev/null || true
        wait "$TARNOMBI_XVFB_PID" 2>/dev/null || true
        TARNOMBI_XVFB_PID=""
    fi
}
