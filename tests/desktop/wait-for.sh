# Sourced by the desktop checks.
#
# wait_for PID COMMAND...: runs COMMAND every tenth of a second until it succeeds, for ten
# seconds at most, and while the process PID (the server being waited for) runs. Fails when
# COMMAND never succeeded.
wait_for() {
    wait_pid=$1
    shift
    wait_tries=0
    until "$@"; do
        kill -0 "$wait_pid" 2>/dev/null && [ $wait_tries -lt 100 ] || return 1
        sleep 0.1
        wait_tries=$((wait_tries + 1))
    done
}
