"""End-to-end tests of the browser views against the lab: server rows after a refresh, a server's
players (bots with "Show Bots"), a buddy shown online, and Find Player."""
import os
import socket
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import (buddies_file, check, check_equal, profile, profiles_file, server, servers_file,  # noqa: E402
                     wait_for)
from vexar_ids import (IDC_FIND_GO, IDC_FIND_LIST, IDC_FIND_TEXT, IDC_MAP_LIST, IDC_PROPERTIES_LIST,  # noqa: E402
                       IDC_RCON_COMMAND, IDC_RCON_PASSWORD, IDC_RCON_SEND, IDCANCEL, IDM_FIND_PLAYER,
                       IDM_RCON_CHANGE_MAP, IDM_RCON_KICK, IDM_RCON_REFRESH, IDM_RCON_SERVER_PROPS, IDM_SHOW_BOTS,
                       IDOK, VK_F4)

QUESTION = "You don't have any servers to view"
TITLE = 'Server Title'


def fetch_quake3_list(vexar):
    lab.write_install_folder(vexar.folder)
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    with vexar.awaiting_refresh(60000):  # master attempt (2 s after the list), then the refresh
        vexar.answer(QUESTION, 'Yes')


def server_rows(vexar):
    return vexar.pane_rows('VEXARPAD')


def row_of(rows, title):
    for i, row in enumerate(rows):
        if row[TITLE] == title:
            return i, row
    raise AssertionError('no row titled %r in %r' % (title, [r[TITLE] for r in rows]))


def test_refreshed_servers_are_listed_with_their_cells(vexar, the_lab):
    fetch_quake3_list(vexar)
    vexar.screenshot('views-after-refresh')
    rows = server_rows(vexar)
    # Servers that did not answer are hidden while "Show Servers -> No reply" is off.
    check_equal(sorted(r[TITLE] for r in rows), sorted(name for _, name, _ in lab.OPENARENA_SERVERS), 'titles')
    _, first = row_of(rows, '^1Lab ^7Deathmatch')
    check_equal(first['Map'], 'oa_dm1', 'map cell')
    reference = subprocess.run(['quakestat', '-q3s', '127.10.0.1:27960', '-raw', '\t', '-nh'], capture_output=True,
                               text=True, timeout=30).stdout.split('\t')
    check_equal(first['Players'], '%s/%s' % (reference[5], reference[4]), 'players cell against quakestat')
    check_equal(first['Server Address'], '127.10.0.1:27960', 'address cell')
    check(int(first['Ping']) < 999, 'ping cell %s' % first['Ping'])
    # The password column is the first, and has no caption.
    _, private = row_of(rows, '^2Private ^7Lab')
    check_equal(private[0], 'Y', 'password column of the private server')
    check_equal(first[0], ' ', 'password column of an open server')
    vexar.close()


def test_selected_server_shows_its_players_and_bots_only_when_asked(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    # The selection shows its players while the list control tells of it: nothing to wait for.
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    check_equal(vexar.pane_rows('VXPLAYER'), [], 'players without Show Bots (all are bots)')
    vexar.driver_ok('command', IDM_SHOW_BOTS)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    players = sorted(row['Player'] for row in vexar.pane_rows('VXPLAYER'))
    check_equal(players, ['Grism', 'Sarge'], 'bots with Show Bots')
    vexar.screenshot('views-players')
    vexar.close()


def test_buddy_is_shown_online_on_the_server_where_the_lab_has_that_player(vexar, the_lab):
    fetch_quake3_list(vexar)
    buddies = vexar.pane_rows('VXBUDDIES')
    check_equal(len(buddies), 1, 'buddy rows')
    check_equal(buddies[0]['Buddy'], lab.LAB_BUDDY, 'buddy name')
    check_equal(buddies[0]['Server'], '^1Lab ^7Deathmatch', 'server of the buddy')
    vexar.close()


def test_find_player_finds_the_buddy(vexar, the_lab):
    fetch_quake3_list(vexar)
    vexar.driver_ok('command', IDM_FIND_PLAYER)
    vexar.driver_ok('dlg-wait', 'Find Player')
    vexar.driver_ok('dlg-text', 'Find Player', IDC_FIND_TEXT, 'sar')
    vexar.driver_ok('dlg-click', 'Find Player', IDC_FIND_GO)
    rows = vexar.dialog_rows('Find Player', IDC_FIND_LIST)
    check_equal([r['Player'] for r in rows], ['Sarge'], 'players found by "sar"')
    check_equal(rows[0]['Server'], '^1Lab ^7Deathmatch', 'server of the player found')
    vexar.driver_ok('dlg-text', 'Find Player', IDC_FIND_TEXT, '*ajo')
    vexar.driver_ok('dlg-click', 'Find Player', IDC_FIND_GO)
    rows = vexar.dialog_rows('Find Player', IDC_FIND_LIST)
    check_equal([r['Player'] for r in rows], ['Major'], 'players found by "*ajo"')
    vexar.driver_ok('dlg-click', 'Find Player', IDCANCEL)
    vexar.close()
    check_equal(vexar.ini('Find', 'find0'), 'sar', 'first search text stored')
    check_equal(vexar.ini('Find', 'find1'), '*ajo', 'second search text stored')


def test_server_information_lists_the_status_keys_without_player_keys(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^1Lab ^7Deathmatch')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    vexar.driver_ok('key', ord('I'), 'ctrl')
    vexar.driver_ok('dlg-wait', 'Server Properties')
    rows = {r['Property']: r['Value'] for r in vexar.dialog_rows('Server Properties', IDC_PROPERTIES_LIST)}
    vexar.screenshot('server-information')
    check_equal(rows.get('sv_hostname'), '^1Lab ^7Deathmatch', 'host name row')
    check_equal(rows.get('gamename'), 'baseoa', 'game row')
    check(not any(key.lower().startswith(('player_', 'frags_', 'ping_')) for key in rows), 'no player keys')
    vexar.driver_ok('dlg-click', 'Server Properties', IDOK)
    vexar.close()


def quakestat_status(address):
    """(map, player names) of a lab server as quakestat sees it."""
    out = subprocess.run(['quakestat', '-q3s', address, '-P', '-raw', '\t', '-nh'], capture_output=True, text=True,
                         timeout=30).stdout.splitlines()
    head = out[0].split('\t') if out else []
    return (head[3] if len(head) > 3 else '', [line.split('\t')[0] for line in out[1:] if line.strip()])


RC, PASSWORD_DIALOG = 'VEXARRC', 'Confirm Remote Control password'


def test_remote_control_console_asks_the_password_lists_players_and_keeps_typed_commands(vexar, the_lab):
    fetch_quake3_list(vexar)
    index, _ = row_of(server_rows(vexar), '^4Blue ^3Base')
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    vexar.driver_ok('key', VK_F4)
    vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
    vexar.driver_ok('dlg-text', PASSWORD_DIALOG, IDC_RCON_PASSWORD, 'wrong')
    vexar.driver_ok('dlg-click', PASSWORD_DIALOG, IDOK)
    vexar.answer("You're Remote Control password is incorrect!", 'OK')
    vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
    vexar.driver_ok('dlg-text', PASSWORD_DIALOG, IDC_RCON_PASSWORD, 'secret')
    vexar.driver_ok('dlg-click', PASSWORD_DIALOG, IDOK)
    # The console lists the server's players as quakestat sees them.
    reference = subprocess.run(['quakestat', '-q3s', '127.10.0.2:27960', '-P', '-raw', '\t', '-nh'],
                               capture_output=True, text=True, timeout=30).stdout.splitlines()[1:]
    expected = sorted(tuple(line.split('\t')[:3]) for line in reference if line.strip())  # name, score, ping

    def console_players():
        return sorted((r['Player'], r['Score'], r['Ping']) for r in vexar.window_rows(RC))

    check_equal(wait_for(console_players, 'players in the console'), expected, 'players against quakestat')
    # A typed command: its reply in the log, the command in the history file after closing.
    vexar.driver_ok('window-set-item-text', RC, IDC_RCON_COMMAND, 'g_gametype')
    vexar.driver_ok('window-command', RC, IDC_RCON_SEND)
    wait_for(lambda: '"g_gametype" is:' in '\n'.join(vexar.driver_ok('window-child-text', RC, 'Edit')),
             'the reply to g_gametype in the log')
    vexar.screenshot('remote-control')
    # Server Props lists the real cvars; Change Map sends "map" with the chosen one.
    vexar.driver_ok('window-command', RC, IDM_RCON_SERVER_PROPS)
    vexar.driver_ok('dlg-wait', 'Server Properties')
    cvars = {r['Property']: r['Value'] for r in vexar.dialog_rows('Server Properties', IDC_PROPERTIES_LIST)}
    check_equal(cvars.get('sv_hostname'), '^4Blue ^3Base', 'sv_hostname cvar')
    vexar.driver_ok('dlg-click', 'Server Properties', IDOK)
    vexar.driver_ok('window-command', RC, IDM_RCON_CHANGE_MAP)
    vexar.driver_ok('dlg-wait', 'Change Server Map')
    # The list of maps arrives in several datagrams: the map is chosen once it is there.
    wait_for(lambda: vexar.driver('dlg-select', 'Change Server Map', IDC_MAP_LIST, 'oa_dm3')[0] == 0,
             'oa_dm3 in the list of maps')
    vexar.driver_ok('dlg-click', 'Change Server Map', IDOK)
    wait_for(lambda: quakestat_status('127.10.0.2:27960')[0] == 'oa_dm3', 'oa_dm3 on the server (quakestat)', 30)
    # Kicking the server's bot, once it is back on the new map and the console has listed it again.
    wait_for(lambda: 'Major' in quakestat_status('127.10.0.2:27960')[1], 'Major back on the server (quakestat)', 30)

    def console_names_with_major():
        # Rows first: a refresh asked for just before the kick would be answered in its place.
        names = [r['Player'] for r in vexar.window_rows(RC)]
        if 'Major' in names:
            return names
        vexar.driver_ok('window-command', RC, IDM_RCON_REFRESH)
        return None

    rows = wait_for(console_names_with_major, 'Major in the console', 30, poll=0.5)
    vexar.driver_ok('window-select-row', RC, rows.index('Major'))
    vexar.driver_ok('window-command', RC, IDM_RCON_KICK)
    wait_for(lambda: 'Major' not in quakestat_status('127.10.0.2:27960')[1], 'Major kicked (quakestat)', 30)
    # The console drops the row when the server's answer to the kick comes, which may be after quakestat's.
    wait_for(lambda: 'Major' not in [r['Player'] for r in vexar.window_rows(RC)], 'Major gone from the console', 10)
    vexar.close()
    check_equal(vexar.read('user_rcon_commands_q3a.txt'), b'g_gametype\r\n', 'history file')


def test_a_sixth_remote_control_console_is_refused(vexar, the_lab):
    vexar.write('gamesets.vexar', profiles_file([profile('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
    vexar.write('GS001.vexar', servers_file([server('127.0.3.%d' % i, 27960, 'Server %d' % i) for i in range(6)]))
    vexar.write('BL001.vexar', buddies_file([]))
    vexar.write_ini('[games]\nactive=0\n[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    for row in range(5):
        vexar.driver_ok('select-row', 'VEXARPAD', row)
        vexar.driver_ok('key', VK_F4)
        vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
        vexar.driver_ok('dlg-text', PASSWORD_DIALOG, IDC_RCON_PASSWORD, 'pw')
        vexar.driver_ok('dlg-click', PASSWORD_DIALOG, IDOK)
    check_equal(len(vexar.window_rows(RC)), 0, 'no players from servers that do not answer')
    vexar.driver_ok('select-row', 'VEXARPAD', 5)
    vexar.driver_ok('key', VK_F4)
    vexar.answer('A maximum of five Vexar! Remote Control', 'OK')
    vexar.close()


KICK_SERVER = '127.10.0.9'
# More bots than one rcon reply holds: today's engines flush the status table every 1,008 bytes.
KICK_BOTS = ['Angelyss', 'Arachna', 'Beret', 'Gargoyle', 'Grism', 'Grunt', 'Kyonshi', 'Liz', 'Major', 'Merman',
             'Murielle', 'Penguin', 'Sarge', 'Skelebot', 'Sorceress', 'Tony', 'Ayumi', 'Jenna']


def quakestat_players(address):
    """(name, score) of each player of a server as quakestat sees them, sorted."""
    out = subprocess.run(['quakestat', '-q3s', address, '-P', '-raw', '\t', '-nh'], capture_output=True, text=True,
                         timeout=30).stdout.splitlines()[1:]
    return sorted(tuple(line.split('\t')[:2]) for line in out if line.strip())


def rcon(address, command):
    """The first datagram of the server's reply to an rcon command with the lab's password, or b''."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.settimeout(2)
        s.sendto(b'\xff\xff\xff\xffrcon secret ' + command.encode(), (address, 27960))
        try:
            return s.recvfrom(65536)[0]
        except OSError:
            return b''


def test_remote_control_kicks_a_chosen_bot_among_eighteen(vexar, the_lab):
    server_lab = lab.Lab(os.environ['VEXAR_FIXTURES'])
    # The engine takes only so many command-line commands: the bots come from a config file.
    config = os.path.join(server_lab.home, '.openarena', 'baseoa')
    os.makedirs(config)
    with open(os.path.join(config, 'kick.cfg'), 'w') as f:
        f.write(''.join('addbot %s 1\n' % name for name in KICK_BOTS))
    address = KICK_SERVER + ':27960'
    try:
        # devmap: bot_pause is a cheat; without frags the scores hold still for the comparison.
        server_lab.start_openarena(KICK_SERVER, 'Kick Lab', ['+set', 'sv_maxclients', '20', '+set', 'fraglimit', '0',
                                                             '+devmap', 'oa_dm1', '+exec', 'kick.cfg'])
        wait_for(lambda: len(quakestat_players(address)) == len(KICK_BOTS), 'the bots on the server (quakestat)', 60,
                 poll=0.5)
        wait_for(lambda: rcon(KICK_SERVER, 'bot_pause 1') and b'"bot_pause" is:"1' in rcon(KICK_SERVER, 'bot_pause'),
                 'bots paused')
        expected = quakestat_players(address)
        check_equal(sorted(name for name, _ in expected), sorted(KICK_BOTS), 'bots on the server (quakestat)')
        vexar.write('gamesets.vexar', profiles_file([profile('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
        vexar.write('GS001.vexar', servers_file([server(KICK_SERVER, 27960, 'Kick Lab')]))
        vexar.write('BL001.vexar', buddies_file([]))
        vexar.write_ini('[games]\nactive=0\n[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
        vexar.reset_registry({'NDF': 1})
        vexar.start()
        vexar.driver_ok('select-row', 'VEXARPAD', 0)
        vexar.driver_ok('key', VK_F4)
        vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
        vexar.driver_ok('dlg-text', PASSWORD_DIALOG, IDC_RCON_PASSWORD, 'secret')
        vexar.driver_ok('dlg-click', PASSWORD_DIALOG, IDOK)

        def console_players():
            return sorted((r['Player'], r['Score']) for r in vexar.window_rows(RC))

        # The whole table, from all of its datagrams.
        wait_for(lambda: len(vexar.window_rows(RC)) >= len(KICK_BOTS), 'all the bots in the console')
        check_equal(console_players(), expected, 'players in the console against quakestat')
        vexar.screenshot('remote-control-eighteen')
        # A bot from the part of the table that came in the second datagram.
        rows = [r['Player'] for r in vexar.window_rows(RC)]
        chosen = rows[14]
        vexar.driver_ok('window-select-row', RC, 14)
        vexar.driver_ok('window-command', RC, IDM_RCON_KICK)
        rest = [p for p in expected if p[0] != chosen]
        wait_for(lambda: len(quakestat_players(address)) < len(KICK_BOTS), 'a bot kicked (quakestat)', 30, poll=0.5)
        check_equal(quakestat_players(address), rest, 'players after kicking %s (quakestat)' % chosen)
        wait_for(lambda: chosen not in [r['Player'] for r in vexar.window_rows(RC)],
                 '%s gone from the console' % chosen)
        check_equal(console_players(), rest, 'players in the console after the kick')
        vexar.close()
    finally:
        server_lab.stop()


TESTS = [
    test_a_sixth_remote_control_console_is_refused,
    test_server_information_lists_the_status_keys_without_player_keys,
    test_refreshed_servers_are_listed_with_their_cells,
    test_selected_server_shows_its_players_and_bots_only_when_asked,
    test_buddy_is_shown_online_on_the_server_where_the_lab_has_that_player,
    test_find_player_finds_the_buddy,
    test_remote_control_kicks_a_chosen_bot_among_eighteen,
    # Last: it changes a lab server's map.
    test_remote_control_console_asks_the_password_lists_players_and_keeps_typed_commands,
]
NEEDS_LAB = True
