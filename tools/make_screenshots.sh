#!/usr/bin/env bash
# Remakes the README's pictures from the real scenes, headless, at 960 x 540. Needs a release
# build (tools/setup.sh builds one).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -e gameConfig.ini ]; then
    echo "gameConfig.ini exists here; move it away first" >&2
    exit 1
fi
# The scenes run their scripts, which write globals; keep the player's own save out of it.
XDG_DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME
trap 'rm -f gameConfig.ini; rm -rf "$XDG_DATA_HOME"' EXIT
printf '[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=960\nWindowed_Height=540\n' > gameConfig.ini
shoot() { # scene frames picture [player x]
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy build/tools/corvalune_screenshot "$1" "$2" "docs/images/$3" ${4:-} >/dev/null
}
shoot Resources/Scenes/MainMenu.scene 90 menu.png
shoot Resources/Scenes/Level1.scene 150 level1.png
shoot Resources/Scenes/Level2.scene 240 level2.png 3100
shoot Resources/Scenes/Level3.scene 240 level3.png 4300
shoot docs/examples/showcase.scene 10 showcase.png
