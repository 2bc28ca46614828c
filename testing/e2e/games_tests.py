"""End-to-end tests of today's games: an OpenArena profile made through "Game Profile" whose master
is found by its host name, listing the lab's real OpenArena servers (checked against quakestat) and
joining one; a Nexuiz profile refreshing a server that replays a captured DarkPlaces reply."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import check, check_equal, read_servers  # noqa: E402
from network_tests import quakestat  # noqa: E402
from join_tests import game_runs, select_server  # noqa: E402
from vexar_ids import (IDC_GAMES_ADD, IDC_JOIN_NAME, IDC_PROFILE_GAME, IDC_PROFILE_MASTER,  # noqa: E402
                       IDC_PROFILE_PORT, IDC_PROFILE_TITLE, IDCANCEL, IDM_GAME_SETUP, IDM_JOIN, IDOK, VK_F9)

NEEDS_LAB = True
QUESTION = "You don't have any servers to view"


def add_openarena_profile(vexar):
    vexar.driver_ok('command', IDM_GAME_SETUP)
    vexar.driver_ok('dlg-wait', 'Installed Game(s)')
    vexar.driver_ok('dlg-click', 'Installed Game(s)', IDC_GAMES_ADD)
    vexar.driver_ok('dlg-wait', 'Game Profile')
    vexar.driver_ok('dlg-text', 'Game Profile', IDC_PROFILE_TITLE, 'OpenArena Lab')
    vexar.driver_ok('dlg-select', 'Game Profile', IDC_PROFILE_GAME, 'OpenArena')
    # The catalogue's master is a host name longer than the profile file holds.
    check_equal(vexar.driver_ok('dlg-read', 'Game Profile', IDC_PROFILE_MASTER), ['dpmaster.deathmask.net'],
                'default master')
    vexar.driver_ok('dlg-text', 'Game Profile', IDC_PROFILE_MASTER, 'localhost')
    vexar.driver_ok('dlg-text', 'Game Profile', IDC_PROFILE_PORT, str(lab.OA_MASTER[1]))
    vexar.driver_ok('dlg-click', 'Game Profile', IDOK)
    vexar.driver_ok('dlg-click', 'Installed Game(s)', IDCANCEL)


def test_openarena_profile_lists_the_lab_by_its_game_types_and_joins(vexar, the_lab):
    lab.write_install_folder(vexar.folder)
    lab.install_game_standin(vexar.folder, vexar.build_dir)
    vexar.env['VEXAR_GAME_EXIT'] = '1'
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.answer(QUESTION, 'No')
    add_openarena_profile(vexar)
    check_equal(vexar.driver_ok('tabs')[-1], 'OpenArena Lab', 'the new tab')
    check_equal(vexar.driver_ok('select-tab', 3), ['selected'], 'tab change')
    vexar.answer(QUESTION, 'No')  # its list is empty
    with vexar.awaiting_refresh(32000):  # the master's name is looked up first
        vexar.driver_ok('key', VK_F9)
    rows = {r['Server Title']: r for r in vexar.pane_rows('VEXARPAD')}
    check_equal(sorted(rows), sorted(name for _, name, _ in lab.OPENARENA_SERVERS), 'listed servers')

    select_server(vexar, '^1Lab ^7Deathmatch')
    vexar.driver_ok('command', IDM_JOIN)
    title = 'Join: Lab Deathmatch'
    vexar.driver_ok('dlg-wait', title)
    vexar.driver_ok('dlg-text', title, IDC_JOIN_NAME, 'Tester')
    vexar.driver_ok('dlg-click', title, IDOK)
    runs = game_runs(vexar, 1)
    check_equal([command for _, command in runs], ['+connect 127.10.0.1:27960    +name "Tester"'],
                "OpenArena's connect line")
    vexar.close()

    servers = {s['address']: s for s in read_servers(vexar, 'GS004.vexar')}
    check_equal(sorted(servers), sorted(a for a, _, _ in lab.OPENARENA_SERVERS), 'stored servers')
    for address, name, _ in lab.OPENARENA_SERVERS:
        s = servers[address]
        reference = quakestat('%s:27960' % address)
        check_equal((s['name'], s['map'], s['players']),
                    (reference['rules']['sv_hostname'], reference['map'], reference['players']),
                    'name, map and players of %s against quakestat' % address)
        check_equal((s['mod'], s['mod_index']), ('BaseOA', 1), 'mod of %s' % address)
        game_type = int(reference['rules']['g_gametype'])
        check_equal(s['type_index'], game_type + 1, 'game type of %s (g_gametype %d)' % (address, game_type))
        check(0 <= s['ping'] < 999, 'ping of %s measured: %d' % (address, s['ping']))
    check_equal(vexar.ini('masters', '004'), '', 'a short master name is kept in the profile alone')


def test_nexuiz_profile_refreshes_a_captured_darkplaces_server(vexar, the_lab):
    lab.write_install_folder(vexar.folder, todays_games=True)
    vexar.reset_registry({'NDF': 1})
    vexar.start()
    vexar.answer(QUESTION, 'No')  # the OpenArena tab
    check_equal(vexar.driver_ok('select-tab', 4), ['selected'], 'tab change')
    vexar.answer(QUESTION, 'No')  # its list is empty
    with vexar.awaiting_refresh(32000):
        vexar.driver_ok('key', VK_F9)
    vexar.close()
    servers = read_servers(vexar, 'GS005.vexar')
    check_equal([(s['address'], s['name'], s['map'], s['players'], s['mod']) for s in servers],
                [(lab.NEXUIZ_SERVER[0], 'Lab DM', 'downer', 2, 'Nexuiz')], 'the replayed server')
    check_equal(servers[0]['type_index'], 1, 'game type from qcstatus (dm)')


TESTS = [test_openarena_profile_lists_the_lab_by_its_game_types_and_joins,
         test_nexuiz_profile_refreshes_a_captured_darkplaces_server]
