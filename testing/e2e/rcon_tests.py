"""End-to-end tests of the remote console of a Source engine game: a Team Fortress 2 profile with a
server added by hand, F4, and Source RCON over TCP to the fixture, whose own status is read back."""
import os
import socket
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lab'))

import lab  # noqa: E402
from harness import buddies_file, check, check_equal, profile, profiles_file, servers_file, wait_for  # noqa: E402
from vexar_ids import (IDC_ADD_ADDRESS, IDC_ADD_PORT, IDC_MAP_LIST, IDC_RCON_PASSWORD,  # noqa: E402
                       IDM_RCON_CHANGE_MAP, IDM_RCON_KICK, IDOK, VK_F4, VK_INSERT)

RC, PASSWORD_DIALOG, ADD = 'VEXARRC', 'Confirm Remote Control password', 'Add Server'
SOURCE_SERVER = ('127.10.6.1', 27015)
PLAYERS = ['Scout', 'Heavy Weapons Guy', 'Medic']


def source_rcon_status(address, password='secret'):
    """The fixture's "status" as a plain Source RCON client of our own reads it: (map, player names)."""
    def packet(request_id, kind, body):
        data = struct.pack('<ii', request_id, kind) + body.encode() + b'\0\0'
        return struct.pack('<i', len(data)) + data

    def read_packet(s):
        size = struct.unpack('<i', s.recv(4, socket.MSG_WAITALL))[0]
        data = s.recv(size, socket.MSG_WAITALL)
        return struct.unpack('<i', data[:4])[0], data[8:-2].decode(errors='replace')

    with socket.create_connection(address, timeout=5) as s:
        s.sendall(packet(1, 3, password))
        while read_packet(s)[0] != 1:
            pass
        s.sendall(packet(2, 2, 'status') + packet(3, 0, ''))
        text = ''
        while True:
            request_id, body = read_packet(s)
            if request_id == 3:
                break
            text += body
    rows = [line for line in text.splitlines() if line.startswith('#') and '"' in line]
    maps = [line.split(':')[1].split()[0] for line in text.splitlines() if line.startswith('map ')]
    return maps[0] if maps else '', sorted(line.split('"')[1] for line in rows)


def test_team_fortress_2_console_lists_the_status_players_and_kicks_one(vexar):
    fixtures = lab.Lab(os.environ['VEXAR_FIXTURES'], with_openarena=False)
    try:
        fixtures.start_fixture('source_rcon_fixture', *SOURCE_SERVER, '--quiet', '--name', 'Fortress Lab',
                               *sum((['--player', p] for p in PLAYERS), []))
        fixtures.start_fixture('a2s_fixture', *SOURCE_SERVER, '--quiet', '--name', 'Fortress Lab')
        check_equal(source_rcon_status(SOURCE_SERVER), ('ctf_2fort', sorted(PLAYERS)), 'the fixture\'s status')
        vexar.write('gamesets.vexar', profiles_file([profile('Team Fortress 2', 17, 17, '127.0.0.1', 27011, 1,
                                                             icon=17)], 1))
        vexar.write('GS001.vexar', servers_file([]))
        vexar.write('BL001.vexar', buddies_file([]))
        vexar.write_ini('[games]\nactive=0\n[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
        vexar.reset_registry({'NDF': 1, 'FSNR': -1})  # rows of servers without a status reply too
        vexar.start()
        vexar.answer("You don't have any servers to view", 'No')
        vexar.driver_ok('key', VK_INSERT)
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_ADDRESS, SOURCE_SERVER[0])
        vexar.driver_ok('dlg-text', ADD, IDC_ADD_PORT, str(SOURCE_SERVER[1]))
        vexar.driver_ok('dlg-click', ADD, IDOK)
        rows = wait_for(lambda: vexar.pane_rows('VEXARPAD') or None, 'the added server in the list')
        check_equal([r['Server Address'] for r in rows], ['%s:%d' % SOURCE_SERVER], 'the added server')
        vexar.driver_ok('wait-idle', 16000)  # the refresh that Add Server starts
        vexar.driver_ok('select-row', 'VEXARPAD', 0)
        vexar.driver_ok('key', VK_F4)
        vexar.driver_ok('dlg-wait', PASSWORD_DIALOG)
        vexar.driver_ok('dlg-text', PASSWORD_DIALOG, IDC_RCON_PASSWORD, 'secret')
        vexar.driver_ok('dlg-click', PASSWORD_DIALOG, IDOK)
        names = wait_for(lambda: sorted(r['Player'] for r in vexar.window_rows(RC)) or None, 'players in the console')
        check_equal(names, sorted(PLAYERS), 'players in the console against the fixture\'s status')
        vexar.screenshot('source-remote-control')
        chosen = [r['Player'] for r in vexar.window_rows(RC)].index('Heavy Weapons Guy')
        vexar.driver_ok('window-select-row', RC, chosen)
        vexar.driver_ok('window-command', RC, IDM_RCON_KICK)
        rest = sorted(p for p in PLAYERS if p != 'Heavy Weapons Guy')
        wait_for(lambda: sorted(r['Player'] for r in vexar.window_rows(RC)) == rest or None, 'the kicked row gone')
        check_equal(source_rcon_status(SOURCE_SERVER)[1], rest, 'the fixture\'s players after the kick')
        check('Kicked Heavy Weapons Guy' in '\n'.join(vexar.driver_ok('window-child-text', RC, 'Edit')),
              'the server\'s answer to the kick in the log')
        # Change Map lists the maps of "maps *" and sends "map" with the one chosen.
        vexar.driver_ok('window-command', RC, IDM_RCON_CHANGE_MAP)
        vexar.driver_ok('dlg-wait', 'Change Server Map')
        wait_for(lambda: vexar.driver('dlg-select', 'Change Server Map', IDC_MAP_LIST, 'cp_dustbowl')[0] == 0,
                 'cp_dustbowl in the list of maps')
        vexar.driver_ok('dlg-click', 'Change Server Map', IDOK)
        wait_for(lambda: source_rcon_status(SOURCE_SERVER)[0] == 'cp_dustbowl' or None, 'the map changed (fixture)')
        vexar.close()
    finally:
        fixtures.stop()


TESTS = [test_team_fortress_2_console_lists_the_status_players_and_kicks_one]
