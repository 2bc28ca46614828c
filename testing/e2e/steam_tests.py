"""End-to-end tests of the Steam games: a Counter-Strike 1.6 profile (the Half-Life engine on Steam,
eight application filters) and a Team Fortress 2 profile, F9 against Steam master fixtures that page
their lists, the listed A2S fixture servers' rows, and Join starting the game stand-in with the
catalogue's line, or the Steam client's steam://connect address through a registered handler."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import (check, check_equal, profile, profiles_file, read_servers, server, servers_file,  # noqa: E402
                     wait_for)
from vexar_ids import (IDC_JOIN_NAME, IDC_JOIN_PASSWORD, IDC_JOIN_VIA_STEAM, IDM_GET_MASTER_LIST,  # noqa: E402
                       IDM_JOIN, IDOK)

QUESTION = "You don't have any servers to view"
# Counter-Strike 1.6's master lists its servers for application 10 only (the other seven filters of
# the Half-Life engine on Steam get an empty list), two to a page; Team Fortress 2's one to a page.
CS_MASTER = ('127.10.5.100', 27011)
CS_SERVERS = [('127.10.5.1', 27015), ('127.10.5.2', 27016)]
CS_DEAD = ('127.10.5.50', 27015)
CS_DEAD_ADDRESS = '%s:%d' % CS_DEAD
TF2_MASTER = ('127.10.6.100', 27011)
TF2_SERVERS = [('127.10.6.1', 27015), ('127.10.6.2', 27015)]
# A master that answers its first page and then nothing more.
SILENT_MASTER = ('127.10.6.101', 27011)
CS_SECTION = 'Half-Life (Steam) - Counter-Strike 1.6'
TF2_SECTION = 'Team Fortress 2 - Team Fortress 2'
# (Wine reads URL handlers from HKEY_CLASSES_ROOT itself, not from the user's classes.)
STEAM_HANDLER = 'HKEY_CLASSES_ROOT\\steam'


class SteamLab:
    """The Steam master fixtures and the A2S servers they list, on 127.10.5.x and 127.10.6.x."""

    def __init__(self):
        self.lab = lab.Lab(os.environ['VEXAR_FIXTURES'], with_openarena=False)

    def __enter__(self):
        start = self.lab.start_fixture
        start('a2s_fixture', CS_SERVERS[0][0], CS_SERVERS[0][1], '--name', 'CS Lab', '--map', 'de_dust2', '--folder',
              'cstrike', '--game', 'Counter-Strike', '--appid', '10', '--protocol', '48', '--form', 'hlds', '--max',
              '16', '--player', 'Gordon:12:300', '--player', 'Alyx:7:120')
        start('a2s_fixture', CS_SERVERS[1][0], CS_SERVERS[1][1], '--name', 'Old CS Lab', '--map', 'cs_office',
              '--folder', 'cstrike', '--game', 'Counter-Strike', '--appid', '10', '--form', 'goldsrc', '--max', '12')
        start('steam_master_fixture', CS_MASTER[0], CS_MASTER[1], '--filter', '\\appid\\10', '--per-page', '2',
              *sum((['--server', '%s:%d' % s] for s in CS_SERVERS + [CS_DEAD]), []))
        start('a2s_fixture', TF2_SERVERS[0][0], TF2_SERVERS[0][1], '--name', 'TF2 Lab', '--map', 'ctf_2fort',
              '--keywords', 'ctf,increased_maxplayers', '--challenge', '--max', '24', '--player', 'Scout:5:60')
        start('a2s_fixture', TF2_SERVERS[1][0], TF2_SERVERS[1][1], '--name', 'TF2 Private', '--map', 'pl_badwater',
              '--keywords', 'payload', '--password')
        for master, options in ((TF2_MASTER, []), (SILENT_MASTER, ['--silent-after', '1'])):
            start('steam_master_fixture', master[0], master[1], '--filter', '\\appid\\440', '--per-page', '1',
                  *sum((['--server', '%s:%d' % s] for s in TF2_SERVERS), []), *options)
        return self

    def __exit__(self, *_):
        self.lab.stop()


def install(vexar, via_steam_handler=False, tf2_master=TF2_MASTER):
    """Profiles of the two games pointing at the fixture masters; the stand-in as both games' program,
    and, when asked, as the handler of steam:// addresses (it logs into the installation folder)."""
    lab.write_install_folder(vexar.folder, ui_stored_servers=False)
    images = [profile('Counter-Strike 1.6', 15, 48, CS_MASTER[0], CS_MASTER[1], 1, icon=15),
              profile('Team Fortress 2', 17, 17, tf2_master[0], tf2_master[1], 2, icon=17)]
    vexar.write('gamesets.vexar', profiles_file(images, 2))
    game = lab.install_game_standin(vexar.folder, vexar.build_dir)
    with open(vexar.path('vexar.ini'), 'ab') as f:
        for section in (CS_SECTION, TF2_SECTION):
            f.write(('[%s]\r\nPath=Z:%s\r\nExe=vexar-game.exe\r\n' % (section, game.replace('/', '\\'))).encode())
    vexar.env['VEXAR_GAME_EXIT'] = '1'
    steam_handler(vexar, os.path.join(game, 'vexar-game.exe') if via_steam_handler else None)
    vexar.reset_registry({'NDF': 1, 'FSNR': 0xFFFFFFFF})  # the rows of servers that did not answer are shown
    return game


def steam_handler(vexar, program):
    """Registers program as the handler of steam:// addresses in the prefix, or none."""
    lines = ['REGEDIT4', '', '[-%s]' % STEAM_HANDLER]
    if program:
        command = ('Z:' + program.replace('/', '\\')).replace('\\', '\\\\')
        lines += ['', '[%s]' % STEAM_HANDLER, '@="URL:Steam Protocol"', '"URL Protocol"=""', '',
                  '[%s\\shell\\open\\command]' % STEAM_HANDLER, '@="\\"%s\\" \\"%%1\\""' % command]
    reg = vexar.path('steam.reg')
    with open(reg, 'w') as f:
        f.write('\r\n'.join(lines) + '\r\n')
    vexar.wine('regedit', '/S', 'Z:' + reg.replace('/', '\\'))
    os.remove(reg)


def command_lines(log, count):
    """The command lines of the stand-in's first count starts that its log holds."""
    def runs():
        if not os.path.exists(log):
            return []
        lines = open(log, 'rb').read().decode('latin-1').split('\r\n')
        return [line[len('command='):] for line in lines if line.startswith('command=')]
    wait_for(lambda: len(runs()) >= count, 'the start of the game', 20)
    return runs()


def rows_by_address(vexar):
    return {r['Server Address']: r for r in vexar.pane_rows('VEXARPAD')}


def join(vexar, address, password=None, steam_box='0', tick=False):
    """Joins the row of that address as "Tester": the password typed when given, the Steam box found
    in the state steam_box ('0', '1') and clicked when tick is set."""
    rows = vexar.pane_rows('VEXARPAD')
    index = [r['Server Address'] for r in rows].index(address)
    vexar.driver_ok('select-row', 'VEXARPAD', index)
    vexar.driver_ok('command', IDM_JOIN)
    title = 'Join: ' + rows[index]['Server Title']
    vexar.driver_ok('dlg-wait', title)
    vexar.driver_ok('dlg-text', title, IDC_JOIN_NAME, 'Tester')
    if password is not None:
        vexar.driver_ok('dlg-text', title, IDC_JOIN_PASSWORD, password)
    check_equal(vexar.driver_ok('dlg-checked', title, IDC_JOIN_VIA_STEAM), [steam_box], 'the Steam box')
    if tick:
        vexar.driver_ok('dlg-click', title, IDC_JOIN_VIA_STEAM)
    vexar.driver_ok('dlg-click', title, IDOK)


def test_counter_strike_master_pages_its_list_and_joins_with_the_catalogue_line(vexar):
    with SteamLab():
        game = install(vexar)
        # The first server is known from an earlier run as a Counter-Strike 1.6 server (its mod).
        vexar.write('GS001.vexar', servers_file([server(CS_SERVERS[0][0], CS_SERVERS[0][1], 'CS Lab', ping=9999,
                                                        mod_index=1)]))
        vexar.start()
        with vexar.awaiting_refresh(60000):  # eight filters, a second apart
            vexar.driver_ok('command', IDM_GET_MASTER_LIST)  # F9
        rows = rows_by_address(vexar)
        listed = sorted('%s:%d' % s for s in CS_SERVERS + [CS_DEAD])
        check_equal(sorted(rows), listed, 'the listed servers of application 10, over two pages')
        check_refreshed_rows(rows, {'127.10.5.1:27015': ('CS Lab', 'de_dust2', '2'),
                                    '127.10.5.2:27016': ('Old CS Lab', 'cs_office', '0')})
        check_equal(rows[CS_DEAD_ADDRESS]['Ping'], '9999', 'the listed server that never answers')
        index = [r['Server Address'] for r in vexar.pane_rows('VEXARPAD')].index('127.10.5.1:27015')
        vexar.driver_ok('select-row', 'VEXARPAD', index)
        players = sorted((r['Player'], r['Score'], r['Time']) for r in vexar.pane_rows('VXPLAYER'))
        check_equal(players, [('Alyx', '7', '2:00'), ('Gordon', '12', '5:00')], 'the player pane: score and time')
        join(vexar, '127.10.5.1:27015')
        check_equal(command_lines(os.path.join(game, 'vexar-game.txt'), 1),
                    ['-game cstrike +connect 127.10.5.1:27015  +name "Tester"'], "Counter-Strike 1.6's line")
        vexar.close()
    check_equal(sorted('%s:%d' % (s['address'], s['port']) for s in read_servers(vexar, 'GS001.vexar')), listed,
                'the stored list')


def test_team_fortress_joins_through_the_steam_client_with_the_password(vexar):
    with SteamLab():
        install(vexar, via_steam_handler=True)
        # The private server is known from an earlier run: it wants a password.
        vexar.write('GS002.vexar', servers_file([server(TF2_SERVERS[1][0], TF2_SERVERS[1][1], 'TF2 Private',
                                                        ping=9999, password='1')]))
        vexar.start()
        vexar.answer(QUESTION, 'No')
        check_equal(vexar.driver_ok('select-tab', 1), ['selected'], 'tab change')
        with vexar.awaiting_refresh(60000):
            vexar.driver_ok('command', IDM_GET_MASTER_LIST)  # F9
        rows = rows_by_address(vexar)
        check_equal(sorted(rows), sorted('%s:%d' % s for s in TF2_SERVERS), 'the listed servers, a page each')
        check_refreshed_rows(rows, {'127.10.6.1:27015': ('TF2 Lab', 'ctf_2fort', '1'),
                                    '127.10.6.2:27015': ('TF2 Private', 'pl_badwater', '0')})
        join(vexar, '127.10.6.2:27015', password='a b/c', tick=True)
        check_equal(command_lines(vexar.path('vexar-game.txt'), 1), ['"steam://connect/127.10.6.2:27015/a%20b%2Fc"'],
                    'the Steam client is handed the address with the password')
        check_equal(vexar.ini(TF2_SECTION, 'ViaSteam'), '1', 'the choice is kept for the mod')
        join(vexar, '127.10.6.1:27015', steam_box='1')  # the box opens ticked: through Steam again, without a password
        check_equal(command_lines(vexar.path('vexar-game.txt'), 2)[1], '"steam://connect/127.10.6.1:27015"',
                    'the address without a password')
        vexar.close()
        steam_handler(vexar, None)


def test_a_master_silent_after_its_first_page_ends_with_what_came_and_says_so(vexar):
    with SteamLab():
        install(vexar, tf2_master=SILENT_MASTER)
        vexar.start()
        vexar.answer(QUESTION, 'No')
        check_equal(vexar.driver_ok('select-tab', 1), ['selected'], 'tab change')
        with vexar.awaiting_refresh(60000):  # the second page is asked three times
            vexar.answer(QUESTION, 'Yes')
        vexar.driver_ok('no-message', 1000)  # no give-up message: a server came
        check_equal(sorted(rows_by_address(vexar)), ['%s:%d' % TF2_SERVERS[0]], 'the first page')
        vexar.screenshot('steam-master-stopped')  # the label says so (its text is checked natively)
        vexar.close()


def check_refreshed_rows(rows, expected):
    """Names, maps and players of the answering servers, and a measured ping."""
    for address, (name, map_name, players) in expected.items():
        r = rows[address]
        check_equal((r['Server Title'], r['Map']), (name, map_name), 'name and map of %s' % address)
        check(r['Players'].startswith(players), 'players of %s: %s' % (address, r['Players']))
        check(int(r['Ping']) < 999, 'ping of %s: %s' % (address, r['Ping']))


TESTS = [test_counter_strike_master_pages_its_list_and_joins_with_the_catalogue_line,
         test_team_fortress_joins_through_the_steam_client_with_the_password,
         test_a_master_silent_after_its_first_page_ends_with_what_came_and_says_so]
