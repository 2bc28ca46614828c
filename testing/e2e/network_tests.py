"""End-to-end tests of the network parts against the lab: master queries of every kind, status
refreshes of real OpenArena servers and of the fixtures, cross-checked with quakestat."""
import os
import socket
import threading
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import check, check_equal, read_servers  # noqa: E402

QUESTION = "You don't have any servers to view"


def by_address(servers):
    return {'%s:%d' % (s['address'], s['port']): s for s in servers}


def quakestat(address):
    """(name, map, max players, players, rules, player lines) of a Quake-III server as quakestat sees it."""
    out = subprocess.run(['quakestat', '-q3s', address, '-raw', '\t', '-P', '-R', '-nh'], capture_output=True,
                         text=True, errors='replace', timeout=30).stdout.splitlines()
    head = out[0].split('\t')
    rules = dict(kv.split('=', 1) for kv in out[1].split('\t') if '=' in kv)
    players = [line.split('\t') for line in out[2:] if line.strip()]
    return {'map': head[3], 'max': int(head[4]), 'players': int(head[5]), 'rules': rules, 'player_lines': players}


def start_in_lab(vexar, tab):
    lab.write_install_folder(vexar.folder)
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.answer(QUESTION, 'No')  # the first tab's list is empty
    if tab:
        check_equal(vexar.driver_ok('select-tab', tab), ['selected'], 'tab change')


def wait_until_idle(vexar, seconds):
    # A master attempt ends 2 s after its last list datagram and starts the refresh, which closes
    # 1.5 s after its last request: give the query a moment to start, then wait for the toolbar.
    time.sleep(1)
    vexar.driver_ok('wait-idle', seconds * 4000)


def test_quake3_master_query_and_refresh_of_openarena_servers(vexar, the_lab):
    start_in_lab(vexar, None)
    vexar.driver_ok('key', 0x78)  # F9
    wait_until_idle(vexar, 8)
    vexar.screenshot('quake3-after-refresh')
    vexar.close()
    servers = by_address(read_servers(vexar, 'GS001.vexar'))
    expected = ['%s:27960' % a for a, _, _ in lab.OPENARENA_SERVERS] + ['%s:%d' % d for d in lab.DEAD_SERVERS]
    expected.append('254.1.2.3:27960')
    check_equal(sorted(servers), sorted(expected), 'listed servers (duplicate and 255.x left out)')
    for address, name, extra in lab.OPENARENA_SERVERS:
        s = servers['%s:27960' % address]
        check_equal(s['name'], name, 'host name of %s' % address)
        check(s['ping'] < 999, 'ping of %s measured: %d' % (address, s['ping']))
        check_equal(s['lives'], 5, 'lives of %s' % address)
        reference = quakestat('%s:27960' % address)
        check_equal(s['map'], reference['map'], 'map of %s' % address)
        check_equal(s['max'], reference['max'], 'max players of %s' % address)
        check_equal(s['players'], reference['players'], 'player count of %s' % address)
        check_equal(s['name'], reference['rules']['sv_hostname'], 'host name of %s against quakestat' % address)
        check_equal(s['password'], reference['rules'].get('g_needpass', '0'), 'password flag of %s' % address)
    check_equal(servers['127.10.0.3:27960']['password'], '1', 'the passworded server')
    for dead in ['%s:%d' % d for d in lab.DEAD_SERVERS] + ['254.1.2.3:27960']:
        s = servers[dead]
        check_equal(s['name'], '~ ' + dead.split(':')[0], 'name of the dead server %s' % dead)
        check_equal(s['ping'], 9999, 'ping of the dead server %s' % dead)
        check_equal(s['lives'], 4, 'lives of the dead server %s' % dead)


def test_half_life_batch_master_and_details_and_players(vexar, the_lab):
    start_in_lab(vexar, 1)
    vexar.answer(QUESTION, 'Yes')
    wait_until_idle(vexar, 8)
    vexar.close()
    servers = by_address(read_servers(vexar, 'GS002.vexar'))
    check_equal(sorted(servers), ['127.10.1.1:27015', '127.10.1.50:27015'], 'Half-Life servers')
    live = servers['127.10.1.1:27015']
    check_equal(live['name'], 'Counter Lab', 'host name')
    check_equal(live['map'], 'de_dust', 'map')
    check_equal(live['game'], 'cstrike', 'game folder')
    check_equal(live['mod'], 'Counter Strike', 'mod')
    check_equal(live['max'], 20, 'max players')
    check(live['ping'] < 999, 'ping measured')
    dead = servers['127.10.1.50:27015']
    check_equal((dead['name'], dead['ping'], dead['lives']), ('~ 127.10.1.50', 9999, 4), 'dead Half-Life server')


def test_unreal_tournament_stored_list_is_refreshed(vexar, the_lab):
    start_in_lab(vexar, 2)
    vexar.driver_ok('no-message', 500)  # the stored list is shown: no offer of a master query
    vexar.driver_ok('key', 0x74)  # F5
    wait_until_idle(vexar, 4)
    vexar.close()
    servers = read_servers(vexar, 'GS003.vexar')
    check_equal(len(servers), 1, 'stored servers')
    s = servers[0]
    check_equal(s['name'], 'Unreal Lab', 'GameSpy host name')
    check_equal(s['map'], 'DM-Deck16][', 'map')
    check_equal(s['mod'], 'UT', 'mod')
    check_equal(s['version'], '436', 'version')
    check(s['ping'] < 999, 'ping measured')


def test_unreal_tournament_master_over_tcp_lists_what_quakestat_lists_and_joins_the_game_port(vexar, the_lab):
    lab.write_install_folder(vexar.folder, ui_stored_servers=False)
    game = lab.install_game_standin(vexar.folder, vexar.build_dir)
    with open(os.path.join(vexar.folder, 'vexar.ini'), 'ab') as f:
        f.write(('[UT]\r\nPath=Z:%s\r\nExe=vexar-game.exe\r\n' % game.replace('/', '\\')).encode())
    vexar.env['VEXAR_GAME_EXIT'] = '1'
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.answer(QUESTION, 'No')
    check_equal(vexar.driver_ok('select-tab', 2), ['selected'], 'tab change')
    vexar.answer(QUESTION, 'Yes')  # F9 by the offer: the GameSpy master over TCP
    wait_until_idle(vexar, 8)
    rows = [row.split('\t') for row in vexar.driver_ok('rows', 'VEXARPAD')]
    names = [r[3] for r in rows]
    check('Unreal Lab 469' in names and 'Unreal Lab' in names, 'rows from the status fixtures: %r' % names)
    vexar.driver_ok('select-row', 'VEXARPAD', names.index('Unreal Lab 469'))
    vexar.driver_ok('command', 40016)  # Join
    title = 'Join: Unreal Lab 469'
    vexar.driver_ok('dlg-wait', title)
    vexar.driver_ok('dlg-text', title, 1003, 'Tester')
    vexar.driver_ok('dlg-click', title, 1)
    log = os.path.join(game, 'vexar-game.txt')
    for _ in range(100):
        if os.path.exists(log):
            break
        time.sleep(0.2)
    command = open(log, 'rb').read().decode('latin-1').split('\r\n')[1]
    # (The template's leading blank does not survive the command line.)
    check_equal(command.split('=', 1)[1].strip(), '127.10.2.2:7700/?Name="Tester"', 'the game port the server names')
    vexar.close()
    servers = by_address(read_servers(vexar, 'GS003.vexar'))
    listed = sorted('%s:%d' % s for s in (lab.GAMESPY_SERVER, lab.UT_SERVER2, lab.UT_DEAD))
    check_equal(sorted(servers), listed, 'listed query ports')
    check_equal((servers['127.10.2.2:7790']['mod'], servers['127.10.2.2:7790']['version']), ('UT', '469'), '469 reply')
    check_equal(servers['127.10.2.50:7778']['ping'], 9999, 'the dead server')
    # quakestat reads the same list from the master (with the identity it sends, which the fixture lets by).
    out = subprocess.run(['quakestat', '-gsm,ut', '%s:%d' % lab.UT_MASTER, '-raw', ',', '-nh'], capture_output=True,
                         text=True, timeout=30).stdout.splitlines()
    check_equal(out[0], 'GSM,%s:%d,3' % lab.UT_MASTER, 'quakestat: the master and its count')
    check_equal(sorted(line.split(',')[1] for line in out[1:] if line.startswith('GPS,')), listed,
                'quakestat lists what the browser lists')


NETWORK_PREFERENCES, PREFERENCES = 40170, 'Network Preferences'
PRESET, PAUSE = 1001, 1003


def test_fast_pace_is_checked_stored_and_refreshes_the_lab(vexar, the_lab):
    start_in_lab(vexar, None)
    vexar.driver_ok('command', NETWORK_PREFERENCES)
    vexar.driver_ok('dlg-wait', PREFERENCES)
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, PRESET), ['Classic'], 'pace at first')
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, PAUSE), ['200'], 'classic pause')
    vexar.driver_ok('dlg-select', PREFERENCES, PRESET, 'Custom')
    vexar.driver_ok('dlg-text', PREFERENCES, PAUSE, '0')
    vexar.driver_ok('dlg-click', PREFERENCES, 1)
    vexar.answer('The pause between bursts (ms) must be between 1 and 5000.', 'OK')
    check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['missing'], 'nothing stored yet')
    vexar.driver_ok('dlg-select', PREFERENCES, PRESET, 'Fast')
    vexar.driver_ok('dlg-click', PREFERENCES, 1)
    check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['1'], 'Fast stored')

    vexar.driver_ok('key', 0x78)  # F9
    wait_until_idle(vexar, 8)
    vexar.close()
    servers = by_address(read_servers(vexar, 'GS001.vexar'))
    for address, _, _ in lab.OPENARENA_SERVERS:
        s = servers['%s:27960' % address]
        check(s['ping'] < 999, 'ping of %s measured at the fast pace: %d' % (address, s['ping']))
        check_equal(s['game'], 'baseoa', 'game of %s (gamename, not com_gamename)' % address)
    vexar.start()
    vexar.driver_ok('command', NETWORK_PREFERENCES)
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, PRESET), ['Fast'], 'pace after a restart')
    vexar.driver_ok('dlg-click', PREFERENCES, 2)
    vexar.close()


ADD = 'Add Server'
ADDRESS, PORT = 1001, 1002


def test_add_server_checks_what_was_typed_resolves_a_name_and_refreshes_the_server(vexar, the_lab):
    fixture = the_lab.start_fixture('quake3_fixture', '127.0.0.1', 27961, '--name', 'Added Lab', '--map', 'q3dm6')
    try:
        start_in_lab(vexar, None)
        for typed, message in [('', 'Please enter the Servers IP Address!'), ('300.1.1.1', 'Invalid IP Address!!'),
                               ('no-such-host.invalid', "Couldn't resolve IP Address!!")]:
            vexar.driver_ok('key', 0x2D)  # Insert
            vexar.driver_ok('dlg-wait', ADD)
            vexar.driver_ok('dlg-text', ADD, ADDRESS, typed)
            vexar.driver_ok('dlg-click', ADD, 1)
            vexar.answer(message, 'OK')
            vexar.driver_ok('dlg-click', ADD, 2)
        vexar.driver_ok('key', 0x2D)
        vexar.driver_ok('dlg-text', ADD, PORT, '0')
        vexar.driver_ok('dlg-text', ADD, ADDRESS, '127.0.0.1')
        vexar.driver_ok('dlg-click', ADD, 1)
        vexar.answer('Please enter valid Server Ports!!', 'OK')
        # "name:port" typed: the port moves into its box as it is typed.
        vexar.driver('dlg-text', ADD, ADDRESS, 'localhost:27961')  # the box changes what was set
        check_equal(vexar.driver_ok('dlg-read', ADD, PORT), ['27961'], 'port taken from the address')
        check_equal(vexar.driver_ok('dlg-read', ADD, ADDRESS), ['localhost'], 'address without the port')
        vexar.driver_ok('dlg-click', ADD, 1)
        wait_until_idle(vexar, 2)
        rows = [row.split('\t') for row in vexar.driver_ok('rows', 'VEXARPAD')]
        check_equal([(r[3], r[5], r[9]) for r in rows], [('Added Lab', 'q3dm6', '127.0.0.1:27961')], 'the added row')
        check(int(rows[0][4]) < 999, 'ping of the added server: %s' % rows[0][4])
        vexar.close()
    finally:
        fixture.terminate()


MONITOR, MONITOR_SERVER = 'Monitor Server', 40121


class CountingServer:
    """A Quake III style server on loopback that answers getstatus and counts the requests."""

    def __init__(self, address):
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.socket.bind(address)
        self.socket.settimeout(0.2)
        self.requests = []
        self.running = True
        self.thread = threading.Thread(target=self.serve)
        self.thread.start()

    def serve(self):
        while self.running:
            try:
                data, peer = self.socket.recvfrom(2048)
            except OSError:
                continue
            if data.endswith(b'getstatus'):
                self.requests.append(time.time())
                self.socket.sendto(b'\xff\xff\xff\xffstatusResponse\n\\sv_hostname\\Watched\\mapname\\q3dm1\n', peer)

    def stop(self):
        self.running = False
        self.thread.join()
        self.socket.close()


def test_monitor_refreshes_the_selected_server_every_period_until_closed(vexar, the_lab):
    server = CountingServer(('127.0.0.2', 27962))
    try:
        start_in_lab(vexar, None)
        vexar.driver_ok('command', MONITOR_SERVER)
        vexar.driver_ok('dlg-wait', MONITOR)
        vexar.driver_ok('dlg-text', MONITOR, 1001, '1')
        vexar.driver_ok('dlg-click', MONITOR, 1)
        vexar.answer('Nothing to monitor!', 'OK')
        vexar.driver_ok('dlg-click', MONITOR, 2)
        vexar.driver_ok('key', 0x2D)  # Insert: Add Server
        vexar.driver_ok('dlg-text', ADD, ADDRESS, '127.0.0.2')
        vexar.driver_ok('dlg-text', ADD, PORT, '27962')
        vexar.driver_ok('dlg-click', ADD, 1)
        wait_until_idle(vexar, 2)
        vexar.driver_ok('select-row', 'VEXARPAD', 0)
        vexar.driver_ok('command', MONITOR_SERVER)
        for period in ('61', '0'):
            vexar.driver_ok('dlg-text', MONITOR, 1001, period)
            vexar.driver_ok('dlg-click', MONITOR, 1)
            vexar.answer('Range: 1 to 60 seconds!', 'OK')
        vexar.driver_ok('dlg-text', MONITOR, 1001, '1')
        before = len(server.requests)
        vexar.driver_ok('dlg-click', MONITOR, 1)
        check_equal(vexar.driver_ok('dlg-read', MONITOR, 1), ['Pause!'], 'button while monitoring')
        time.sleep(4.5)
        vexar.driver_ok('dlg-click', MONITOR, 2)
        during = len(server.requests) - before
        check(4 <= during <= 6, 'requests in 4.5 s at a 1 s period: %d' % during)
        time.sleep(2.5)
        check_equal(len(server.requests) - before, during, 'requests after Close')
        vexar.close()
    finally:
        server.stop()


def test_half_life_console_asks_the_challenge_first_and_lists_the_players(vexar, the_lab):
    start_in_lab(vexar, 1)
    vexar.answer(QUESTION, 'Yes')
    wait_until_idle(vexar, 8)
    rows = [row.split('\t') for row in vexar.driver_ok('rows', 'VEXARPAD')]
    vexar.driver_ok('select-row', 'VEXARPAD', [r[3] for r in rows].index('Counter Lab'))
    vexar.driver_ok('key', 0x73)  # F4
    password = 'Confirm Remote Control password'
    vexar.driver_ok('dlg-wait', password)
    check_equal(vexar.driver_ok('dlg-enabled', password, 1003), ['1'], 'Half-Life lets the port be changed')
    vexar.driver_ok('dlg-text', password, 1004, 'lab')
    vexar.driver_ok('dlg-click', password, 1)
    # The fixture answers "status" only when the command carries the challenge it gave.
    players = []
    for _ in range(50):
        players = sorted(tuple(row.split('\t')) for row in vexar.driver_ok('window-rows', 'VEXARRC'))
        if players:
            break
        time.sleep(0.2)
    check_equal(players, [('"Alyx"', '7', '21'), ('"Gordon"', '12', '20'), ('"Sarge"', '3', '22')], 'players')
    vexar.close()


TESTS = [
    test_quake3_master_query_and_refresh_of_openarena_servers,
    test_half_life_console_asks_the_challenge_first_and_lists_the_players,
    test_monitor_refreshes_the_selected_server_every_period_until_closed,
    test_add_server_checks_what_was_typed_resolves_a_name_and_refreshes_the_server,
    test_fast_pace_is_checked_stored_and_refreshes_the_lab,
    test_half_life_batch_master_and_details_and_players,
    test_unreal_tournament_stored_list_is_refreshed,
    test_unreal_tournament_master_over_tcp_lists_what_quakestat_lists_and_joins_the_game_port,
]
NEEDS_LAB = True
