# Running the test command inside a Debian 13 tree (Qt 6.8), made with debootstrap under build/
# and kept there for later runs. Sourced by scripts/test after common.sh.

debian13_tree="$repo_root/build/debian13"
debian13_mirror="http://deb.debian.org/debian"

# The mounts the tree needs, innermost last.
debian13_mounts=(proc sys dev tmp src)

debian13_mounted() {
    grep -q " $debian13_tree/$1 " /proc/mounts
}

debian13_unmount() {
    local i
    for ((i = ${#debian13_mounts[@]} - 1; i >= 0; i--)); do
        local point="${debian13_mounts[i]}"
        debian13_mounted "$point" && umount -R "$debian13_tree/$point"
    done
    return 0
}

# Makes the tree unless a complete one is there; a tree left half made is made again.
debian13_make_tree() {
    [ -f "$debian13_tree/.mirvale-tree" ] && return 0
    if grep -q " $debian13_tree/" /proc/mounts; then
        echo "error: $debian13_tree is half made and still has mounts; unmount them first" >&2
        return 1
    fi
    rm -rf "$debian13_tree"
    mkdir -p "$debian13_tree"
    echo "Making a Debian 13 tree in $debian13_tree"
    debootstrap --variant=minbase --include=ca-certificates trixie "$debian13_tree" \
        "$debian13_mirror" >"$debian13_tree.log" 2>&1 || {
        echo "error: debootstrap failed; its log is $debian13_tree.log" >&2
        return 1
    }
    printf 'deb %s trixie main\ndeb %s trixie-updates main\n' "$debian13_mirror" \
        "$debian13_mirror" >"$debian13_tree/etc/apt/sources.list"
    mkdir -p "$debian13_tree/src" "$debian13_tree/build"
    touch "$debian13_tree/.mirvale-tree"
}

debian13_mount() {
    cp /etc/resolv.conf "$debian13_tree/etc/resolv.conf"
    debian13_mounted proc || mount -t proc proc "$debian13_tree/proc"
    debian13_mounted sys || mount --rbind /sys "$debian13_tree/sys"
    debian13_mounted dev || mount --rbind /dev "$debian13_tree/dev"
    debian13_mounted tmp || mount -t tmpfs tmpfs "$debian13_tree/tmp"
    debian13_mounted src || mount --bind "$repo_root" "$debian13_tree/src"
}

# Runs the test command in the tree, on this checkout, building into the tree's own folder.
debian13_test() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "error: scripts/test --debian13 makes a Debian 13 tree with debootstrap and runs the" \
            "suite in it with chroot, and both need root: run it as root (sudo scripts/test" \
            "--debian13)" >&2
        return 1
    fi
    ensure_packages debootstrap
    debian13_make_tree
    trap debian13_unmount EXIT
    debian13_mount
    chroot "$debian13_tree" env -i HOME=/root LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        MIRVALE_BUILD_DIR=/build/release /src/scripts/test
}
