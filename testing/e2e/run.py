#!/usr/bin/env python3
"""Runs end-to-end suites: run.py BUILD_DIR SUITE [TEST...]. Needs DISPLAY and a loopback-only network."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))

import harness  # noqa: E402
import wine_env  # noqa: E402


def main():
    build_dir, suite = os.path.abspath(sys.argv[1]), sys.argv[2]
    # The ids the build generated from the program's headers (vexar_ids.py), and the native programs.
    sys.path.insert(0, build_dir)
    fixtures = os.path.abspath(
        os.environ.get('VEXAR_FIXTURES', os.path.join(build_dir, '..', 'native', 'testing', 'fixtures')))
    os.environ.setdefault('VEXAR_FIXTURES', fixtures)
    os.environ.setdefault('VEXAR_LISTS', os.path.join(fixtures, '..', 'lists', 'vexar-lists'))
    module = __import__(suite + '_tests')
    tests = module.TESTS
    if len(sys.argv) > 3:
        tests = [t for t in tests if t.__name__ in sys.argv[3:]]
    prefix = os.path.join(build_dir, 'e2e-prefix')
    fresh = getattr(module, 'FRESH_PREFIX', None)
    if fresh:
        # A suite of its own in a new prefix and a new home folder (Wine links the Desktop and
        # the menus of a prefix into the home folder).
        prefix = os.path.join(build_dir, fresh)
        home = prefix + '-home'
        for folder in (prefix, home):
            shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(home)
        os.environ['HOME'] = home
    env = wine_env.environment(build_dir, prefix)
    wine = wine_env.loader(build_dir)
    # Start the wineserver and the prefix's system processes first, with no pipes attached: processes
    # started by the first Wine program of a session would otherwise inherit that program's output
    # pipes and keep them open.
    subprocess.run(['wineserver', '-p'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([wine, 'wineboot'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    marker = os.path.join(prefix, '.vexar-configured')
    if not os.path.exists(marker):
        subprocess.run([wine, 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f'],
                       env=env, capture_output=True)
        open(marker, 'w').close()
    the_lab = None
    if getattr(module, 'NEEDS_LAB', False):
        sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))
        import lab
        the_lab = lab.Lab(fixtures)
        the_lab.start()
    try:
        failures = harness.run_tests(tests, build_dir, prefix, the_lab)
    finally:
        if the_lab:
            the_lab.stop()
    subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
