# Sourced, not run: start_xvfb <first display number> <WxHxD> starts an Xvfb
# on the first free display from that number on, exports DISPLAY, sets
# xvfb_pid for the caller's cleanup and waits (up to 10 s) for its socket.
start_xvfb() {
    n=$1
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    i=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
}
