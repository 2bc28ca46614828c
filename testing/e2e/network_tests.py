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
from harness import check, check_equal, read_servers, wait_for  # noqa: E402
from vexar_ids import (IDC_ADD_ADDRESS, IDC_ADD_PORT, IDC_JOIN_NAME, IDC_MONITOR_PERIOD, IDC_NET_PAUSE,  # noqa: E402
                       IDC_NET_PRESET, IDC_RCON_PASSWORD, IDC_RCON_PORT, IDCANCEL, IDM_JOIN, IDM_MONITOR_SERVER,
                       IDM_NETWORK_PREFERENCES, IDOK, VK_F4, VK_F5, VK_F9, VK_INSERT)

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
    """Waits for the toolbar to say that no master query or refresh runs. What the driver did before
    (a key, a command, an answer) has been handled when it returns, so a query or refresh that it
    started at once is under way; one started later (after a name lookup, by a timer) is not waited
    for: Vexar.awaiting_refresh sees those too."""
    # A master attempt ends 2 s after its last list datagram and starts the refresh, which closes
    # 1.5 s after its last request.
    vexar.driver_ok('wait-idle', seconds * 4000)


def test_quake3_master_query_and_refresh_of_openarena_servers(vexar, the_lab):
    start_in_lab(vexar, None)
    with vexar.awaiting_refresh(32000):
        vexar.driver_ok('key', VK_F9)
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
    with vexar.awaiting_refresh(32000):
        vexar.answer(QUESTION, 'Yes')
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
    with vexar.awaiting_refresh(16000):
        vexar.driver_ok('key', VK_F5)
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
    names = [r['Server Title'] for r in vexar.pane_rows('VEXARPAD')]
    check('Unreal Lab 469' in names and 'Unreal Lab' in names, 'rows from the status fixtures: %r' % names)
    vexar.driver_ok('select-row', 'VEXARPAD', names.index('Unreal Lab 469'))
    vexar.driver_ok('command', IDM_JOIN)
    title = 'Join: Unreal Lab 469'
    vexar.driver_ok('dlg-wait', title)
    vexar.driver_ok('dlg-text', title, IDC_JOIN_NAME, 'Tester')
    vexar.driver_ok('dlg-click', title, IDOK)
    log = os.path.join(game, 'vexar-game.txt')
    wait_for(lambda: os.path.exists(log) and len(open(log, 'rb').read().split(b'\r\n')) > 2, 'the start of the game')
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


PREFERENCES = 'Network Preferences'


def test_fast_pace_is_checked_stored_and_refreshes_the_lab(vexar, the_lab):
    start_in_lab(vexar, None)
    vexar.driver_ok('command', IDM_NETWORK_PREFERENCES)
    vexar.driver_ok('dlg-wait', PREFERENCES)
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, IDC_NET_PRESET), ['Classic'], 'pace at first')
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, IDC_NET_PAUSE), ['200'], 'classic pause')
    vexar.driver_ok('dlg-select', PREFERENCES, IDC_NET_PRESET, 'Custom')
    vexar.driver_ok('dlg-text', PREFERENCES, IDC_NET_PAUSE, '0')
    vexar.driver_ok('dlg-click', PREFERENCES, IDOK)
    vexar.answer('The pause between bursts (ms) must be between 1 and 5000.', 'OK')
    check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['missing'], 'nothing stored yet')
    vexar.driver_ok('dlg-select', PREFERENCES, IDC_NET_PRESET, 'Fast')
    vexar.driver_ok('dlg-click', PREFERENCES, IDOK)
    check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['1'], 'Fast stored')

    with vexar.awaiting_refresh(32000):
        vexar.driver_ok('key', VK_F9)
    vexar.close()
    servers = by_address(read_servers(vexar, 'GS001.vexar'))
    for address, _, _ in lab.OPENARENA_SERVERS:
        s = servers['%s:27960' % address]
        check(s['ping'] < 999, 'ping of %s measured at the fast pace: %d' % (address, s['ping']))
        check_equal(s['game'], 'baseoa', 'game of %s (gamename, not com_gamename)' % address)
    vexar.start()
    vexar.driver_ok('command', IDM_NETWORK_PREFERENCES)
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, IDC_NET_PRESET), ['Fast'], 'pace after a restart')
    vexar.driver_ok('dlg-click', PREFERENCES, IDCANCEL)
    vexar.close()


ADD = 'Add Server'


def test_add_server_checks_what_was_typed_resolves_a_name_and_refreshes_the_server(vexar, the_lab):
    fixture = the_lab.start_fixture('quake3_fixture', '127.0.0.1', 27961, '--name', 'Added Lab', '--map', 'q3dm6')
    try:
        start_in_lab(vexar, None)
        for typed, message in [('', 'Please enter the Servers IP Address!'), ('300.1.1.1', 'Invalid IP Address!!'),
                               ('no-such-host.invalid', "Couldn't resolve IP Address!!")]:
            vexar.driver_ok('key', VK_INSERT)
            vexar.driver_ok('dlg-wait', ADD)
            vexar.driver_ok('dlg-text', ADD, IDC_ADD_ADDRESS, typed)
            vexar.driver_ok('dlg-click', ADD, IDOK)
            vexar.answer(message, 'OK')
            vexar.driver_ok('dlg-click', ADD, IDCANCEL)
        vexar.driver_ok('key', VK_INSERT)
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_PORT, '0')
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_ADDRESS, '127.0.0.1')
        vexar.driver_ok('dlg-click', ADD, IDOK)
        vexar.answer('Please enter valid Server Ports!!', 'OK')
        # "name:port" typed: the port moves into its box as it is typed.
        vexar.driver('dlg-text', ADD, IDC_ADD_ADDRESS, 'localhost:27961')  # the box changes what was set
        check_equal(vexar.driver_ok('dlg-read', ADD, IDC_ADD_PORT), ['27961'], 'port taken from the address')
        check_equal(vexar.driver_ok('dlg-read', ADD, IDC_ADD_ADDRESS), ['localhost'], 'address without the port')
        with vexar.awaiting_refresh(8000):  # once the name is looked up
            vexar.driver_ok('dlg-click', ADD, IDOK)
        rows = vexar.pane_rows('VEXARPAD')
        check_equal([(r['Server Title'], r['Map'], r['Server Address']) for r in rows],
                    [('Added Lab', 'q3dm6', '127.0.0.1:27961')], 'the added row')
        check(int(rows[0]['Ping']) < 999, 'ping of the added server: %s' % rows[0]['Ping'])
        vexar.close()
    finally:
        fixture.terminate()


MONITOR = 'Monitor Server'


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
        vexar.driver_ok('command', IDM_MONITOR_SERVER)
        vexar.driver_ok('dlg-wait', MONITOR)
        vexar.driver_ok('dlg-text', MONITOR, IDC_MONITOR_PERIOD, '1')
        vexar.driver_ok('dlg-click', MONITOR, IDOK)
        vexar.answer('Nothing to monitor!', 'OK')
        vexar.driver_ok('dlg-click', MONITOR, IDCANCEL)
        vexar.driver_ok('key', VK_INSERT)  # Add Server
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_ADDRESS, '127.0.0.2')
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_PORT, '27962')
        with vexar.awaiting_refresh(8000):
            vexar.driver_ok('dlg-click', ADD, IDOK)
        vexar.driver_ok('select-row', 'VEXARPAD', 0)
        vexar.driver_ok('command', IDM_MONITOR_SERVER)
        for period in ('61', '0'):
            vexar.driver_ok('dlg-text', MONITOR, IDC_MONITOR_PERIOD, period)
            vexar.driver_ok('dlg-click', MONITOR, IDOK)
            vexar.answer('Range: 1 to 60 seconds!', 'OK')
        vexar.driver_ok('dlg-text', MONITOR, IDC_MONITOR_PERIOD, '1')
        before = len(server.requests)
        vexar.driver_ok('dlg-click', MONITOR, IDOK)
        check_equal(vexar.driver_ok('dlg-read', MONITOR, IDOK), ['Pause!'], 'button while monitoring')
        wait_for(lambda: len(server.requests) - before >= 5, 'five requests while monitoring', 15)
        vexar.driver_ok('dlg-click', MONITOR, IDCANCEL)
        during = len(server.requests) - before
        times = server.requests[before:before + 5]
        period = (times[-1] - times[0]) / (len(times) - 1)
        check(0.75 <= period <= 1.5, 'requests at a 1 s period: %.2f s apart on average' % period)
        # That nothing more is asked after Close can only be seen by waiting: two and a half periods.
        time.sleep(2.5)
        check_equal(len(server.requests) - before, during, 'requests after Close')
        vexar.close()
    finally:
        server.stop()


def test_half_life_console_asks_the_challenge_first_and_lists_the_players(vexar, the_lab):
    start_in_lab(vexar, 1)
    with vexar.awaiting_refresh(32000):
        vexar.answer(QUESTION, 'Yes')
    rows = vexar.pane_rows('VEXARPAD')
    vexar.driver_ok('select-row', 'VEXARPAD', [r['Server Title'] for r in rows].index('Counter Lab'))
    vexar.driver_ok('key', VK_F4)
    password = 'Confirm Remote Control password'
    vexar.driver_ok('dlg-wait', password)
    check_equal(vexar.driver_ok('dlg-enabled', password, IDC_RCON_PORT), ['1'], 'Half-Life lets the port be changed')
    vexar.driver_ok('dlg-text', password, IDC_RCON_PASSWORD, 'lab')
    vexar.driver_ok('dlg-click', password, IDOK)
    # The fixture answers "status" only when the command carries the challenge it gave.
    players = wait_for(lambda: sorted((r['Player'], r['Score'], r['Ping']) for r in vexar.window_rows('VEXARRC')),
                       'players in the console')
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
