"""End-to-end harness: runs the real vexar.exe under Wine and drives it with vexar-driver.exe.

Every test gets a fresh installation folder and a clean registry key. The caller provides the X
display (DISPLAY) and runs everything inside a network namespace that has only loopback.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import wine_env  # noqa: E402


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure('%s: expected %r, got %r' % (what, expected, actual))


class Vexar:
    """One installation folder and the program running in it."""

    def __init__(self, build_dir, prefix):
        self.build_dir = build_dir
        self.env = wine_env.environment(build_dir, prefix)
        self.wine_loader = wine_env.loader(build_dir)
        self.folder = tempfile.mkdtemp(prefix='vexar-e2e-')
        self.process = None
        self.shown_messages = []

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
        self.wine('regedit', '/S', 'Z:' + reg.replace('/', '\\'))
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

    def answer(self, text, button, ms=15000):
        out = self.driver_ok('answer', text, button, ms)
        self.shown_messages.append('\n'.join(out))
        return out

    def close(self, wait_exit=True):
        self.driver_ok('close', '30000')
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


def profile_image(title, kind, protocol, master, port, file_number, icon=0):
    """A 748-byte profile image with the defaults of a new profile."""
    image = bytearray(748)
    image[0:len(title)] = title.encode('latin-1')
    struct.pack_into('<III', image, 52, kind, protocol, 0)
    image[64:64 + len(master)] = master.encode('latin-1')
    struct.pack_into('<I', image, 84, port)
    struct.pack_into('<II', image, 344, 2000, 999)
    image[352] = 10
    struct.pack_into('<I', image, 396, file_number)
    struct.pack_into('<I', image, 436, icon)
    struct.pack_into('<10I', image, 524, *range(10))
    struct.pack_into('<10I', image, 604, 25, 25, 25, 250, 80, 80, 80, 80, 80, 80)
    struct.pack_into('<i', image, 684, 1)
    struct.pack_into('<12I', image, 688, 0xFBF8F4, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF9797,
                     0, 0, 0x00FF00, 0xFF0000, 0, 0xD4D0C8)
    return bytes(image)


def profiles_file(images, last_number):
    return struct.pack('<II', len(images), last_number) + b''.join(images)


def server_record(address, port, name, ping=50, map_name='', players=0, max_players=16, favourite=0):
    """A 1640-byte server-list record."""
    rec = bytearray(1640)
    rec[0:len(name)] = name.encode('latin-1')
    rec[150:150 + len(map_name)] = map_name.encode('latin-1')
    struct.pack_into('<i', rec, 828, 5)
    struct.pack_into('<I', rec, 936, favourite)
    struct.pack_into('<iii', rec, 1500, max_players, 0, players)
    rec[1512] = ord('0')
    octets = [int(x) for x in address.split('.')]
    struct.pack_into('<4I', rec, 1544, *octets)
    struct.pack_into('<III', rec, 1568, port, port, ping)
    return bytes(rec)


def read_servers(vexar, file_name):
    """The records of a server-list file as dictionaries."""
    data = vexar.read(file_name)
    check_equal(len(data) % 1640, 0, '%s holds whole records' % file_name)
    servers = []
    for i in range(len(data) // 1640):
        r = data[i * 1640:(i + 1) * 1640]
        text = lambda off, width: r[off:off + width].split(b'\0')[0].decode('latin-1')  # noqa: E731
        octets = struct.unpack_from('<4I', r, 1544)
        servers.append({
            'address': '%d.%d.%d.%d' % octets, 'port': struct.unpack_from('<I', r, 1568)[0],
            'name': text(0, 150), 'map': text(150, 50), 'game': text(456, 50), 'mod': text(506, 50),
            'lives': struct.unpack_from('<i', r, 828)[0], 'max': struct.unpack_from('<i', r, 1500)[0],
            'players': struct.unpack_from('<i', r, 1508)[0], 'password': text(1512, 12),
            'ping': struct.unpack_from('<I', r, 1576)[0], 'version': text(948, 256),
            'joins': struct.unpack_from('<I', r, 932)[0], 'type_index': struct.unpack_from('<I', r, 1524)[0],
            'mod_index': struct.unpack_from('<I', r, 1528)[0],
        })
    return servers


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
        finally:
            vexar.cleanup()
    print('%d of %d end-to-end tests passed' % (len(tests) - failures, len(tests)))
    return failures
