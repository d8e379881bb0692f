# Sourced by the scripts: a private Wine prefix and, when needed, a private X
# display, both removed again by wine_cleanup (set as an EXIT trap).
wine_prefix_dir=""
xvfb_pid=""

wine_start() {
    wine_prefix_dir=$(mktemp -d /tmp/kavrolt-wine.XXXXXX)
    export WINEPREFIX="$wine_prefix_dir"
    export WINEDEBUG=-all
    # No Mono or Gecko installers and no sound devices: the tests need none.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv="
    export WINEARCH=win64
    # wineboot warns that wine32 is missing; this machine runs 64-bit code only.
    timeout 300 wineboot -i >"$wine_prefix_dir.boot.log" 2>&1 || {
        echo "wine: prefix set-up failed, see $wine_prefix_dir.boot.log" >&2
        return 1
    }
    # Without a window manager on the private display, Wine draws the window
    # frames and captions itself.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
}

xvfb_start() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${KAVROLT_OWN_DISPLAY:-}" ]; then
        return 0
    fi
    local display
    for display in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$display" ] && break
            sleep 0.1
        done
        if kill -0 "$xvfb_pid" 2>/dev/null; then
            export DISPLAY=":$display"
            return 0
        fi
    done
    echo "xvfb: no free display" >&2
    return 1
}

wine_cleanup() {
    if [ -n "$wine_prefix_dir" ]; then
        WINEPREFIX="$wine_prefix_dir" timeout 60 wineserver -k >/dev/null 2>&1 || true
        rm -rf "$wine_prefix_dir" "$wine_prefix_dir.boot.log"
        wine_prefix_dir=""
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
