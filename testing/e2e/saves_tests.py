"""End-to-end tests of the saves made while the program runs: the lists are on disk while it still
runs, so a kill loses nothing older than the coalescing interval, and the end of the session writes
everything and ends the program without asking."""
import os

import farm
from harness import (check, check_equal, profile, profiles_file, read_buddies, read_servers, server,
                     servers_file, wait_for)
from vexar_ids import (IDC_BUDDY_NAME, IDCANCEL, IDM_ADD_BUDDY, IDM_MARK_FAVOURITE, IDOK, VK_F9,
                       WM_ENDSESSION, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_QUERYENDSESSION)

QUESTION = "You don't have any servers to view"
ENDSESSION_LOGOFF = 0x80000000
SERVERS = [('10.1.0.1', 27960, 'First'), ('10.1.0.2', 27960, 'Second'), ('10.1.0.3', 27961, 'Third')]


def stored_size(vexar, name):
    return len(vexar.read(name)) if vexar.exists(name) else 0


def titles(vexar):
    return [r['Server Title'] for r in vexar.pane_rows('VEXARPAD')]


def addresses(vexar):
    return sorted(r['Server Address'] for r in vexar.pane_rows('VEXARPAD'))


def start_with_list(vexar):
    """Three stored servers (no network needed), favourites listed first."""
    vexar.write('gamesets.vexar', profiles_file([profile('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, icon=2)], 1))
    vexar.write('GS001.vexar', servers_file([server(a, p, n) for a, p, n in SERVERS]))
    vexar.write_ini('[WINDOW]\nUSETRAY=0\n[endpoints]\nversionserver=127.0.0.1\n')
    vexar.reset_registry({'NDF': 1, 'FSFAT': 1})
    vexar.start()
    check_equal(titles(vexar), [n for _, _, n in SERVERS], 'rows at the start')


def favourite_and_buddy(vexar):
    """Marks the third server as favourite and adds the buddy "Keeper"."""
    vexar.driver_ok('select-row', 'VEXARPAD', 2)
    vexar.driver_ok('command', IDM_MARK_FAVOURITE)
    vexar.driver_ok('command', IDM_ADD_BUDDY)
    vexar.driver_ok('dlg-wait', 'Add Buddy')
    vexar.driver_ok('dlg-text', 'Add Buddy', IDC_BUDDY_NAME, 'Keeper')
    vexar.driver_ok('dlg-click', 'Add Buddy', IDOK)
    vexar.driver_ok('dlg-click', 'Add Buddy', IDCANCEL)


def favourites(vexar):
    return [s['favourite'] for s in read_servers(vexar, 'GS001.vexar')] if vexar.exists('GS001.vexar') else []


def buddies(vexar):
    return read_buddies(vexar, 'BL001.vexar') if vexar.exists('BL001.vexar') else []


def check_restart_shows_them(vexar):
    vexar.start()
    check_equal(titles(vexar)[0], 'Third', 'the favourite listed first after the restart')
    check_equal([r['Buddy'] for r in vexar.pane_rows('VXBUDDIES')], ['Keeper'], 'buddies after the restart')
    vexar.close()


def test_a_refreshed_list_is_on_disk_while_running_and_comes_back_after_a_kill(vexar):
    fixtures = os.environ.get('VEXAR_FIXTURES', os.path.join(vexar.build_dir, '..', 'native', 'testing', 'fixtures'))
    the_farm = farm.Farm(os.path.abspath(fixtures), 40).start()
    try:
        farm.write_install_folder(vexar.folder)
        vexar.reset_registry({'NDF': 1})
        vexar.start()
        vexar.answer(QUESTION, 'No')
        with vexar.awaiting_refresh(120000):
            vexar.driver_ok('key', VK_F9)
        shown = addresses(vexar)
        live = sorted(s.key for s in the_farm.servers if not s.silent)
        check_equal(shown, live, 'servers that answered')
        wait_for(lambda: stored_size(vexar, 'GS001.vexar') == 40 * 1640, 'the refreshed list on disk', 15)
        on_disk = {'%s:%d' % (s['address'], s['port']): s for s in read_servers(vexar, 'GS001.vexar')}
        check_equal(sorted(k for k, s in on_disk.items() if s['ping'] < 9999), live, 'answered servers on disk')
        check(all(not s['name'].startswith('~ New Server') for s in on_disk.values()), 'every server refreshed')
        vexar.kill()
        vexar.start()
        check_equal(addresses(vexar), live, 'servers shown after the kill and a restart')
        vexar.close()
    finally:
        the_farm.cleanup()


def test_a_favourite_and_a_buddy_made_just_before_a_kill_come_back(vexar):
    start_with_list(vexar)
    favourite_and_buddy(vexar)
    wait_for(lambda: favourites(vexar) == [0, 0, 1], 'the favourite on disk', 15)
    wait_for(lambda: buddies(vexar) == ['Keeper'], 'the buddy on disk', 15)
    vexar.kill()
    check_restart_shows_them(vexar)


def test_the_end_of_the_session_writes_everything_and_ends_the_program(vexar):
    start_with_list(vexar)
    favourite_and_buddy(vexar)
    # The splitters are stored only by the close and the session's end.
    for message, x in ((WM_LBUTTONDOWN, 202), (WM_MOUSEMOVE, 302), (WM_LBUTTONUP, 302)):
        vexar.driver_ok('mouse', message, x, 100)
    check_equal(vexar.driver_ok('send', WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), ['1'], 'the answer to the query')
    vexar.driver_ok('send', WM_ENDSESSION, 1, ENDSESSION_LOGOFF)
    check_equal(vexar.wait_exit(), 0, 'exit code after the end of the session')
    check_equal(favourites(vexar), [0, 0, 1], 'favourites on disk')
    check_equal(buddies(vexar), ['Keeper'], 'buddies on disk')
    check_equal(vexar.ini('window', 'state'), '0', 'window state in the INI file')
    check_equal(vexar.driver_ok('reg-dword', 'WSP'), ['300'], 'splitter in the registry')
    check_restart_shows_them(vexar)


TESTS = [
    test_a_refreshed_list_is_on_disk_while_running_and_comes_back_after_a_kill,
    test_a_favourite_and_a_buddy_made_just_before_a_kill_come_back,
    test_the_end_of_the_session_writes_everything_and_ends_the_program,
]
