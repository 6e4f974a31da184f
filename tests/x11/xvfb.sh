# Sourced by the real-window harnesses: start_xvfb starts a private Xvfb server on a display the
# server picks itself, waits until it takes clients, and sets display and server (its PID).
# The display is checked to be this server's own: in a chroot /tmp is the tree's, while X's
# abstract sockets, which clients try first, are the host's, so lock files there prove nothing.
start_xvfb() {
    local ready
    ready="$(mktemp)"
    # Without -noreset the server starts afresh whenever its last client leaves, and the pointer
    # goes back to the middle of the screen.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 1 200); do
        grep -qx '[0-9]\+' "$ready" && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    display=":$(cat "$ready")"
    rm -f "$ready"
    [ "$display" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
    local inode
    for inode in $(awk -v path="@/tmp/.X11-unix/X${display#:}" \
        '$4 == "00010000" && $8 == path { print $7 }' /proc/net/unix); do
        if ls -l "/proc/$server/fd" 2>/dev/null | grep -q "socket:\[$inode\]"; then
            return 0
        fi
    done
    echo "display $display is not served by the Xvfb server started here" >&2
    return 1
}
