"""End-to-end tests of joining: the Join dialog on the lab's OpenArena servers, the game started in its
folder with the expanded command line, the mIRC notification over DDE, and a missing program."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import (Failure, buddies_file, check, check_equal, profile, profiles_file, read_servers,  # noqa: E402
                     server, servers_file, wait_for)
from vexar_ids import (IDC_JOIN_MODEL, IDC_JOIN_NAME, IDC_JOIN_NOTIFY_IRC, IDC_JOIN_PASSWORD,  # noqa: E402
                       IDC_JOIN_SAVE_NAME, IDC_JOIN_SAVE_PASSWORD, IDCANCEL, IDM_EDIT_PLAYER_CONFIG, IDM_JOIN, IDOK,
                       VK_F8, cmb13)

NEEDS_LAB = True
QUESTION = "You don't have any servers to view"
JOIN, EDIT_PLAYER_CONFIG = IDM_JOIN, IDM_EDIT_PLAYER_CONFIG
# The file name box of the Open dialog.
FILE_NAME = cmb13
# Join dialog controls.
PASSWORD, NAME, MODEL, NOTIFY = IDC_JOIN_PASSWORD, IDC_JOIN_NAME, IDC_JOIN_MODEL, IDC_JOIN_NOTIFY_IRC
SAVE_PASSWORD, SAVE_NAME, JOIN_BUTTON = IDC_JOIN_SAVE_PASSWORD, IDC_JOIN_SAVE_NAME, IDOK
MOD_SECTION = lab.GAME_SECTIONS[0]
TEMPLATE = '+connect $ip:$port [+password "$pw"] [+rconpassword "$rconpw"] [+model $model] [+name "$name"] [$spec]'


def install_game(vexar, folder=None):
    """The game stand-in in a folder of its own, started by the lab's mods; it exits at once."""
    vexar.env['VEXAR_GAME_EXIT'] = '1'
    return lab.install_game_standin(vexar.folder, vexar.build_dir, folder, connect=TEMPLATE)


def standin_runs(log):
    """The (folder, command line) of each start of the stand-in that its log holds whole."""
    if not os.path.exists(log):
        return []
    lines = open(log, 'rb').read().decode('latin-1').split('\r\n')
    # Each start writes "folder=...\r\ncommand=...\r\n": a pair is whole once the line after it has begun.
    return [(lines[i][len('folder='):], lines[i + 1][len('command='):]) for i in range(0, len(lines) - 2, 2)]


def game_runs(vexar, count, timeout=20):
    """The (folder, command line) of each start of the stand-in, once there are count of them (or what
    there is after timeout seconds)."""
    log = vexar.path(os.path.join('game', 'vexar-game.txt'))
    try:
        wait_for(lambda: len(standin_runs(log)) >= count, 'starts of the game', timeout)
    except Failure:
        pass  # the caller checks what there is
    return standin_runs(log)


def join_counts(vexar):
    return {s['address']: s['joins'] for s in read_servers(vexar, 'GS001.vexar')}


def select_server(vexar, title):
    index = [r['Server Title'] for r in vexar.pane_rows('VEXARPAD')].index(title)
    vexar.driver_ok('select-row', 'VEXARPAD', index)


def test_join_starts_the_game_in_its_folder_with_the_expanded_command_line(vexar, the_lab):
    lab.write_install_folder(vexar.folder)
    install_game(vexar)
    vexar.write('q3a.ini', '[models]\r\nmodel1=sarge\r\nmodel2=grism\r\n')
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    with vexar.awaiting_refresh(60000):
        vexar.answer(QUESTION, 'Yes')

    select_server(vexar, '^1Lab ^7Deathmatch')
    vexar.driver_ok('command', JOIN)
    title = 'Join: Lab Deathmatch'
    vexar.driver_ok('dlg-wait', title)
    check_equal(vexar.driver_ok('dlg-enabled', title, PASSWORD), ['0'], 'password box of an open server')
    check_equal(vexar.driver_ok('dlg-items', title, MODEL), ['sarge', 'grism'], 'models')
    vexar.driver_ok('dlg-text', title, NAME, 'Tester')
    vexar.driver_ok('dlg-select', title, MODEL, 'grism')
    vexar.driver_ok('dlg-click', title, SAVE_NAME)
    vexar.screenshot('join-dialog')
    vexar.driver_ok('dlg-click', title, JOIN_BUTTON)
    runs = game_runs(vexar, 1)
    check_equal(len(runs), 1, 'starts of the game')
    check_equal(runs[0][0].lower(), (vexar.windows_folder() + '\\game').lower(), 'working folder')
    check_equal(runs[0][1], '+connect 127.10.0.1:27960   +model grism +name "Tester" ', 'command line')

    # The passworded server as a spectator: the saved name and its model come back.
    select_server(vexar, '^2Private ^7Lab')
    vexar.driver_ok('key', VK_F8, 'alt')
    title = 'Join: Private Lab'
    vexar.driver_ok('dlg-wait', title)
    check_equal(vexar.driver_ok('dlg-read', title, NAME), ['Tester'], 'saved name')
    check_equal(vexar.driver_ok('dlg-read', title, MODEL), ['grism'], 'its model')
    vexar.driver_ok('dlg-click', title, JOIN_BUTTON)
    vexar.answer('A password must be entered!', 'OK')
    vexar.driver_ok('dlg-text', title, PASSWORD, 'secret')
    vexar.driver_ok('dlg-click', title, JOIN_BUTTON)
    runs = game_runs(vexar, 2)
    check_equal(runs[1:], [(runs[0][0], '+connect 127.10.0.3:27960 +password "secret"  +model grism +name "Tester" '
                                        '+setu team s')], 'spectator join')
    vexar.close()
    counts = join_counts(vexar)
    check_equal((counts['127.10.0.1'], counts['127.10.0.3'], counts['127.10.0.2']), (1, 1, 0), 'join counts')


def stored_server_folder(vexar, name):
    """One Quake 3 profile with one stored server, so that nothing needs refreshing."""
    vexar.write('gamesets.vexar', profiles_file([profile('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
    vexar.write('GS001.vexar', servers_file([server('127.0.0.1', 27960, name)]))
    vexar.write('BL001.vexar', buddies_file([]))
    vexar.write_ini('[games]\nactive=0\n[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n'
                    '[DDE]\nServer=LabIRC\n')


def start_irc(vexar, output):
    exe = os.path.join(vexar.build_dir, 'vexar-dde-server.exe')
    irc = subprocess.Popen([vexar.wine_loader, exe, 'LabIRC', 'COMMAND', output], env=vexar.env, cwd=vexar.folder,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    check_equal(irc.stdout.readline().strip(), b'ready', 'DDE server')
    return irc


def test_mirc_hears_the_join_with_0x7f_for_the_bar_and_the_game_starts_without_it(vexar, the_lab):
    stored_server_folder(vexar, 'Pipe|Server')
    install_game(vexar)
    vexar.write('q3a.ini', '[DDE]\r\nIRC=/me joins $server at $ip:$port [$name]\r\n')
    vexar.reset_registry({'NDF': 1, 'DIN': 1})
    irc = start_irc(vexar, vexar.windows_folder() + '\\irc.bin')
    try:
        vexar.start()
        vexar.driver_ok('select-row', 'VEXARPAD', 0)
        vexar.driver_ok('command', JOIN)
        title = 'Join: Pipe|Server'
        vexar.driver_ok('dlg-wait', title)
        check_equal(vexar.driver_ok('dlg-checked', title, NOTIFY), ['1'], 'notify box from DIN')
        vexar.driver_ok('dlg-text', title, NAME, 'Tester')
        vexar.driver_ok('dlg-click', title, JOIN_BUTTON)
        check_equal(len(game_runs(vexar, 1)), 1, 'starts of the game')
        check_equal(vexar.read('irc.bin'), b'/me joins \x031,0 Pipe\x7fServer\x031,0 at 127.0.0.1:27960 [Tester]\0',
                    'text received over DDE')
    finally:
        irc.kill()
        irc.wait()
    # Nobody listens any more: the message, and the game starts all the same.
    vexar.driver_ok('key', VK_F8)
    vexar.driver_ok('dlg-wait', title)
    vexar.driver_ok('dlg-click', title, JOIN_BUTTON)
    vexar.answer("Couldn't connect with IRC!", 'OK')
    check_equal(len(game_runs(vexar, 2)), 2, 'starts of the game without IRC')
    vexar.close()
    check_equal(join_counts(vexar)['127.0.0.1'], 2, 'join count')


BROWSE = 'Find Location of Game Program..'


def join_a_missing_program(vexar, name):
    """Joins the one stored server with the program where it is not; returns the stand-in's folder
    once the browse dialog is up."""
    stored_server_folder(vexar, name)
    game = install_game(vexar, folder=vexar.windows_folder() + '\\nowhere')
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.driver_ok('select-row', 'VEXARPAD', 0)
    vexar.driver_ok('command', JOIN)
    vexar.driver_ok('dlg-wait', 'Join: ' + name)
    vexar.driver_ok('dlg-click', 'Join: ' + name, JOIN_BUTTON)
    vexar.driver_ok('dlg-wait', BROWSE)
    return game


def test_missing_program_asks_for_it_and_cancel_starts_nothing(vexar, the_lab):
    game = join_a_missing_program(vexar, 'Lost Game')
    vexar.screenshot('join-browse')
    vexar.driver_ok('dlg-click', BROWSE, IDCANCEL)
    vexar.driver_ok('no-message', 1000)
    vexar.close()
    check_equal(game_runs(vexar, 1, timeout=1), [], 'starts of the game')
    check(os.path.isdir(game), 'stand-in folder')
    check_equal(join_counts(vexar)['127.0.0.1'], 0, 'join count')


def test_browse_writes_the_chosen_program_back_and_player_config_opens_in_wordpad(vexar, the_lab):
    game = join_a_missing_program(vexar, 'Found Game')
    # The program is found under another file name than the settings give: that one starts.
    os.rename(os.path.join(game, 'vexar-game.exe'), os.path.join(game, 'found-game.exe'))
    vexar.driver_ok('dlg-text', BROWSE, FILE_NAME, vexar.windows_folder() + '\\game\\found-game.exe')
    vexar.driver_ok('dlg-click', BROWSE, IDOK)
    check_equal(len(game_runs(vexar, 1)), 1, 'starts of the game')
    vexar.close()
    check_equal(vexar.ini(MOD_SECTION, 'Path'), vexar.windows_folder() + '\\game', 'Path written back')
    check_equal(vexar.ini(MOD_SECTION, 'Exe'), 'found-game.exe', 'Exe written back')

    # The config files that exist open in "WordPad" (here the stand-in under that name).
    os.makedirs(os.path.join(game, 'baseq3'))
    open(os.path.join(game, 'baseq3', 'q3config.cfg'), 'w').close()
    shutil.copy(os.path.join(vexar.build_dir, 'vexar-game.exe'), vexar.path('wordpad.exe'))
    vexar.start()
    vexar.driver_ok('select-row', 'VEXARPAD', 0)
    vexar.driver_ok('command', EDIT_PLAYER_CONFIG)
    runs = wait_for(lambda: standin_runs(vexar.path('vexar-game.txt')), 'the start of WordPad')
    check_equal(runs[0][1], '"%s\\game\\baseq3\\q3config.cfg"' % vexar.windows_folder(), 'WordPad command line')
    vexar.close()


TESTS = [
    test_join_starts_the_game_in_its_folder_with_the_expanded_command_line,
    test_mirc_hears_the_join_with_0x7f_for_the_bar_and_the_game_starts_without_it,
    test_missing_program_asks_for_it_and_cancel_starts_nothing,
    test_browse_writes_the_chosen_program_back_and_player_config_opens_in_wordpad,
]
