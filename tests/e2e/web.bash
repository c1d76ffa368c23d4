# Helpers of the browser tests: a page server of their own on 127.0.0.1. Needs lib.bash and WORK.

# Serves dir on a free port, which it sets in PORT; the server alone is stopped at the end.
start_page_server() { # dir
    local log="$WORK/server-$RANDOM.log"
    python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$1" >"$log" 2>&1 &
    local server=$!
    at_exit "kill $server 2>/dev/null"
    PORT=""
    for _ in $(seq 100); do
        PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$log" | head -1)
        [ -n "$PORT" ] && return 0
        sleep 0.1
    done
    fail "the page server did not start: $(cat "$log")"
}
