#!/usr/bin/env python3
"""Installs the build into a temporary prefix and plays the installed game from elsewhere: the
game and its tools must find their content under the prefix and write nothing there.

    tests/packaging/install_test.py BUILD_DIR
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile

EXPECTED = [
    'bin/corvalune', 'bin/corvalune_screenshot', 'bin/corvalune_profile', 'bin/corvalune_check_content',
    'share/corvalune/Resources/Scenes/Level1.scene', 'share/corvalune/Resources/Fonts/FiraCode-LICENSE.txt',
    'share/applications/corvalune.desktop', 'share/icons/hicolor/128x128/apps/corvalune.png',
    'share/metainfo/corvalune.metainfo.xml', 'share/doc/Corvalune/LICENSE',
    'share/doc/Corvalune/FiraCode-LICENSE.txt',
]


def snapshot(root):
    seen = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            info = os.stat(path)
            seen[os.path.relpath(path, root)] = (info.st_size, info.st_mtime_ns)
    return seen


def main():
    build = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        prefix = os.path.join(scratch, 'prefix')
        subprocess.run(['cmake', '--install', build, '--prefix', prefix], check=True, stdout=subprocess.DEVNULL)
        for path in EXPECTED:
            if not os.path.exists(os.path.join(prefix, path)):
                failures.append('not installed: ' + path)
        elsewhere = os.path.join(scratch, 'elsewhere')
        os.makedirs(elsewhere)
        home = os.path.join(scratch, 'home')
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, 'data'),
                   XDG_CONFIG_HOME=os.path.join(home, 'config'), CORVALUNE_SAVE_DIR='',
                   SDL_VIDEODRIVER='offscreen', SDL_AUDIODRIVER='dummy',
                   ASAN_OPTIONS='detect_leaks=0', TSAN_OPTIONS='exitcode=0')
        # A small window: the software rasteriser draws a full-screen one slowly.
        os.makedirs(os.path.join(home, 'config', 'Corvalune'))
        with open(os.path.join(home, 'config', 'Corvalune', 'gameConfig.ini'), 'w') as config:
            config.write('[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n')
        before = snapshot(prefix)

        version = subprocess.run([os.path.join(prefix, 'bin/corvalune'), '--version'], cwd=elsewhere, env=env,
                                 capture_output=True, text=True)
        if version.returncode != 0 or not version.stdout.startswith('corvalune '):
            failures.append('--version: %d %r' % (version.returncode, version.stdout))

        picture = os.path.join(scratch, 'shot.png')
        shot = subprocess.run([os.path.join(prefix, 'bin/corvalune_screenshot'), 'Resources/Scenes/Level1.scene',
                               '3', picture], cwd=elsewhere, env=env, capture_output=True, text=True)
        if not os.path.exists(picture):
            failures.append('the installed screenshot tool drew nothing: ' + shot.stdout + shot.stderr)

        # The game itself, from the logo on, until it is asked to close as a desktop would.
        game = subprocess.Popen([os.path.join(prefix, 'bin/corvalune')], cwd=elsewhere, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        try:
            output, _ = game.communicate(timeout=4)
        except subprocess.TimeoutExpired:
            game.send_signal(signal.SIGTERM)
            try:
                output, _ = game.communicate(timeout=120)
            except subprocess.TimeoutExpired:
                game.kill()
                output, _ = game.communicate()
                failures.append('the installed game did not close when asked: ' + output[-2000:])
        for bad in ('Load Failed', 'Failed to Load', 'Failed to Create'):
            if bad in output:
                failures.append('the installed game could not read its content: ' + output[-2000:])
                break
        if not os.path.exists(os.path.join(home, 'data', 'Corvalune', 'GlobalVariables.orin')):
            failures.append("the installed game kept no save in the player's folder: " + output[-2000:])

        after = snapshot(prefix)
        if after != before:
            changed = sorted(set(after.items()) ^ set(before.items()))
            failures.append('written under the prefix: %s' % changed[:10])
        if os.listdir(elsewhere):
            failures.append('written into the working folder: %s' % os.listdir(elsewhere))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
