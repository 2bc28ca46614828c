"""The local lab: real OpenArena servers with bots, fixture master servers and fixture game servers
on 127.10.x.y, and an installation folder whose profiles point at them.

Run only inside a network namespace that has nothing but loopback (tools/demo and tools/test-all
take care of that). Every server binds a 127.x address; nothing here talks to anything else.
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))

from harness import buddies_file, profile, profiles_file, server, servers_file  # noqa: E402

OPENARENA = '/usr/games/openarena-server'
Q3_MASTER = ('127.10.0.100', 27950)
HL_MASTER = ('127.10.1.100', 27010)
HL_SERVER = ('127.10.1.1', 27015)
GAMESPY_SERVER = ('127.10.2.1', 7778)
# Unreal Tournament's GameSpy master (TCP) lists the query ports of two live servers and a dead one;
# the second server's game port is not the query port - 1.
UT_MASTER = ('127.10.2.100', 28900)
UT_SERVER2 = ('127.10.2.2', 7790)
UT_DEAD = ('127.10.2.50', 7778)
# Today's games: OpenArena's own master (it answers only OpenArena's request, at the address
# "localhost" names), and a DarkPlaces master listing a server that replays a captured Nexuiz reply.
OA_MASTER = ('127.0.0.1', 27950)
OA_MASTER_REQUEST = 'getservers 71 empty full'
NEXUIZ_MASTER = ('127.10.4.100', 27950)
NEXUIZ_SERVER = ('127.10.4.1', 26000)
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data')

# The OpenArena servers of the lab: address, host name (with colour codes), extra settings.
OPENARENA_SERVERS = [
    ('127.10.0.1', '^1Lab ^7Deathmatch', ['+map', 'oa_dm1', '+addbot', 'sarge', '3', '+addbot', 'grism', '2']),
    ('127.10.0.2', '^4Blue ^3Base', ['+map', 'oa_dm4', '+addbot', 'major', '2']),
    ('127.10.0.3', '^2Private ^7Lab', ['+set', 'g_password', 'secret', '+map', 'oa_dm2', '+addbot', 'kyonshi', '1']),
]
# Listed by the master but nobody answers there.
DEAD_SERVERS = [('127.10.0.50', 27960), ('127.10.0.51', 27960)]
LAB_BUDDY = 'Sarge'  # an OpenArena bot that the lab's servers run


def getstatus(address, port, timeout=0.5):
    """The raw getstatus reply of a Quake-III server, or None."""
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.settimeout(timeout)
    try:
        s.sendto(b'\xff\xff\xff\xffgetstatus', (address, port))
        data, _ = s.recvfrom(65536)
        return data
    except OSError:
        return None
    finally:
        s.close()


class Lab:
    def __init__(self, fixtures_dir, with_openarena=True, openarena_servers=None):
        self.fixtures_dir = fixtures_dir
        self.processes = []
        self.home = tempfile.mkdtemp(prefix='vexar-lab-home-')
        self.with_openarena = with_openarena
        self.openarena_servers = openarena_servers if openarena_servers is not None else OPENARENA_SERVERS

    def _start(self, args, **kwargs):
        p = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                             **kwargs)
        self.processes.append(p)
        return p

    def start_fixture(self, name, bind, port, *options):
        p = self._start([os.path.join(self.fixtures_dir, name), '--bind', bind, '--port', str(port)] +
                        [str(o) for o in options])
        line = p.stdout.readline().decode(errors='replace').strip()
        if not line.startswith('ready'):
            raise RuntimeError('%s did not start: %r' % (name, line))
        return p

    def start_openarena(self, address, name, extra):
        env = dict(os.environ, HOME=self.home)
        args = [OPENARENA, '+set', 'dedicated', '1', '+set', 'net_ip', address, '+set', 'net_port', '27960',
                '+set', 'sv_hostname', name, '+set', 'sv_master1', '', '+set', 'sv_master2', '', '+set',
                'sv_master3', '', '+set', 'rconpassword', 'secret', '+set', 'com_hunkmegs', '64'] + extra
        p = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             stdin=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def start(self, wait_for_bots=True):
        if self.with_openarena:
            for address, name, extra in self.openarena_servers:
                self.start_openarena(address, name, extra)
        entries = ['%s:27960' % a for a, _, _ in self.openarena_servers]
        entries += ['%s:%d' % d for d in DEAD_SERVERS]
        entries += [entries[0], '255.1.2.3:27960', '254.1.2.3:27960'] if entries else []
        master_args = []
        for e in entries:
            master_args += ['--server', e]
        self.start_fixture('master_fixture', Q3_MASTER[0], Q3_MASTER[1], '--format', 'q3', *master_args)
        self.start_fixture('halflife_fixture', HL_SERVER[0], HL_SERVER[1], '--name', 'Counter Lab', '--folder',
                           'cstrike', '--map', 'de_dust', '--max', '20', '--player', 'Gordon:12',
                           '--player', 'Alyx:7', '--player', 'Sarge:3', '--rcon-password', 'lab')
        self.start_fixture('master_fixture', HL_MASTER[0], HL_MASTER[1], '--format', 'hl', '--server',
                           '%s:%d' % HL_SERVER, '--server', '127.10.1.50:27015')
        self.start_fixture('master_fixture', OA_MASTER[0], OA_MASTER[1], '--format', 'q3', '--only',
                           OA_MASTER_REQUEST, *sum((['--server', '%s:27960' % a] for a, _, _ in
                                                    self.openarena_servers), []))
        self.start_fixture('quake3_fixture', NEXUIZ_SERVER[0], NEXUIZ_SERVER[1], '--reply-file',
                           os.path.join(DATA, 'nexuiz_dm_bots.bin'))
        self.start_fixture('master_fixture', NEXUIZ_MASTER[0], NEXUIZ_MASTER[1], '--format', 'q3', '--only',
                           'getservers Nexuiz 3 empty full', '--server', '%s:%d' % NEXUIZ_SERVER)
        self.start_fixture('gamespy_fixture', GAMESPY_SERVER[0], GAMESPY_SERVER[1], '--name', 'Unreal Lab',
                           '--map', 'DM-Deck16][', '--player', 'Xan:10:40', '--player', 'Malcolm:5:60', '--split')
        self.start_fixture('gamespy_fixture', UT_SERVER2[0], UT_SERVER2[1], '--name', 'Unreal Lab 469',
                           '--map', 'CTF-Face', '--gametype', 'CTFGame', '--gamever', '469', '--hostport', '7700',
                           '--player', 'Loque:3:30')
        self.start_fixture('gamespy_master_fixture', UT_MASTER[0], UT_MASTER[1], '--accept-quakestat',
                           *sum((['--server', '%s:%d' % s] for s in (GAMESPY_SERVER, UT_SERVER2, UT_DEAD)), []))
        if self.with_openarena:
            self.wait_for_openarena(wait_for_bots)

    def wait_for_openarena(self, wait_for_bots, timeout=60):
        deadline = time.time() + timeout
        for address, _, extra in self.openarena_servers:
            want = extra.count('+addbot') if wait_for_bots else 0
            while True:
                reply = getstatus(address, 27960)
                if reply and reply.count(b'\n') - 2 >= want:
                    break
                if time.time() > deadline:
                    raise RuntimeError('OpenArena server %s did not come up' % address)
                time.sleep(0.5)

    def stop(self):
        for p in self.processes:
            if p.poll() is None:
                p.terminate()
        for p in self.processes:
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(self.home, ignore_errors=True)


# OpenArena reports a game folder that no Quake 3 mod claims, so its servers take the game's last mod;
# the Half-Life lab server runs Counter Strike. The games after the classic nine have sections of
# their own, named after the game and the mod.
GAME_SECTIONS = ['Navy Seals', 'Counter Strike', 'OpenArena - BaseOA', 'Nexuiz Classic - Nexuiz']


def install_game_standin(folder, build_dir, game_folder=None, program='vexar-game.exe', connect=None):
    """Copies the game stand-in into folder/game and points the lab's mods at it in vexar.ini."""
    game = os.path.join(folder, 'game')
    os.makedirs(game, exist_ok=True)
    shutil.copy(os.path.join(build_dir, 'vexar-game.exe'), game)
    path = game_folder or 'Z:' + game.replace('/', '\\')
    lines = []
    for section in GAME_SECTIONS:
        lines += ['[%s]' % section, 'Path=' + path, 'Exe=' + program] + (['ConnStr=' + connect] if connect else [])
    with open(os.path.join(folder, 'vexar.ini'), 'ab') as f:
        f.write(('\r\n'.join(lines) + '\r\n').encode())
    return game


def write_install_folder(folder, ui_stored_servers=True, todays_games=False):
    """Profiles pointing at the lab: Quake 3 Arena, Half Life, Unreal Tournament (with a stored list);
    with todays_games, OpenArena first (by the host name of its master) and Nexuiz last."""
    images = [
        profile('Quake 3 Arena', 1, 68, Q3_MASTER[0], Q3_MASTER[1], 1, icon=2),
        profile('Half Life', 2, 0, HL_MASTER[0], HL_MASTER[1], 2, icon=4),
        profile('Unreal Tournament', 7, 436, UT_MASTER[0], UT_MASTER[1], 3, icon=8),
    ]
    if todays_games:
        images.insert(0, profile('OpenArena', 9, 71, 'localhost', OA_MASTER[1], 4, icon=9))
        images.append(profile('Nexuiz Classic', 14, 3, NEXUIZ_MASTER[0], NEXUIZ_MASTER[1], 5, icon=14))
    with open(os.path.join(folder, 'gamesets.vexar'), 'wb') as f:
        f.write(profiles_file(images, 5 if todays_games else 3))
    if ui_stored_servers:
        with open(os.path.join(folder, 'GS003.vexar'), 'wb') as f:
            f.write(servers_file([server(GAMESPY_SERVER[0], GAMESPY_SERVER[1], 'Unreal Lab (stored)', ping=9999)]))
    with open(os.path.join(folder, 'BL001.vexar'), 'wb') as f:
        f.write(buddies_file([LAB_BUDDY]))
    ini = ['[games]', 'active=0', '[window]', 'state=0', '[WINDOW]', 'USETRAY=0', '[TRAY]', 'AUTOREFRESH=0',
           '[endpoints]', 'website=http://127.0.0.1/', 'feedback=lab@127.0.0.1',
           'banner=http://127.0.0.1/banner', 'versionserver=127.0.0.1',
           '[weblinks]', 'urlmenuname000=Lab home', 'url000=http://127.0.0.1/']
    with open(os.path.join(folder, 'vexar.ini'), 'w') as f:
        f.write('\r\n'.join(ini) + '\r\n')
