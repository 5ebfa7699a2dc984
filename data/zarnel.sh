#!/bin/sh
# Starts Zarnel from its data folder, where the game reads media/. Both folders are found from
# this script's own place (<prefix>/games), so an install into any prefix works.
prefix=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd) || exit 1
cd "$prefix/share/games/zarnel" || exit 1
exec "$prefix/lib/games/zarnel/zarnel" "$@"
