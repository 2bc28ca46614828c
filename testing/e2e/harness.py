"""End-to-end harness: runs the real vexar.exe under Wine and drives it with vexar-driver.exe.

Every test gets a fresh installation folder and a clean registry key. The caller provides the X
display (DISPLAY) and runs everything inside a network namespace that has only loopback.

The list files are made and read by vexar-lists (testing/lists), a native program on the program's
own list-file code, found at VEXAR_LISTS or beside the native fixtures (VEXAR_FIXTURES, by default
build/native/testing/fixtures).
"""
import contextlib
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import wine_env  # noqa: E402


ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure('%s: expected %r, got %r' % (what, expected, actual))


def wait_for(condition, what, timeout=20, poll=0.1):
    """The first true value of condition(), looked at every poll seconds; a Failure naming what (and
    the last value seen) when there is none within timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure('%s: not within %g s (last seen: %r)' % (what, timeout, value))
        time.sleep(poll)


def table(lines):
    """The rows of a driver table (captions, then rows) as dictionaries by column caption; a column
    without a caption is named by its position."""
    if not lines:
        raise Failure('a list table without its captions')
    captions = [c or i for i, c in enumerate(lines[0].split('\t'))]
    return [dict(zip(captions, line.split('\t'))) for line in lines[1:]]


class Vexar:
    """One installation folder and the program running in it."""

    def __init__(self, build_dir, prefix):
        self.build_dir = build_dir
        self.env = wine_env.environment(build_dir, prefix)
        self.wine_loader = wine_env.loader(build_dir)
        self.folder = tempfile.mkdtemp(prefix='vexar-e2e-')
        self.process = None
        self.shown_messages = []
        self.open_at_close = []

    # Paths and files of the installation folder.
    def path(self, name):
        return os.path.join(self.folder, name)

    def windows_folder(self):
        return 'Z:' + self.folder.replace('/', '\\')

    def read(self, name):
        with open(self.path(name), 'rb') as f:
            return f.read()

    def write(self, name, data):
        with open(self.path(name), 'wb') as f:
            f.write(data if isinstance(data, bytes) else data.encode('latin-1'))

    def exists(self, name):
        return os.path.exists(self.path(name))

    def ini(self, section, key):
        """Value of a key of vexar.ini (sections and keys ignore case), or None."""
        if not self.exists('vexar.ini'):
            return None
        current = None
        for raw in self.read('vexar.ini').decode('latin-1').splitlines():
            line = raw.strip()
            if line.startswith('[') and line.endswith(']'):
                current = line[1:-1].lower()
            elif '=' in line and current == section.lower():
                k, v = line.split('=', 1)
                if k.strip().lower() == key.lower():
                    return v.strip()
        return None

    def write_ini(self, text):
        self.write('vexar.ini', text.replace('\n', '\r\n'))

    # Wine and the registry.
    def wine(self, *args, timeout=60):
        return subprocess.run([self.wine_loader] + list(args), env=self.env, cwd=self.folder, capture_output=True,
                              text=True, errors='replace', timeout=timeout)

    def reset_registry(self, values=None):
        """Deletes the program's key and writes InstallDir and the given values (name -> int or str)."""
        lines = ['REGEDIT4', '', '[-HKEY_CURRENT_USER\\SOFTWARE\\ZORBEX]', '',
                 '[HKEY_CURRENT_USER\\SOFTWARE\\ZORBEX\\Nexo]',
                 '"InstallDir"="%s"' % self.windows_folder().replace('\\', '\\\\')]
        for name, value in (values or {}).items():
            if isinstance(value, int):
                lines.append('"%s"=dword:%08x' % (name, value & 0xFFFFFFFF))
            else:
                lines.append('"%s"="%s"' % (name, value))
        reg = os.path.join(self.folder, 'setup.reg')
        with open(reg, 'w') as f:
            f.write('\r\n'.join(lines) + '\r\n')
        # regedit says nothing of a failure, and Wine now and then does not get a program started at
        # all: the key is read back. A test that went on with the last test's key would start the
        # program in that test's folder, which is gone, and find nothing saved in its own.
        want = [self.windows_folder()]
        for _ in range(2):
            self.wine('regedit', '/S', 'Z:' + reg.replace('/', '\\'))
            rc, seen = self.driver('reg-text', 'InstallDir')
            if rc == 0 and seen == want:
                break
        else:
            raise Failure('the registry was not reset: InstallDir reads %r (%d), not %r' % (seen, rc, want))
        os.remove(reg)

    # The program.
    def start(self, wait=True):
        exe = os.path.join(self.build_dir, 'vexar.exe')
        self.process = subprocess.Popen([self.wine_loader, exe], env=self.env, cwd=self.folder, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        if wait:
            self.driver_ok('wait-main', '30000')
        return self.process

    def driver(self, *args, timeout=60):
        exe = os.path.join(self.build_dir, 'vexar-driver.exe')
        r = self.wine(exe, *[str(a) for a in args], timeout=timeout)
        if r.returncode == 1 and not r.stdout and not r.stderr:
            # The driver says why whenever it fails; exit 1 with no word at all is Wine not getting
            # it started (seen now and then under load). It did nothing, so it is started again once.
            r = self.wine(exe, *[str(a) for a in args], timeout=timeout)
        self.driver_errors = [line for line in r.stderr.splitlines() if line.startswith('vexar-driver')]
        # What else was said (by Wine, when the driver did not get to run): the last lines.
        self.driver_other = [line for line in r.stderr.splitlines() if not line.startswith('vexar-driver')][-10:]
        return r.returncode, [line for line in r.stdout.splitlines()]

    def driver_ok(self, *args, timeout=60):
        rc, out = self.driver(*args, timeout=timeout)
        if rc != 0:
            program = 'running' if self.process and self.process.poll() is None else 'not running'
            raise Failure('vexar-driver %s failed (%d): %s %s; other output %s; vexar.exe %s' %
                          (' '.join(str(a) for a in args), rc, out, self.driver_errors, self.driver_other, program))
        return out

    def pane_rows(self, pane_class):
        """The rows of the list in the visible pane of that class, by column caption."""
        return table(self.driver_ok('table', pane_class))

    def window_rows(self, window_class):
        """The rows of the first visible list of that top-level window, by column caption."""
        return table(self.driver_ok('window-table', window_class))

    def dialog_rows(self, title, control):
        """The rows of a dialog's list control, by column caption."""
        return table(self.driver_ok('dlg-table', title, control))

    @contextlib.contextmanager
    def awaiting_refresh(self, ms=60000):
        """Runs the body, which starts a master query or a refresh, and then waits until that has run
        and ended. The watcher looks before the body starts, so a quick one is not missed."""
        exe = os.path.join(self.build_dir, 'vexar-driver.exe')
        watcher = subprocess.Popen([self.wine_loader, exe, 'watch-refresh', str(ms)], env=self.env, cwd=self.folder,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors='replace')
        try:
            ready, _, _ = select.select([watcher.stdout], [], [], 60)
            first = watcher.stdout.readline().strip() if ready else ''
            if first != 'watching':
                if watcher.poll() is None:
                    watcher.kill()
                out, err = watcher.communicate()
                raise Failure('vexar-driver watch-refresh did not start watching (%s): %r %r' %
                              (watcher.returncode, first + out, err.splitlines()[-10:]))
            yield
            out, err = watcher.communicate(timeout=ms / 1000 + 60)
        finally:
            if watcher.poll() is None:
                watcher.kill()
                watcher.wait()
        if watcher.returncode != 0:
            program = 'running' if self.process and self.process.poll() is None else 'not running'
            raise Failure('vexar-driver watch-refresh failed (%d): %r %r; vexar.exe %s' %
                          (watcher.returncode, out.splitlines(), err.splitlines()[-10:], program))

    def answer(self, text, button, ms=15000):
        out = self.driver_ok('answer', text, button, ms)
        self.shown_messages.append('\n'.join(out))
        return out

    def close(self, wait_exit=True):
        self.open_at_close += self.driver_ok('close', '30000')
        if wait_exit and self.process:
            self.process.wait(timeout=30)

    def wait_exit(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def screenshot(self, name):
        out = os.environ.get('VEXAR_SCREENSHOTS')
        if out:
            os.makedirs(out, exist_ok=True)
            subprocess.run(['import', '-display', os.environ['DISPLAY'], '-window', 'root',
                            os.path.join(out, name + '.png')], capture_output=True)

    def cleanup(self):
        self.kill()
        shutil.rmtree(self.folder, ignore_errors=True)


def lists_tool():
    path = os.environ.get('VEXAR_LISTS')
    if not path:
        fixtures = os.environ.get('VEXAR_FIXTURES', os.path.join(ROOT, 'build', 'native', 'testing', 'fixtures'))
        path = os.path.join(fixtures, '..', 'lists', 'vexar-lists')
    path = os.path.abspath(path)
    if not os.path.exists(path):
        raise Failure('%s is missing (cmake --build --preset native --target vexar-lists)' % path)
    return path


def run_lists(verb, kind, path, document=None):
    """vexar-lists VERB KIND PATH: writes the document (JSON) or returns what it read."""
    r = subprocess.run([lists_tool(), verb, kind, path], input=None if document is None else json.dumps(document),
                       capture_output=True, text=True, timeout=60)
    if r.returncode != 0:
        raise Failure('vexar-lists %s %s %s failed (%d): %s' % (verb, kind, path, r.returncode, r.stderr.strip()))
    return json.loads(r.stdout) if verb == 'read' else None


def list_bytes(kind, document):
    """The bytes vexar-lists writes for the document."""
    with tempfile.TemporaryDirectory(prefix='vexar-lists-') as folder:
        path = os.path.join(folder, 'list')
        run_lists('write', kind, path, document)
        with open(path, 'rb') as f:
            return f.read()


def profile(title, kind, protocol, master, port, file_number, icon=0, **members):
    """A profile object with the defaults of a new profile; members as vexar-lists names them."""
    members.update(title=title, kind=kind, protocol=protocol, master=master, port=port, file_number=file_number,
                   icon=icon)
    return members


def profile_image(title, kind, protocol, master, port, file_number, icon=0):
    """The stored image (748 bytes) of a profile with the defaults of a new profile."""
    return list_bytes('profile-image', profile(title, kind, protocol, master, port, file_number, icon))


def profiles_file(profiles, last_number):
    """gamesets.vexar holding the profiles, each a profile object or a stored image."""
    objects = [{'image': p.hex()} if isinstance(p, bytes) else p for p in profiles]
    return list_bytes('profiles', {'last_file_number': last_number, 'profiles': objects})


def server(address, port, name, ping=50, map_name='', players=0, max_players=16, favourite=0, **members):
    """A server object as a test stores it; members as vexar-lists names them."""
    fields = dict(address=address, port=port, host_port=port, name=name, ping=ping, map=map_name, players=players,
                  max=max_players, favourite=favourite, password='0')
    fields.update(members)
    return fields


def servers_file(servers):
    """A server-list file (GS%03d.vexar) holding the server objects in order."""
    return list_bytes('servers', servers)


def server_record(address, port, name, ping=50, map_name='', players=0, max_players=16, favourite=0):
    """One server's record (1640 bytes) of a server-list file."""
    return servers_file([server(address, port, name, ping, map_name, players, max_players, favourite)])


def buddies_file(names):
    """A buddy-list file (BL%03d.vexar) holding the names in order."""
    return list_bytes('buddies', names)


def read_servers(vexar, file_name):
    """The records of a server-list file as dictionaries (members as vexar-lists names them); a file
    that does not hold whole records is a Failure."""
    return run_lists('read', 'servers', vexar.path(file_name))


def read_buddies(vexar, file_name):
    return run_lists('read', 'buddies', vexar.path(file_name))


def read_profiles(vexar, file_name='gamesets.vexar'):
    """{'count', 'last_file_number', 'profiles', 'trailing_bytes'} of a profile file."""
    return run_lists('read', 'profiles', vexar.path(file_name))


def run_tests(tests, build_dir, prefix, the_lab=None):
    failures = 0
    for test in tests:
        vexar = Vexar(build_dir, prefix)
        started = time.time()
        try:
            if the_lab is not None:
                test(vexar, the_lab)
            else:
                test(vexar)
            print('[  PASSED ] %s (%.1f s)' % (test.__name__, time.time() - started), flush=True)
        except Exception as e:  # every failure is reported, the run goes on
            failures += 1
            vexar.screenshot('failed-' + test.__name__)
            print('[  FAILED ] %s: %s' % (test.__name__, e), flush=True)
            if vexar.shown_messages or vexar.open_at_close:
                print('           messages answered: %r; up at the close: %r' %
                      (vexar.shown_messages, vexar.open_at_close), flush=True)
        finally:
            vexar.cleanup()
    print('%d of %d end-to-end tests passed' % (len(tests) - failures, len(tests)))
    return failures
