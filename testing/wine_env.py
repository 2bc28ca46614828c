"""Which Wine runs a build tree's programs: 32-bit builds run under the usual `wine` in a win32
prefix, 64-bit builds (the windows64 preset, for machines whose kernel cannot run 32-bit programs)
under the 64-bit loader in a win64 prefix."""
import os

WINE64 = '/usr/lib/wine/wine64'


def is_64bit_build(build_dir):
    try:
        with open(os.path.join(build_dir, 'CMakeCache.txt')) as cache:
            return 'x86_64-w64-mingw32' in cache.read()
    except OSError:
        return False


def loader(build_dir):
    return WINE64 if is_64bit_build(build_dir) else 'wine'


def environment(build_dir, prefix, base=None):
    env = dict(os.environ if base is None else base)
    env.update(WINEPREFIX=prefix, WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=',
               WINEARCH='win64' if is_64bit_build(build_dir) else 'win32')
    return env
