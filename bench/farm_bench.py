#!/usr/bin/env python3
"""Refresh of a loopback farm of Quake III style servers (or of Source servers that demand the A2S
challenge, --protocol a2s) by the real vexar.exe under Wine, side by side with quakestat on the same
farm in the same run. Prints one table.

    bench/farm_bench.py [--protocol q3|a2s] [--servers 1000] [--paces fast,classic] [--no-quakestat] [--seed 1]
                        [--build build/windows64] [--fixtures build/native/testing/fixtures] [--display :93]

Builds nothing: it needs vexar.exe and vexar-driver.exe of a Windows build tree and farm_fixture of a
native one, with vexar-lists beside it for the list files (cmake --build --preset native --target
farm_fixture vexar-lists). Run as root: it enters a network
namespace of its own with nothing but loopback, and starts its own Xvfb and wineserver.

For each pace the program gets its list from the farm's master (F9) and refreshes it: a Quake 3 Arena
profile, or with --protocol a2s a Team Fortress 2 profile whose Steam master query pages the list 1 s
apart (the farm's master sends 231 entries a page). Measured:
  - first request -> last answer: at the farm, from the first status request to the last reply sent;
    "-> refresh closed": until the program's toolbar says the refresh is over;
  - servers asked and replies sent, at the farm; answered / live, from the list file the program
    writes when it is closed;
  - ping error: the stored ping less the server's delay, and less the time the farm actually took to
    reply (the farm's own lateness is printed under the table);
  - requests per 200 ms window at the farm (the busiest window; for A2S every datagram a server is
    sent, the requests that get the challenge included, as the pace counts them);
  - responsiveness: a message is sent to the main window every 20 ms (vexar-driver probe); the worst
    answer time while the refresh ran, and over the whole master query and refresh;
  - peak memory (VmHWM) of the program's process; CPU time (user + system) of the program and of the
    wineserver from the first request to the end of the refresh, per 1,000 answers.
quakestat runs with its default settings and with -sendinterval 0 over the farm's list (-default a2s
for the A2S farm, which answers quakestat's A2S_INFO with a challenge as well).
"""
import argparse
import os
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, 'testing', 'e2e'))
sys.path.insert(0, os.path.join(ROOT, 'testing'))

import farm  # noqa: E402
import harness  # noqa: E402
import wine_env  # noqa: E402

QUESTION = "You don't have any servers to view"
PACES = {'classic': 0, 'fast': 1}
TICK = os.sysconf('SC_CLK_TCK')


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(len(ordered) * p))] if ordered else None


def spread(values):
    """'median / p99 / max' of a list of numbers."""
    if not values:
        return '-'
    return '%+.0f / %+.0f / %+.0f' % (statistics.median(values), percentile(values, 0.99), max(values))


class Sampler(threading.Thread):
    """CPU time and memory of the program and of the wineserver, every 50 ms."""

    def __init__(self, pid, wineserver):
        super().__init__(daemon=True)
        self.pids = [pid, wineserver]
        self.samples = []  # (monotonic ns, program cpu s, wineserver cpu s, VmRSS kB, VmHWM kB)
        self.running = True

    @staticmethod
    def cpu(pid):
        try:
            with open('/proc/%d/stat' % pid) as f:
                fields = f.read().rsplit(')', 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / TICK
        except (OSError, TypeError):
            return 0.0

    def memory(self):
        values = {}
        with open('/proc/%d/status' % self.pids[0]) as f:
            for line in f:
                if line.startswith(('VmRSS', 'VmHWM')):
                    values[line.split(':')[0]] = int(line.split()[1])
        return values.get('VmRSS', 0), values.get('VmHWM', 0)

    def run(self):
        while self.running:
            try:
                rss, hwm = self.memory()
            except OSError:
                break
            self.samples.append((time.monotonic_ns(), self.cpu(self.pids[0]), self.cpu(self.pids[1]), rss, hwm))
            time.sleep(0.05)

    def at(self, ns):
        """The last sample taken before ns (the first one when none was)."""
        earlier = [s for s in self.samples if s[0] <= ns]
        return earlier[-1] if earlier else self.samples[0]


def find_wineserver(prefix):
    for pid in os.listdir('/proc'):
        if not pid.isdigit():
            continue
        try:
            with open('/proc/%s/comm' % pid) as f:
                if not f.read().startswith('wineserver'):
                    continue
            with open('/proc/%s/environ' % pid, 'rb') as f:
                if ('WINEPREFIX=%s' % prefix).encode() in f.read().split(b'\0'):
                    return int(pid)
        except OSError:
            continue
    return None


def errors(the_farm, pings, replies):
    """(ping - delay, ping - the farm's reply time) of the answered live servers, and the answered count.
    pings: server number -> ping; replies: server number -> the farm's first reply event."""
    by_delay, by_reply = [], []
    for number, ping in pings.items():
        server = the_farm.servers[number]
        if server.silent or ping is None or number not in replies:
            continue
        e = replies[number]
        took_ms = server.delay_ms + (e.ns - e.due_ns) / 1e6
        by_delay.append(ping - server.delay_ms)
        by_reply.append(ping - int(took_ms))
    return by_delay, by_reply


def phase_events(the_farm, since_ns):
    events = the_farm.events(since_ns)
    requests = [e for e in events if e.kind in 'qipr']
    replies = {}
    for e in events:
        if e.kind == 'a' and e.server not in replies:
            replies[e.server] = e
    return requests, replies


def sent(requests, protocol):
    """The datagrams the servers were sent, by what they asked for (A2S_INFO with and without the
    challenge counted together)."""
    kinds = {k: sum(e.kind == k for e in requests) for k in 'qipr'}
    if protocol == 'a2s':
        return '%d (info %d, players %d, rules %d)' % (len(requests), kinds['q'], kinds['p'], kinds['r'])
    return '%d (getstatus %d, getinfo %d)' % (len(requests), kinds['q'], kinds['i'])


def run_vexar(args, the_farm, prefix, pace):
    vexar = harness.Vexar(args.build, prefix)
    try:
        farm.write_install_folder(vexar.folder, max_servers=max(999, args.servers), protocol=args.protocol)
        vexar.reset_registry({'NDF': 1, 'NPPRESET': PACES[pace]})
        vexar.start()
        vexar.answer(QUESTION, 'No')
        sampler = Sampler(vexar.process.pid, find_wineserver(prefix) or vexar.process.pid)
        sampler.start()
        raw_to_mono = time.monotonic_ns() - time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)
        # The probe starts first (it waits for the master query), so that it sees the list arrive.
        probe = subprocess.Popen([vexar.wine_loader, os.path.join(args.build, 'vexar-driver.exe'), 'probe', '20',
                                  '1800000'], env=vexar.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        time.sleep(2)
        since = time.monotonic_ns()
        vexar.driver_ok('key', 0x78)  # F9
        out, err = probe.communicate(timeout=2000)
        if probe.returncode != 0:
            raise RuntimeError('probe failed: %s' % err[-500:])
        probes, closed = [], None
        for line in out.splitlines():
            fields = line.split()
            if fields[0] == 'idle':
                closed = int(fields[1]) * 1000 + raw_to_mono
            else:
                probes.append((int(fields[0]) * 1000 + raw_to_mono, int(fields[1]) / 1000))
        time.sleep(0.1)  # the farm writes its log once idle for 50 ms
        requests, replies = phase_events(the_farm, since)
        first = min(e.ns for e in requests)
        last = max(e.ns for e in replies.values())
        start, end = sampler.at(first), sampler.at(closed)
        sampler.running = False
        vexar.driver_ok('close', 300000, timeout=400)
        vexar.process.wait(timeout=60)
        stored = {'%s:%d' % (s['address'], s['port']): s['ping'] for s in harness.read_servers(vexar, 'GS001.vexar')}
    finally:
        vexar.cleanup()
    pings = {n: (stored.get(s.key) if stored.get(s.key, 9999) < 9999 else None) for n, s in enumerate(the_farm.servers)}
    by_delay, by_reply = errors(the_farm, pings, replies)
    answered = len(by_delay)
    during = [ms for t, ms in probes if first <= t <= closed]
    per_window = farm.windows([e.ns for e in requests if e.kind == 'q' or args.protocol == 'a2s'])
    return {
        'asked': '%d listed, %d asked, %d replies sent' % (len(stored), len({e.server for e in requests}),
                                                          len(replies)),
        'sent': sent(requests, args.protocol),
        'wall': '%.2f s' % ((last - first) / 1e9),
        'closed': '%.2f s' % ((closed - first) / 1e9),
        'answered': answered,
        'by_delay': spread(by_delay), 'by_reply': spread(by_reply),
        'window': '%d (median window %d)' % (max(per_window), statistics.median(per_window)),
        'probe': '%.0f ms (%d probes, %d over 100 ms)' % (max(during or [0]), len(during),
                                                          sum(ms > 100 for ms in during)),
        'probe_all': '%.0f ms' % max(ms for _, ms in probes),
        'memory': '%.1f MB (RSS at the end %.1f MB)' % (end[4] / 1024, end[3] / 1024),
        'cpu': '%.2f s + wineserver %.2f s' % ((end[1] - start[1]) * 1000 / max(answered, 1),
                                              (end[2] - start[2]) * 1000 / max(answered, 1)),
    }


def run_quakestat(the_farm, options, protocol):
    listing = os.path.join(the_farm.folder, 'quakestat.txt')
    with open(listing, 'w') as f:
        f.write(''.join(s.key + '\n' for s in the_farm.servers))
    since = time.monotonic_ns()
    started = time.monotonic()
    out = subprocess.run(['quakestat', '-default', 'a2s' if protocol == 'a2s' else 'q3s', '-f', listing, '-raw', ','] + options, capture_output=True,
                         text=True, errors='replace', timeout=3600).stdout
    took = time.monotonic() - started
    os.remove(listing)
    time.sleep(0.1)
    requests, replies = phase_events(the_farm, since)
    number = {s.key: n for n, s in enumerate(the_farm.servers)}
    pings = {}
    for line in out.splitlines():
        fields = line.split(',')
        if len(fields) > 6 and fields[1] in number and fields[6].isdigit():
            pings[number[fields[1]]] = int(fields[6])
    by_delay, by_reply = errors(the_farm, pings, replies)
    first = min(e.ns for e in requests)
    last = max(e.ns for e in replies.values())
    return {'asked': '%d listed, %d asked, %d replies sent' % (len(the_farm.servers), len({e.server for e in requests}),
                                                               len(replies)),
            'sent': sent(requests, the_farm.protocol), 'wall': '%.2f s' % ((last - first) / 1e9),
            'closed': '%.2f s (the program ran)' % took,
            'answered': len(by_delay), 'by_delay': spread(by_delay), 'by_reply': spread(by_reply),
            'window': '%d' % max(farm.windows([e.ns for e in requests])), 'probe': '-', 'probe_all': '-',
            'memory': '-', 'cpu': '-'}


ROWS = [
    ('asked', 'servers listed, asked, answered by the farm'),
    ('sent', 'datagrams the servers were sent'),
    ('wall', 'first request -> last answer'),
    ('closed', 'first request -> refresh closed'),
    ('answered', 'answered / live'),
    ('by_delay', 'ping - delay: median / p99 / max (ms)'),
    ('by_reply', 'ping - reply time: median / p99 / max'),
    ('window', 'requests in the busiest 200 ms'),
    ('probe', 'window answer, worst while refreshing'),
    ('probe_all', 'worst with the master query'),
    ('memory', 'peak memory (VmHWM)'),
    ('cpu', 'CPU per 1,000 answers'),
]


def print_table(the_farm, columns):
    """One Markdown table: a row per figure, a column per client."""
    live = sum(1 for s in the_farm.servers if not s.silent)
    for _, result in columns:
        result['answered'] = '%d / %d' % (result['answered'], live)
    lines = [[''] + [name for name, _ in columns], ['---'] * (len(columns) + 1)]
    lines += [[title] + [result[key] for _, result in columns] for key, title in ROWS]
    widths = [max(len(line[i]) for line in lines) for i in range(len(columns) + 1)]
    print()
    for line in lines:
        print('| ' + ' | '.join(cell.ljust(w) if cell != '---' else '-' * w for cell, w in zip(line, widths)) + ' |')
    late = [(e.ns - e.due_ns) / 1e6 for e in the_farm.events() if e.kind == 'a']
    print('\nThe farm: %d %s servers (%d live), delays 0 to 150 ms (seed %d); its replies left late by median %.2f, '
          'p99 %.2f, max %.2f ms' % (len(the_farm.servers), 'A2S' if the_farm.protocol == 'a2s' else 'Quake III', live, the_farm.seed, statistics.median(late),
                                     percentile(late, 0.99), max(late)))


def prepare_wine(build, prefix):
    env = wine_env.environment(build, prefix)
    wine = wine_env.loader(build)
    subprocess.run(['wineserver', '-p'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([wine, 'wineboot'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([wine, 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f'],
                   env=env, capture_output=True)
    return env


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--protocol', choices=('q3', 'a2s'), default='q3')
    parser.add_argument('--servers', type=int, default=1000)
    parser.add_argument('--paces', default='fast,classic')
    parser.add_argument('--no-quakestat', action='store_true')
    parser.add_argument('--seed', type=int, default=1)
    parser.add_argument('--build', default=os.path.join(ROOT, 'build', 'windows64'))
    parser.add_argument('--fixtures', default=os.path.join(ROOT, 'build', 'native', 'testing', 'fixtures'))
    parser.add_argument('--display', default=':93')
    args = parser.parse_args()
    args.build, args.fixtures = os.path.abspath(args.build), os.path.abspath(args.fixtures)
    os.environ.setdefault('VEXAR_LISTS', os.path.join(args.fixtures, '..', 'lists', 'vexar-lists'))

    if os.environ.get('VEXAR_INSIDE_NETNS') != '1':
        os.execvp('unshare', ['unshare', '-n', 'env', 'VEXAR_INSIDE_NETNS=1', 'sh', '-c',
                              'ip link set lo up && exec "$0" "$@"', sys.executable, os.path.abspath(__file__)] +
                  sys.argv[1:])
    xvfb = subprocess.Popen(['Xvfb', args.display, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ['DISPLAY'] = args.display
    time.sleep(1)
    prefix = os.path.join(args.build, 'bench-prefix')
    env = prepare_wine(args.build, prefix)
    the_farm = farm.Farm(args.fixtures, args.servers, seed=args.seed, realtime=True, protocol=args.protocol).start()
    columns = []
    try:
        for pace in args.paces.split(','):
            columns.append(('vexar.exe under Wine, %s' % pace.capitalize(), run_vexar(args, the_farm, prefix, pace)))
            print('%s done' % pace, file=sys.stderr, flush=True)
        if not args.no_quakestat:
            columns.append(('quakestat', run_quakestat(the_farm, [], args.protocol)))
            columns.append(('quakestat -sendinterval 0', run_quakestat(the_farm, ['-sendinterval', '0'], args.protocol)))
        print_table(the_farm, columns)
    finally:
        the_farm.cleanup()
        subprocess.run(['wineserver', '-k'], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        xvfb.terminate()


if __name__ == '__main__':
    main()
