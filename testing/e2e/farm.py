"""The server farm (testing/fixtures/farm_fixture) for the refresh suite and the farm benchmark:
starting it, its servers with their delays, its log of requests and replies, and an installation
folder whose one profile gets its list from the farm's master.

Run only inside a network namespace that has nothing but loopback.
"""
import os
import subprocess
import tempfile

from harness import profile, profiles_file

MASTER = ('127.20.0.1', 27950)
STEAM_MASTER = ('127.20.0.1', 27011)


class Server:
    def __init__(self, address, port, delay_ms, silent):
        self.address, self.port, self.delay_ms, self.silent = address, port, delay_ms, silent

    @property
    def key(self):
        return '%s:%d' % (self.address, self.port)


class Event:
    """A line of the farm's log: kind 'q' (getstatus, or A2S_INFO), 'i' (getinfo), 'p' (A2S_PLAYER), 'r'
    (A2S_RULES), 'a' (a status or info reply sent), 'c' (a challenge sent), 'l' (a player or rules
    reply sent) or 'm' (a master request); times in CLOCK_MONOTONIC nanoseconds (Python's
    time.monotonic_ns())."""
    __slots__ = ('kind', 'ns', 'server', 'peer_port', 'due_ns')

    def __init__(self, fields):
        self.kind, self.ns = fields[0], int(fields[1])
        if self.kind == 'm':
            self.server, self.peer_port, self.due_ns = None, int(fields[2]), None
        else:
            self.server, self.peer_port = int(fields[2]), int(fields[3])
            self.due_ns = int(fields[4]) if len(fields) > 4 else None


class Farm:
    def __init__(self, fixtures_dir, count, seed=1, realtime=False, protocol='q3'):
        """protocol: 'q3' (Quake III servers and master) or 'a2s' (Source servers that demand the
        challenge, and a Steam master)."""
        self.fixture = os.path.join(fixtures_dir, 'farm_fixture')
        self.count, self.seed, self.realtime, self.protocol = count, seed, realtime, protocol
        self.master = STEAM_MASTER if protocol == 'a2s' else MASTER
        self.folder = tempfile.mkdtemp(prefix='vexar-farm-')
        self.log_path = os.path.join(self.folder, 'farm.log')
        self.servers_path = os.path.join(self.folder, 'servers.txt')
        self.process = None
        self.servers = []

    def start(self):
        args = [self.fixture, '--count', str(self.count), '--seed', str(self.seed), '--servers-file',
                self.servers_path, '--log', self.log_path, '--master', '%s:%d' % self.master, '--protocol', self.protocol]
        if self.realtime:
            args.append('--realtime')
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        line = self.process.stdout.readline().decode(errors='replace').strip()
        if not line.startswith('ready'):
            raise RuntimeError('the farm did not start: %r' % line)
        with open(self.servers_path) as f:
            for line in f:
                address, port, delay, silent = line.split()
                self.servers.append(Server(address, int(port), int(delay), silent == '1'))
        return self

    def by_key(self):
        return {s.key: s for s in self.servers}

    def events(self, since_ns=0):
        """The logged events from since_ns on (the farm writes its log once it has been idle 50 ms)."""
        with open(self.log_path) as f:
            events = [Event(line.split()) for line in f if line.strip()]
        return [e for e in events if e.ns >= since_ns]

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)

    def cleanup(self):
        self.stop()
        for name in (self.log_path, self.servers_path):
            if os.path.exists(name):
                os.remove(name)
        os.rmdir(self.folder)


def write_install_folder(folder, max_servers=999, protocol='q3'):
    """One profile whose master is the farm's (Quake 3 Arena, or Team Fortress 2 for the A2S farm), no
    stored list, nothing that reaches out. The profile keeps at most max_servers of the master's list
    (a new profile's 999 by default)."""
    if protocol == 'a2s':
        image = profile('Team Fortress 2', 17, 17, STEAM_MASTER[0], STEAM_MASTER[1], 1, icon=17,
                        max_servers=max_servers)
    else:
        image = profile('Quake 3 Arena', 1, 68, MASTER[0], MASTER[1], 1, icon=2, max_servers=max_servers)
    with open(os.path.join(folder, 'gamesets.vexar'), 'wb') as f:
        f.write(profiles_file([image], 1))
    ini = ['[games]', 'active=0', '[window]', 'state=0', '[WINDOW]', 'USETRAY=0', '[TRAY]', 'AUTOREFRESH=0',
           '[endpoints]', 'website=http://127.0.0.1/', 'feedback=farm@127.0.0.1', 'banner=http://127.0.0.1/banner',
           'versionserver=127.0.0.1']
    with open(os.path.join(folder, 'vexar.ini'), 'w') as f:
        f.write('\r\n'.join(ini) + '\r\n')


def windows(times_ns, width_ms=200):
    """Counts of the times in consecutive windows of width_ms from the first."""
    if not times_ns:
        return []
    first = min(times_ns)
    counts = [0] * (1 + (max(times_ns) - first) // (width_ms * 1000000))
    for t in times_ns:
        counts[(t - first) // (width_ms * 1000000)] += 1
    return counts


def bursts(times_ns, gap_ms=100):
    """The times split where more than gap_ms passes between two of them."""
    groups = []
    for t in sorted(times_ns):
        if groups and t - groups[-1][-1] <= gap_ms * 1000000:
            groups[-1].append(t)
        else:
            groups.append([t])
    return groups
