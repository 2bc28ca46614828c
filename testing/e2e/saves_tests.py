"""End-to-end tests of the saves made while the program runs: the lists are on disk while it still
runs, so a kill loses nothing older than the coalescing interval, and the end of the session writes
everything and ends the program without asking."""
import os
import struct
import time

import farm
from harness import check, check_equal, profile_image, profiles_file, read_servers, server_record

QUESTION = "You don't have any servers to view"
F9 = 0x78
MARK_FAVOURITE, ADD_BUDDY = 40118, 40023
BUDDY_NAME, OK, CANCEL = 1001, 1, 2
WM_QUERYENDSESSION, WM_ENDSESSION, ENDSESSION_LOGOFF = 0x11, 0x16, 0x80000000
SERVERS = [('10.1.0.1', 27960, 'First'), ('10.1.0.2', 27960, 'Second'), ('10.1.0.3', 27961, 'Third')]


def wait_for(what, condition, seconds=15):
    """Polls until condition() is true; the coalescing interval is 2 s."""
    deadline = time.monotonic() + seconds
    while not condition():
        check(time.monotonic() < deadline, 'not within %d s: %s' % (seconds, what))
        time.sleep(0.2)


def stored(vexar, name):
    return vexar.read(name) if vexar.exists(name) else b''


def rows(vexar, pane='VEXARPAD'):
    return [row.split('\t') for row in vexar.driver_ok('rows', pane)]


def start_with_list(vexar):
    """Three stored servers (no network needed), favourites listed first."""
    vexar.write('gamesets.vexar', profiles_file([profile_image('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
    vexar.write('GS001.vexar', b''.join(server_record(a, p, n) for a, p, n in SERVERS))
    vexar.write_ini('[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
    vexar.reset_registry({'NDF': 1, 'FSFAT': 1})
    vexar.start()
    check_equal([r[3] for r in rows(vexar)], [n for _, _, n in SERVERS], 'rows at the start')


def favourite_and_buddy(vexar):
    """Marks the third server as favourite and adds the buddy "Keeper"."""
    vexar.driver_ok('select-row', 'VEXARPAD', 2)
    vexar.driver_ok('command', MARK_FAVOURITE)
    vexar.driver_ok('command', ADD_BUDDY)
    vexar.driver_ok('dlg-wait', 'Add Buddy')
    vexar.driver_ok('dlg-text', 'Add Buddy', BUDDY_NAME, 'Keeper')
    vexar.driver_ok('dlg-click', 'Add Buddy', OK)
    vexar.driver_ok('dlg-click', 'Add Buddy', CANCEL)


def favourites(vexar):
    data = stored(vexar, 'GS001.vexar')
    return [struct.unpack_from('<I', data, i * 1640 + 936)[0] for i in range(len(data) // 1640)]


def check_restart_shows_them(vexar):
    vexar.start()
    check_equal([r[3] for r in rows(vexar)][0], 'Third', 'the favourite listed first after the restart')
    check_equal([r[0] for r in rows(vexar, 'VXBUDDIES')], ['Keeper'], 'buddies after the restart')
    vexar.close()


def test_a_refreshed_list_is_on_disk_while_running_and_comes_back_after_a_kill(vexar):
    fixtures = os.environ.get('VEXAR_FIXTURES', os.path.join(vexar.build_dir, '..', 'native', 'testing', 'fixtures'))
    the_farm = farm.Farm(os.path.abspath(fixtures), 40).start()
    try:
        farm.write_install_folder(vexar.folder)
        vexar.reset_registry({'NDF': 1})
        vexar.start()
        vexar.answer(QUESTION, 'No')
        vexar.driver_ok('key', F9)
        time.sleep(1)
        vexar.driver_ok('wait-idle', 120000, timeout=180)
        shown = sorted(r[9] for r in rows(vexar))
        live = sorted(s.key for s in the_farm.servers if not s.silent)
        check_equal(shown, live, 'servers that answered')
        wait_for('the refreshed list on disk', lambda: len(stored(vexar, 'GS001.vexar')) == 40 * 1640)
        on_disk = {'%s:%d' % (s['address'], s['port']): s for s in read_servers(vexar, 'GS001.vexar')}
        check_equal(sorted(k for k, s in on_disk.items() if s['ping'] < 9999), live, 'answered servers on disk')
        check(all(not s['name'].startswith('~ New Server') for s in on_disk.values()), 'every server refreshed')
        vexar.kill()
        vexar.start()
        check_equal(sorted(r[9] for r in rows(vexar)), live, 'servers shown after the kill and a restart')
        vexar.close()
    finally:
        the_farm.cleanup()


def test_a_favourite_and_a_buddy_made_just_before_a_kill_come_back(vexar):
    start_with_list(vexar)
    favourite_and_buddy(vexar)
    wait_for('the favourite on disk', lambda: favourites(vexar) == [0, 0, 1])
    wait_for('the buddy on disk', lambda: stored(vexar, 'BL001.vexar') == b'Keeper'.ljust(50, b'\0'))
    vexar.kill()
    check_restart_shows_them(vexar)


def test_the_end_of_the_session_writes_everything_and_ends_the_program(vexar):
    start_with_list(vexar)
    favourite_and_buddy(vexar)
    # The splitters are stored only by the close and the session's end.
    for message, x in ((0x0201, 202), (0x0200, 302), (0x0202, 302)):
        vexar.driver_ok('mouse', message, x, 100)
    check_equal(vexar.driver_ok('send', WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), ['1'], 'the answer to the query')
    vexar.driver_ok('send', WM_ENDSESSION, 1, ENDSESSION_LOGOFF)
    check_equal(vexar.wait_exit(), 0, 'exit code after the end of the session')
    check_equal(favourites(vexar), [0, 0, 1], 'favourites on disk')
    check_equal(stored(vexar, 'BL001.vexar'), b'Keeper'.ljust(50, b'\0'), 'buddies on disk')
    check_equal(vexar.ini('window', 'state'), '0', 'window state in the INI file')
    check_equal(vexar.driver_ok('reg-dword', 'WSP'), ['300'], 'splitter in the registry')
    check_restart_shows_them(vexar)


TESTS = [
    test_a_refreshed_list_is_on_disk_while_running_and_comes_back_after_a_kill,
    test_a_favourite_and_a_buddy_made_just_before_a_kill_come_back,
    test_the_end_of_the_session_writes_everything_and_ends_the_program,
]
