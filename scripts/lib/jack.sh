#!/usr/bin/env bash
# Shell functions for a private JACK server with the dummy driver, for the tests and the quick
# start. Source this file, then:
#
#   tarnombi_jack_start [NAME] [LOGFILE]   start a server (NAME "" picks a free default name)
#                                          and wait until it accepts clients;
#                                          exports JACK_DEFAULT_SERVER=NAME and
#                                          JACK_NO_START_SERVER=1, sets TARNOMBI_JACK_PID
#   tarnombi_jack_stop                     stop the server started above, by its process id
#   tarnombi_jack_running [NAME]           whether a server of that name accepts clients
#
# The server runs realtime and synchronous; only where realtime is refused does it fall back to
# a non-realtime server, which drops a MIDI event now and then when a client thread runs late.

tarnombi_jack_running() {
    local name="${1:-${JACK_DEFAULT_SERVER:-default}}"
    [ -S "${JACK_TMPDIR:-/dev/shm}/jack_${name}_$(id -u)_0" ] || return 1
    JACK_DEFAULT_SERVER="$name" JACK_NO_START_SERVER=1 jack_lsp >/dev/null 2>&1
}

# Waits up to about ten seconds for the server with that pid and name to come up.
_tarnombi_jack_wait() {
    local pid="$1" name="$2" tries=0
    while [ "$tries" -lt 200 ]; do
        kill -0 "$pid" 2>/dev/null || return 1
        tarnombi_jack_running "$name" && return 0
        sleep 0.05
        tries=$((tries + 1))
    done
    return 1
}

tarnombi_jack_start() {
    local name="${1:-}"
    local log="${2:-/dev/null}"
    if [ -z "$name" ]; then
        # A server that dies without cleaning up keeps its slot in JACK's registry (a few for
        # the whole computer) until a server of the same name starts again, so the default
        # names come from a small set.
        local slot
        for slot in 0 1 2 3; do
            name="tarnombi-$slot"
            tarnombi_jack_running "$name" || break
        done
    fi
    if ! command -v jackd >/dev/null 2>&1; then
        echo "jackd is not installed (Debian package jackd2)" >&2
        return 1
    fi
    local mode
    for mode in -R -r; do
        jackd -n "$name" "$mode" -S -d dummy -r 48000 -p 64 >>"$log" 2>&1 &
        TARNOMBI_JACK_PID=$!
        if _tarnombi_jack_wait "$TARNOMBI_JACK_PID" "$name"; then
            export JACK_DEFAULT_SERVER="$name"
            export JACK_NO_START_SERVER=1
            export TARNOMBI_JACK_PID
            return 0
        fi
        kill "$TARNOMBI_JACK_PID" 2>/dev/null
        wait "$TARNOMBI_JACK_PID" 2>/dev/null
        [ "$mode" = -R ] && echo "JACK: realtime refused, starting without it" >&2
    done
    unset TARNOMBI_JACK_PID
    echo "JACK: the server $name did not start" >&2
    return 1
}

tarnombi_jack_stop() {
    [ -n "${TARNOMBI_JACK_PID:-}" ] || return 0
    kill "$TARNOMBI_JACK_PID" 2>/dev/null || true
    # A server killed before it has cleaned up keeps its registry slot: give it time.
    local tries=0
    while kill -0 "$TARNOMBI_JACK_PID" 2>/dev/null && [ "$tries" -lt 300 ]; do
        sleep 0.05
        tries=$((tries + 1))
    done
    kill -9 "$TARNOMBI_JACK_PID" 2>/dev/null || true
    wait "$TARNOMBI_JACK_PID" 2>/dev/null || true
    unset TARNOMBI_JACK_PID
    return 0
}
