# Installs the built packages one after another with apt-get, checks what each holds and does, and
# removes them all at the end. Sourced by scripts/package after common.sh, with $version and
# $packages set.

package_sudo=()
[ "$(id -u)" -eq 0 ] || package_sudo=(sudo)

package_apt() {
    "${package_sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@" -y -qq >/dev/null
}

package_deb() {
    echo "$repo_root/build/release/${1}_${version}_amd64.deb"
}

# apt-get removes nothing when one of the names it is given is not installed.
package_remove_all() {
    local package installed=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" &&
            installed+=("$package")
    done
    [ ${#installed[@]} -eq 0 ] || package_apt remove "${installed[@]}"
}

fail() {
    echo "package check: $*" >&2
    exit 1
}

# Files the package must hold, and kinds of file it must not.
check_holds() {
    local package="$1" path
    shift
    for path in "$@"; do
        dpkg -L "$package" | grep -qx "$path" || fail "$package does not hold $path"
    done
}

check_holds_none() {
    local package="$1" pattern="$2"
    if dpkg -L "$package" | grep -E "$pattern"; then
        fail "$package holds the files above, which belong to another package"
    fi
}

# The lab install: the programs and what the desktop needs, and nothing of Qt Designer.
check_program_package() {
    package_apt install "$(package_deb mirvale)"
    check_holds mirvale /usr/bin/mirvale /usr/bin/mirvale-designer /usr/share/mirvale/frmMirvale.xml \
        /usr/share/applications/mirvale.desktop /usr/share/applications/mirvale-designer.desktop \
        /usr/share/mime/packages/mirvale.xml /usr/share/icons/hicolor/16x16/apps/mirvale.png \
        /usr/share/metainfo/invalid.mirvale.Mirvale.metainfo.xml
    check_holds_none mirvale '/include/|\.a$|\.cmake$|/plugins/'
    if dpkg-query -W -f='${Depends}' mirvale | grep -i designer; then
        fail "mirvale depends on Qt Designer"
    fi
    if ldd /usr/bin/mirvale /usr/bin/mirvale-designer | grep -E "Designer|not found"; then
        fail "the installed programs load the libraries above"
    fi
    desktop-file-validate /usr/share/applications/mirvale.desktop \
        /usr/share/applications/mirvale-designer.desktop
    grep -qx "MimeType=application/x-mirvale-window+xml;" \
        /usr/share/applications/mirvale-designer.desktop ||
        fail "the designer's desktop entry does not claim exactly the window definitions' type"
    check_mime_type
    check_installed_calculator
    check_installed_designer
}

# The type is known by the definition's root element, as a kind of XML.
check_mime_type() {
    local database
    database="$(mktemp -d)"
    mkdir "$database/packages"
    cp /usr/share/mime/packages/mirvale.xml "$database/packages/"
    update-mime-database "$database" >"$database/log" 2>&1 ||
        { cat "$database/log" >&2; fail "update-mime-database refused mirvale.xml"; }
    grep -q "^ window application/x-mirvale-window+xml$" "$database/XMLnamespaces" ||
        fail "window definitions are not known by their root element"
    grep -q "^application/x-mirvale-window+xml application/xml$" "$database/subclasses" ||
        fail "window definitions are not a kind of XML"
    rm -rf "$database"
    echo "mime type: valid, known by its root element, a kind of XML"
}

check_installed_calculator() {
    "$repo_root/tests/x11/run-under-xvfb.sh" bash -c '
        /usr/bin/mirvale & program=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Mirvale V. 1.0.1$" | head -1)
        [ -n "$window" ] || { echo "the installed calculator showed no window" >&2; exit 1; }
        xdotool windowfocus --sync "$window" key ctrl+e
        wait $program'
    echo "installed calculator: started, showed its window and ended on Ctrl+E"
}

# Started with no file named, the installed designer opens the installed definition and reads
# nothing of the tree it was built in.
check_installed_designer() {
    local trace designer opened=false
    trace="$(mktemp)"
    (cd / && QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=%file -o "$trace" \
        /usr/bin/mirvale-designer) &
    designer=$!
    for _ in $(seq 1 200); do
        if grep -q 'openat(.*"/usr/share/mirvale/frmMirvale.xml", O_RDONLY' "$trace"; then
            opened=true
            break
        fi
        sleep 0.1
    done
    sleep 0.5
    pkill -f '^/usr/bin/mirvale-designer$' || true
    wait $designer 2>/dev/null || true
    $opened || fail "the installed designer did not open /usr/share/mirvale/frmMirvale.xml"
    if grep -F "$repo_root" "$trace"; then
        fail "the installed designer looked into the build tree (above)"
    fi
    rm -f "$trace"
    echo "installed designer: opened /usr/share/mirvale/frmMirvale.xml and nothing of the build tree"
}

# The controls for developers: a program finds them with find_package, from /usr.
check_development_package() {
    local multiarch work
    multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
    package_apt install "$(package_deb libmirvale-controls-dev)"
    check_holds libmirvale-controls-dev /usr/include/mirvale/controls/lumobutton.h \
        /usr/include/mirvale/controls/border.h "/usr/lib/$multiarch/libmirvale_lumobutton.a" \
        "/usr/lib/$multiarch/libmirvale_forms.a" \
        "/usr/lib/$multiarch/cmake/MirvaleControls/MirvaleControlsConfig.cmake"
    check_holds_none libmirvale-controls-dev '/bin/|/plugins/|/share/applications/'
    work="$(mktemp -d)"
    cmake -S "$repo_root/tests/consumer" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$work" >/dev/null
    QT_QPA_PLATFORM=offscreen "$work/consumer"
    QT_QPA_PLATFORM=offscreen "$work/consumer_ui"
    rm -rf "$work"
    echo "installed controls: a program built against /usr/lib/$multiarch and ran"
}

# The Designer plugin: where Designer looks, and Designer offers both controls from it.
check_plugin_package() {
    local plugin
    plugin="$(qtpaths6 --query QT_INSTALL_PLUGINS)/designer/libmirvalewidgets.so"
    package_apt install "$(package_deb mirvale-controls-designer-plugin)"
    check_holds mirvale-controls-designer-plugin "$plugin"
    check_holds_none mirvale-controls-designer-plugin '/bin/|/include/|\.a$'
    QT_QPA_PLATFORM=offscreen MIRVALE_DESIGNER_PLUGIN="$plugin" \
        "$repo_root/build/release/tests/tst_designerplugin" offersBothWidgets >/dev/null ||
        fail "Designer does not offer the controls from the installed plugin"
    echo "installed Designer plugin: Designer offers LumoButton and Border from $plugin"
}

# Debian's own checker reports nothing, neither error nor warning, for any of them.
check_lintian() {
    local package
    for package in "${packages[@]}"; do
        lintian --fail-on error,warning --tag-display-limit 0 "$(package_deb "$package")" ||
            fail "lintian reports the above for $package"
    done
}

check_packages() {
    ensure_packages xvfb xauth xdotool strace desktop-file-utils shared-mime-info lintian
    check_lintian
    trap package_remove_all EXIT
    package_remove_all
    check_program_package
    check_development_package
    check_plugin_package
}
