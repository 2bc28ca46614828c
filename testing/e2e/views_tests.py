"""End-to-end tests of the browser views against the lab: server rows after a refresh, a server's
players (bots with "Show Bots"), a buddy shown online, and Find Player."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import check, check_equal, profile_image, profiles_file, server_record  # noqa: E402

QUESTION = "You don't have any servers to view"
SHOW_BOTS = 40078
FIND_PLAYER = 40019


def fetch_quake3_list(vexar):
    lab.write_install_folder(vexar.folder)
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.answer(QUESTION, 'Yes')
    time.sleep(1)
    vexar.driver_ok('wait-idle', 60000)  # master attempt (2 s after the list), then the refresh


def server_rows(vexar):
    return [row.split('\t') for row in vexar.driver_ok('rows', 'VEXARPAD')]


def row_of(rows, title):
    for i, row in enumerate(rows):
        if row[3] == title:
            return i, row
    raise AssertionError('no row titled %r in %r' % (title, [r[3] for r in rows]))


def test_refreshed_servers_are_listed_with_their_cells(vexar, the_lab):
    fetch_quake3_list(vexar)
    vexar.screenshot('views-after-refresh')
    rows = server_rows(vexar)
    # Servers that did not answer are hidden while "Show Servers -> No reply" is off.
    check_equal(sorted(r[3] for r in rows), sorted(name for _, name, _ in lab.OPENARENA_SERVERS), 'titles')
    _, first = row_of(rows, '^1Lab ^7Deathmatch')
    check_equal(first[5], 'oa_dm1', 'map cell')
    reference = subprocess.run(['quakestat', '-q3s', '127.10.0.1:27960', '-raw', '\t', '-nh'], capture_output=True,
                               text=True, timeout=30).stdout.split('\t')
    check_equal(first[8], '%s/%s' % (reference[5], reference[4]), 'players cell against quakestat')
    check_equal(first[9], '127.10.0.1:27960', 'address cell')
    check(int(first[4]) < 999, 'ping cell %s' % first[4])
    _, private = row_of(rows, '^2Private ^7Lab')
    check_equal(private[0], 'Y', 'password column of the private server')
    check_equal(first[0], ' ', 'password column of an open server')
    vexar.close()


def test_selected_server_shows_its_players_and_bots_only_when_asked(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    time.sleep(0.5)
    check_equal(vexar.driver_ok('rows', 'VXPLAYER'), [], 'players without Show Bots (all are bots)')
    vexar.driver_ok('command', SHOW_BOTS)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    time.sleep(0.5)
    players = sorted(row.split('\t')[0] for row in vexar.driver_ok('rows', 'VXPLAYER'))
    check_equal(players, ['Grism', 'Sarge'], 'bots with Show Bots')
    vexar.screenshot('views-players')
    vexar.close()


def test_buddy_is_shown_online_on_the_server_where_the_lab_has_that_player(vexar, the_lab):
    fetch_quake3_list(vexar)
    buddies = [row.split('\t') for row in vexar.driver_ok('rows', 'VXBUDDIES')]
    check_equal(len(buddies), 1, 'buddy rows')
    check_equal(buddies[0][0], lab.LAB_BUDDY, 'buddy name')
    check_equal(buddies[0][1], '^1Lab ^7Deathmatch', 'server of the buddy')
    vexar.close()


def test_find_player_finds_the_buddy(vexar, the_lab):
    fetch_quake3_list(vexar)
    vexar.driver_ok('command', FIND_PLAYER)
    vexar.driver_ok('dlg-wait', 'Find Player')
    vexar.driver_ok('dlg-text', 'Find Player', 1003, 'sar')
    vexar.driver_ok('dlg-click', 'Find Player', 1013)
    rows = [row.split('\t') for row in vexar.driver_ok('dlg-rows', 'Find Player', 1000)]
    check_equal([r[0] for r in rows], ['Sarge'], 'players found by "sar"')
    check_equal(rows[0][1], '^1Lab ^7Deathmatch', 'server of the player found')
    vexar.driver_ok('dlg-text', 'Find Player', 1003, '*ajo')
    vexar.driver_ok('dlg-click', 'Find Player', 1013)
    rows = [row.split('\t') for row in vexar.driver_ok('dlg-rows', 'Find Player', 1000)]
    check_equal([r[0] for r in rows], ['Major'], 'players found by "*ajo"')
    vexar.driver_ok('dlg-click', 'Find Player', 2)
    vexar.close()
    check_equal(vexar.ini('Find', 'find0'), 'sar', 'first search text stored')
    check_equal(vexar.ini('Find', 'find1'), '*ajo', 'second search text stored')


def test_server_information_lists_the_status_keys_without_player_keys(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    vexar.driver_ok('key', 0x49, 'ctrl')  # Ctrl+I
    vexar.driver_ok('dlg-wait', 'Server Properties')
    rows = dict(row.split('\t', 1) for row in vexar.driver_ok('dlg-rows', 'Server Properties', 1000))
    vexar.screenshot('server-information')
    check_equal(rows.get('sv_hostname'), '^1Lab ^7Deathmatch', 'host name row')
    check_equal(rows.get('gamename'), 'baseoa', 'game row')
    check(not any(key.lower().startswith(('player_', 'frags_', 'ping_')) for key in rows), 'no player keys')
    vexar.driver_ok('dlg-click', 'Server Properties', 1)
    vexar.close()


RC, PASSWORD_DIALOG = 'VEXARRC', 'Confirm Remote Control password'


def test_remote_control_console_asks_the_password_lists_players_and_keeps_typed_commands(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^4Blue ^3Base')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    vexar.driver_ok('key', 0x73)  # F4
    vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
    vexar.driver_ok('dlg-text', PASSWORD_DIALOG, 1004, 'wrong')
    vexar.driver_ok('dlg-click', PASSWORD_DIALOG, 1)
    vexar.answer("You're Remote Control password is incorrect!", 'OK')
    vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
    vexar.driver_ok('dlg-text', PASSWORD_DIALOG, 1004, 'secret')
    vexar.driver_ok('dlg-click', PASSWORD_DIALOG, 1)
    # The console lists the server's players as quakestat sees them.
    reference = subprocess.run(['quakestat', '-q3s', '127.10.0.2:27960', '-P', '-raw', '\t', '-nh'],
                               capture_output=True, text=True, timeout=30).stdout.splitlines()[1:]
    expected = sorted(tuple(line.split('\t')[:3]) for line in reference if line.strip())  # name, score, ping
    players = []
    for _ in range(50):
        players = sorted(tuple(row.split('\t')) for row in vexar.driver_ok('window-rows', RC))
        if players:
            break
        time.sleep(0.2)
    check_equal(players, expected, 'players against quakestat')
    # A typed command: its reply in the log, the command in the history file after closing.
    vexar.driver_ok('window-set-item-text', RC, 101, 'g_gametype')  # the command box
    vexar.driver_ok('window-command', RC, 100)
    log = ''
    for _ in range(50):
        log = '\n'.join(vexar.driver_ok('window-child-text', RC, 'Edit'))
        if 'g_gametype' in log and 'is:' in log:
            break
        time.sleep(0.2)
    check('"g_gametype" is:' in log, 'reply in the log: %r' % log)
    vexar.screenshot('remote-control')
    # Server Props lists the real cvars; Change Map sends "map" with the chosen one.
    vexar.driver_ok('window-command', RC, 40022)
    vexar.driver_ok('dlg-wait', 'Server Properties')
    cvars = dict(row.split('\t', 1) for row in vexar.driver_ok('dlg-rows', 'Server Properties', 1000))
    check_equal(cvars.get('sv_hostname'), '^4Blue ^3Base', 'sv_hostname cvar')
    vexar.driver_ok('dlg-click', 'Server Properties', 1)
    vexar.driver_ok('window-command', RC, 40023)
    vexar.driver_ok('dlg-wait', 'Change Server Map')
    time.sleep(1)  # the rest of the list arrives in more datagrams
    vexar.driver_ok('dlg-select', 'Change Server Map', 1000, 'oa_dm3')
    vexar.driver_ok('dlg-click', 'Change Server Map', 1)
    new_map = ''
    for _ in range(40):
        out = subprocess.run(['quakestat', '-q3s', '127.10.0.2:27960', '-raw', '\t', '-nh'], capture_output=True,
                             text=True, timeout=30).stdout.split('\t')
        new_map = out[3] if len(out) > 3 else ''
        if new_map == 'oa_dm3':
            break
        time.sleep(0.5)
    check_equal(new_map, 'oa_dm3', 'map after Change Map (quakestat)')
    # Kicking the server's bot.
    time.sleep(3)  # the bots come back on the new map
    vexar.driver_ok('window-command', RC, 40024)
    rows = []
    for _ in range(50):
        rows = [row.split('\t')[0] for row in vexar.driver_ok('window-rows', RC)]
        if 'Major' in rows:
            break
        time.sleep(0.2)
        vexar.driver_ok('window-command', RC, 40024)
    vexar.driver_ok('window-select-row', RC, rows.index('Major'))
    vexar.driver_ok('window-command', RC, 40127)
    names = ['Major']
    for _ in range(40):
        out = subprocess.run(['quakestat', '-q3s', '127.10.0.2:27960', '-P', '-raw', '\t', '-nh'], capture_output=True,
                             text=True, timeout=30).stdout.splitlines()[1:]
        names = [line.split('\t')[0] for line in out if line.strip()]
        if 'Major' not in names:
            break
        time.sleep(0.5)
    check('Major' not in names, 'players after the kick (quakestat): %r' % names)
    check('Major' not in [row.split('\t')[0] for row in vexar.driver_ok('window-rows', RC)], 'row after the kick')
    vexar.close()
    check_equal(vexar.read('user_rcon_commands_q3a.txt'), b'g_gametype\r\n', 'history file')


def test_a_sixth_remote_control_console_is_refused(vexar, the_lab):
    vexar.write('gamesets.vexar', profiles_file([profile_image('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
    vexar.write('GS001.vexar', b''.join(server_record('127.0.3.%d' % i, 27960, 'Server %d' % i) for i in range(6)))
    vexar.write('BL001.vexar', b'')
    vexar.write_ini('[games]\nactive=0\n[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    for row in range(5):
        vexar.driver_ok('select-row', 'VEXARPAD', row)
        vexar.driver_ok('key', 0x73)  # F4
        vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
        vexar.driver_ok('dlg-text', PASSWORD_DIALOG, 1004, 'pw')
        vexar.driver_ok('dlg-click', PASSWORD_DIALOG, 1)
    check_equal(len(vexar.driver_ok('window-rows', RC)), 0, 'no players from servers that do not answer')
    vexar.driver_ok('select-row', 'VEXARPAD', 5)
    vexar.driver_ok('key', 0x73)
    vexar.answer('A maximum of five Vexar! Remote Control', 'OK')
    vexar.close()


TESTS = [
    test_a_sixth_remote_control_console_is_refused,
    test_server_information_lists_the_status_keys_without_player_keys,
    test_refreshed_servers_are_listed_with_their_cells,
    test_selected_server_shows_its_players_and_bots_only_when_asked,
    test_buddy_is_shown_online_on_the_server_where_the_lab_has_that_player,
    test_find_player_finds_the_buddy,
    # Last: it changes a lab server's map.
    test_remote_control_console_asks_the_password_lists_players_and_keeps_typed_commands,
]
NEEDS_LAB = True
