# Sourced by the scripts that try this project on a fresh Debian release: makes a minimal tree of
# the release (debootstrap --variant=minbase), mounts what programs inside need, and on every way
# out unmounts it and removes the tree unless the caller named a folder to keep it in.
#
# tree_open USAGE RELEASE [TREE]  checks root and tools, sets $release, $tree and $keep
# tree_build                      debootstraps, mounts, prepares apt; sets $bootstrap_time
# in_tree COMMAND...              runs COMMAND in the tree as root, with the network
# in_tree_offline COMMAND...      the same without a network (see below)

tree_open() {
    local usage=$1
    shift
    if [ $# -lt 1 ] || [ $# -gt 2 ]; then
        echo "usage: $usage" >&2
        exit 2
    fi
    release=$1
    if [ "$(id -u)" -ne 0 ]; then
        echo "this must run as root (debootstrap and chroot); usage: $usage" >&2
        exit 2
    fi
    local tool
    for tool in debootstrap unshare chroot; do
        command -v "$tool" >/dev/null ||
            { echo "$tool is missing; install it with: apt-get install -y $tool" >&2; exit 2; }
    done
    if [ $# -eq 2 ]; then
        if [ -e "$2" ] && [ -n "$(ls -A "$2")" ]; then
            echo "$2 exists and is not empty; name a new folder for the tree." >&2
            exit 2
        fi
        mkdir -p "$2"
        tree=$(cd "$2" && pwd)
        keep=1
    else
        tree=$(mktemp -d "/var/tmp/scrivo-$release.XXXXXX")
        keep=0
    fi
    trap tree_close EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
}

tree_mounts=()
tree_close() {
    local status=$? point index
    # Innermost first; a lazy unmount when something inside still holds a mount busy.
    for ((index = ${#tree_mounts[@]} - 1; index >= 0; index--)); do
        point=${tree_mounts[index]}
        umount -R "$point" 2>/dev/null || umount -R -l "$point" ||
            echo "could not unmount $point; unmount it by hand" >&2
    done
    if [ "$keep" -eq 0 ]; then
        # Never remove a tree that still reaches the system's /dev, /proc or /sys.
        if grep -q " $tree/" /proc/mounts; then
            echo "mounts remain under $tree, so it was left in place" >&2
        else
            rm -rf --one-file-system "$tree"
        fi
    else
        echo "the tree stays in $tree"
    fi
    exit "$status"
}

seconds_since() { echo $(($(date +%s) - $1)); }
minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

tree_build() {
    local started log
    started=$(date +%s)
    log=$(mktemp)
    echo "== debootstrap --variant=minbase $release into $tree"
    if ! debootstrap --variant=minbase "$release" "$tree" \
        "${SCRIVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}" >"$log" 2>&1; then
        tail -n 20 "$log" >&2
        rm -f "$log"
        exit 1
    fi
    rm -f "$log"
    bootstrap_time=$(seconds_since "$started")
    cp /etc/resolv.conf "$tree/etc/resolv.conf"
    # Installing packages in a tree must not start their services on this machine.
    printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
    chmod +x "$tree/usr/sbin/policy-rc.d"
    mount -t proc proc "$tree/proc" && tree_mounts+=("$tree/proc")
    mount -t sysfs sysfs "$tree/sys" && tree_mounts+=("$tree/sys")
    mount --rbind /dev "$tree/dev" && mount --make-rslave "$tree/dev" && tree_mounts+=("$tree/dev")
}

tree_env=(/usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

in_tree() { chroot "$tree" "${tree_env[@]}" "$@"; }

# X servers in every network namespace share one set of abstract sockets, so an Xvfb in the tree
# would collide with any X server of this machine on the same display number. Whatever starts one
# runs without a network.
in_tree_offline() { unshare --net chroot "$tree" "${tree_env[@]}" "$@"; }
