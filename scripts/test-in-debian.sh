#!/usr/bin/env bash
# Runs the README's test command as a learner would on a freshly installed Debian: builds a minimal
# tree of the named release, clones this checkout into it, lays its files as they stand over the
# clone (uncommitted changes included) and runs `bash scripts/test.sh` there as root. Reports the
# time each step took; the exit status is the test command's.
#
# Usage: sudo bash scripts/test-in-debian.sh RELEASE [TREE]
#   RELEASE  a Debian code name or suite, e.g. bookworm (12) or trixie (13)
#   TREE     a new folder to build the tree in, kept afterwards for a look inside; without it the
#            tree goes to a temporary folder under /var/tmp and is removed at the end
# SCRIVO_DEBIAN_MIRROR names another mirror. It takes long (the test command builds everything
# twice), so it is not part of the test command itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian-tree.sh

tree_open "sudo bash $0 RELEASE [TREE]   (RELEASE e.g. bookworm or trixie)" "$@"
command -v git >/dev/null || { echo "git is missing; install it with: apt-get install -y git" >&2; exit 2; }
started=$(date +%s)
tree_build

git clone --quiet --no-hardlinks "$PWD" "$tree/root/scrivo"
git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -cf - -T - 2>/dev/null | tar -C "$tree/root/scrivo" -xf -

# The test command's first step, the installer, needs the network; the rest starts X servers, so
# it runs without one. The installer then finds everything present and returns at once.
step=$(date +%s)
echo "== bash scripts/install-deps.sh"
status=0
in_tree bash -c 'cd /root/scrivo && bash scripts/install-deps.sh' || status=$?
deps_time=$(seconds_since "$step")
test_time=0
if [ "$status" -eq 0 ]; then
    step=$(date +%s)
    echo "== bash scripts/test.sh"
    in_tree_offline bash -c 'cd /root/scrivo && bash scripts/test.sh' || status=$?
    test_time=$(seconds_since "$step")
fi

verdict=passed
[ "$status" -eq 0 ] || verdict="FAILED (exit status $status)"
echo "== $release: $verdict"
echo "   debootstrap $(minutes "$bootstrap_time"), installing the dependencies $(minutes "$deps_time")," \
    "the rest of the test command $(minutes "$test_time"): the README's test command in all" \
    "$(minutes $((deps_time + test_time))), the whole run $(minutes "$(seconds_since "$started")")"
exit "$status"
