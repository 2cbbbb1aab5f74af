#!/bin/sh
# Starts the installed editor in the user's own working folder, so that every user of a shared
# machine has a settings file, examples and help of their own beside ./Orvex, all found relative
# to the working directory as the editor expects.
#
# The installed app folder is read-only for users. The editor opens its Load dialog in the
# Examples folder beside its executable, so the user's folder holds a copy of the executable
# (refreshed whenever the installed one changes) next to a copy of the examples the user may edit
# and save. Config and Examples are seeded without ever replacing a file the user already has;
# Help and Orvex are links into the app folder, so that an upgrade reaches them.
set -eu

app=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)

case "${XDG_DATA_HOME:-}" in
/*) data_home=$XDG_DATA_HOME ;;
*)
    if [ -z "${HOME:-}" ]; then
        echo "scrivo: HOME is not set, so there is no folder to keep your files in." >&2
        exit 1
    fi
    data_home=$HOME/.local/share
    ;;
esac
folder=$data_home/scrivo

if ! mkdir -p "$folder" 2>/dev/null || [ ! -w "$folder" ]; then
    echo "scrivo: cannot write to $folder, where your settings and examples are kept." >&2
    exit 1
fi
cd "$folder"

# Seeding again after the app folder changed brings new examples without undoing the user's edits
# or bringing back the examples they deleted since the last seeding.
seeded_from=$(stat -c %y "$app/Examples" "$app/Config" | tr '\n' ' ')
if [ "$(cat .seeded-from 2>/dev/null)" != "$seeded_from" ]; then
    tar -C "$app" -cf - Config Examples | tar -xf - --skip-old-files --no-same-owner
    printf '%s' "$seeded_from" >.seeded-from
fi

link_into_app() {
    # A real file or folder of that name is the user's own: leave it.
    if [ -L "$1" ] || [ ! -e "$1" ]; then
        ln -sfn "$app/$1" "$1"
    fi
}
link_into_app Help
link_into_app Orvex

# Renamed into place, never written over: a running editor keeps its executable.
if cmp -s "$app/Scrivo" Scrivo || { cp "$app/Scrivo" ".Scrivo.$$" && mv -f ".Scrivo.$$" Scrivo; }; then
    # A home mounted without execute permission fails this test.
    [ -x Scrivo ] && exec ./Scrivo "$@"
fi
rm -f ".Scrivo.$$"
echo "scrivo: cannot run the editor from $folder; Load opens the installed, read-only examples." >&2
exec "$app/Scrivo" "$@"
