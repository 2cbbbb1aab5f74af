#!/usr/bin/env bash
# Runs the README's test command as a learner would on a freshly installed Debian: builds a minimal
# tree of the named release (debootstrap --variant=minbase), copies this checkout into it as it
# stands, uncommitted changes included, and runs `bash scripts/test.sh` there as root. Reports the
# time each step took; the exit status is the test command's.
#
# Usage: sudo bash scripts/test-in-debian.sh RELEASE [TREE]
#   RELEASE  a Debian suite or code name, e.g. bookworm (12) or trixie (13)
#   TREE     where to build the tree; it is kept afterwards for a look inside. Without it the tree
#            goes to a temporary folder under /var/tmp and is removed at the end.
# SCRIVO_DEBIAN_MIRROR names another mirror. Takes long (tens of minutes): it builds everything
# twice, so it is not part of the test command itself.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: sudo bash $0 RELEASE [TREE]   (RELEASE e.g. bookworm or trixie)" >&2
    exit 2
fi
release=$1
if [ "$(id -u)" -ne 0 ]; then
    echo "$0 must run as root (debootstrap and chroot); try: sudo bash $0 $*" >&2
    exit 2
fi
for tool in debootstrap unshare git; do
    command -v "$tool" >/dev/null ||
        { echo "$0 needs $tool; install it with: apt-get install -y $tool" >&2; exit 2; }
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

mounted=()
cleanup() {
    local status=$? point index
    # Innermost first; a lazy unmount when something inside still holds a mount busy.
    for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
        point=${mounted[index]}
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
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

seconds_since() { echo $(($(date +%s) - $1)); }
minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

started=$(date +%s)
echo "== debootstrap --variant=minbase $release into $tree"
debootstrap --variant=minbase "$release" "$tree" "${SCRIVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}" \
    >"$tree.debootstrap.log" 2>&1 ||
    { tail -n 20 "$tree.debootstrap.log" >&2; rm -f "$tree.debootstrap.log"; exit 1; }
rm -f "$tree.debootstrap.log"
bootstrap_time=$(seconds_since "$started")

# A clone, as a learner has it, then the checkout's files as they stand over it: uncommitted
# changes and new files, without what .gitignore leaves out (builds).
git clone --quiet --no-hardlinks "$PWD" "$tree/root/scrivo"
git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -cf - -T - 2>/dev/null | tar -C "$tree/root/scrivo" -xf -
cp /etc/resolv.conf "$tree/etc/resolv.conf"
# Installing packages in a tree must not start their services on this machine.
printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
chmod +x "$tree/usr/sbin/policy-rc.d"

mount -t proc proc "$tree/proc" && mounted+=("$tree/proc")
mount -t sysfs sysfs "$tree/sys" && mounted+=("$tree/sys")
mount --rbind /dev "$tree/dev" && mount --make-rslave "$tree/dev" && mounted+=("$tree/dev")

tree_env=(/usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

# The test command's first step, the installer, needs the network. The rest runs without one:
# X servers in every network namespace share one set of abstract sockets, so an Xvfb in the tree
# would otherwise collide with any X server of this machine on the same display number. The
# installer finds everything present the second time and returns at once.
step=$(date +%s)
echo "== bash scripts/install-deps.sh"
status=0
chroot "$tree" "${tree_env[@]}" bash -c 'cd /root/scrivo && bash scripts/install-deps.sh' ||
    status=$?
deps_time=$(seconds_since "$step")
test_time=0
if [ "$status" -eq 0 ]; then
    step=$(date +%s)
    echo "== bash scripts/test.sh"
    unshare --net chroot "$tree" "${tree_env[@]}" bash -c 'cd /root/scrivo && bash scripts/test.sh' ||
        status=$?
    test_time=$(seconds_since "$step")
fi

verdict=passed
[ "$status" -eq 0 ] || verdict="FAILED (exit status $status)"
echo "== $release: $verdict"
echo "   debootstrap $(minutes "$bootstrap_time"), installing the dependencies $(minutes "$deps_time")," \
    "the test command $(minutes "$test_time"); README's test command in all" \
    "$(minutes $((deps_time + test_time))), whole run $(minutes "$(seconds_since "$started")")"
[ "$keep" -eq 0 ] || echo "   the tree stays in $tree"
exit "$status"
