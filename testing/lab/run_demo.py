#!/usr/bin/env python3
"""Starts the lab and vexar.exe on it, and waits until the program is closed.

run_demo.py WINDOWS_BUILD_DIR FIXTURES_DIR DEMO_DIR. Must run inside a loopback-only network namespace.
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))

import lab  # noqa: E402
import wine_env  # noqa: E402


def main():
    build_dir, fixtures_dir, demo_dir = [os.path.abspath(a) for a in sys.argv[1:4]]
    # The list files are written by vexar-lists of the same native build.
    os.environ.setdefault('VEXAR_LISTS', os.path.join(fixtures_dir, '..', 'lists', 'vexar-lists'))
    install = os.path.join(demo_dir, 'install')
    shutil.rmtree(install, ignore_errors=True)
    os.makedirs(install)
    # The first tab is OpenArena, whose master is found by its host name; Nexuiz is the last tab.
    lab.write_install_folder(install, todays_games=True)
    # Joining starts the game stand-in, which shows the command line it received.
    lab.install_game_standin(install, build_dir)
    prefix = os.path.join(demo_dir, 'prefix')
    env = wine_env.environment(build_dir, prefix)
    wine = wine_env.loader(build_dir)
    subprocess.run(['wineserver', '-p'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([wine, 'wineboot'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    windows_install = 'Z:' + install.replace('/', '\\')
    subprocess.run([wine, 'reg', 'add', 'HKCU\\SOFTWARE\\ZORBEX\\Nexo', '/v', 'InstallDir', '/d', windows_install,
                    '/f'], env=env, capture_output=True)
    subprocess.run([wine, 'reg', 'add', 'HKCU\\SOFTWARE\\ZORBEX\\Nexo', '/v', 'NDF', '/t', 'REG_DWORD', '/d', '1',
                    '/f'], env=env, capture_output=True)

    the_lab = lab.Lab(fixtures_dir)
    print('Starting the lab: %d OpenArena servers with bots, master servers, Half-Life and GameSpy servers...'
          % len(lab.OPENARENA_SERVERS), flush=True)
    the_lab.start()
    print('Lab ready. Starting Vexar on display %s, on its OpenArena tab. Press F9 to fetch the server list; select a server to see '
          'its players (Servers > Filter > Show Bots shows the bots); F8 joins it (a stand-in for the game shows '
          'the command line it would get). Close Vexar to end the demo.'
          % os.environ.get('DISPLAY'), flush=True)
    vexar = subprocess.Popen([wine, os.path.join(build_dir, 'vexar.exe')], env=env, cwd=install)
    screenshots = os.environ.get('VEXAR_DEMO_SCREENSHOT')
    try:
        while vexar.poll() is None:
            time.sleep(5)
            if screenshots:
                subprocess.run(['import', '-display', os.environ['DISPLAY'], '-window', 'root', screenshots],
                               capture_output=True)
    except KeyboardInterrupt:
        vexar.terminate()
    finally:
        the_lab.stop()
        subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == '__main__':
    main()
