"""End-to-end tests of the application shell: start-up, single instance, geometry, display options."""
import os
import struct

from harness import (buddies_file, check, check_equal, profile, profiles_file, read_profiles, server,
                     servers_file)
from vexar_ids import (IDC_SCHEME_DEFAULTS, IDC_SCHEME_LOAD, IDC_SCHEME_SAVE, IDCANCEL, IDM_COLOUR_PREFERENCES,
                       IDM_EXPORT_BUDDIES, IDM_EXPORT_SERVERS, IDM_FAVOURITES_ON_TOP, IDM_IMPORT_BUDDIES,
                       IDM_IMPORT_SERVERS, IDM_SHOW_BOTS, IDM_SHOW_EMPTY, IDM_SHOW_FULL, IDM_SHOW_NO_REPLY,
                       IDM_SHOW_PASSWORDED, IDM_VISITED_ON_TOP, IDOK, SW_MAXIMIZE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                       WM_MOUSEMOVE, cmb13)

QUESTION = "You don't have any servers to view"
FIRST_RUN = 'This is the first time you have run this new version of Vexar!'


def start_quietly(vexar, ini=None, registry=None, profiles=None):
    """Starts with the first-run message already shown and answers No to the offer of a master query."""
    values = {'NDF': 1}
    values.update(registry or {})
    vexar.reset_registry(values)
    if ini:
        vexar.write_ini(ini)
    if profiles:
        vexar.write('gamesets.vexar', profiles)
    vexar.start()


def test_first_start_with_empty_folder_and_registry(vexar):
    vexar.reset_registry()
    vexar.start()
    vexar.answer(QUESTION, 'No')
    vexar.answer(FIRST_RUN, 'OK')
    # The first-run master query goes to the game's public master, which is unreachable here.
    vexar.driver('answer', 'Could not connect', 'OK', 3000)
    tabs = vexar.driver_ok('tabs')
    check_equal(tabs, ['0', 'Star Trek Voyager Elite Force'], 'tabs')
    vexar.screenshot('first-start')
    vexar.close()
    stored = read_profiles(vexar)
    check_equal((stored['count'], stored['last_file_number'], len(stored['profiles']), stored['trailing_bytes']),
                (1, 1, 1, 0), 'count, last file number, profiles and bytes after them in gamesets.vexar')
    check(vexar.exists('GS001.vexar'), 'GS001.vexar written')
    check(vexar.exists('BL001.vexar'), 'BL001.vexar written')
    check_equal(vexar.driver_ok('reg-dword', 'NDF'), ['1'], 'NDF')
    check_equal(vexar.driver_ok('reg-dword', 'WSP'), ['200'], 'WSP')
    check_equal(vexar.driver_ok('reg-dword', 'WSPSD'), ['300'], 'WSPSD')
    check_equal(vexar.driver_ok('reg-dword', 'WSPPL'), ['300'], 'WSPPL')
    check_equal(vexar.ini('games', 'active'), '0', 'INI games/active')
    check_equal(vexar.ini('window', 'state'), '0', 'INI window/state')


def test_second_start_exits_and_leaves_one_window(vexar):
    start_quietly(vexar)
    vexar.answer(QUESTION, 'No')
    second = vexar.wine(vexar.build_dir + '/vexar.exe', timeout=60)
    check_equal(second.returncode, 0, 'exit code of the second copy')
    check_equal(vexar.driver_ok('count-windows', 'VEXAR'), ['1'], 'main windows')
    vexar.close()


def test_geometry_and_splitters_survive_a_restart(vexar):
    start_quietly(vexar, registry={'WXY': (100 << 16) | 50, 'WWH': (700 << 16) | 850})
    vexar.answer(QUESTION, 'No')
    before = vexar.driver_ok('rect', 'VXBUDDIES')
    check_equal(before[0].split()[2], '195', 'buddy pane width at the default splitter')
    # Drag the vertical bar from 202 to 302.
    vexar.driver_ok('mouse', WM_LBUTTONDOWN, 202, 100)
    vexar.driver_ok('mouse', WM_MOUSEMOVE, 302, 100)
    vexar.driver_ok('mouse', WM_LBUTTONUP, 302, 100)
    vexar.close()
    check_equal(vexar.driver_ok('reg-dword', 'WSP'), ['300'], 'WSP after the drag')
    check_equal(vexar.driver_ok('reg-dword', 'WXY'), [str((100 << 16) | 50)], 'WXY')
    check_equal(vexar.driver_ok('reg-dword', 'WWH'), [str((700 << 16) | 850)], 'WWH')

    vexar.start()
    vexar.answer(QUESTION, 'No')
    after = vexar.driver_ok('rect', 'VXBUDDIES')
    check_equal(after[0].split()[2], '295', 'buddy pane width after the restart')
    vexar.driver_ok('show', SW_MAXIMIZE)
    vexar.close()
    check_equal(vexar.driver_ok('reg-dword', 'WXY'), [str((100 << 16) | 50)], 'WXY after a maximised close')
    check_equal(vexar.driver_ok('reg-dword', 'WWH'), [str((700 << 16) | 850)], 'WWH after a maximised close')
    check_equal(vexar.driver_ok('reg-dword', 'WST'), ['1'], 'WST after a maximised close')
    check_equal(vexar.ini('window', 'state'), '2', 'window state')


def test_display_options_toggle_marks_and_registry(vexar):
    start_quietly(vexar)
    vexar.answer(QUESTION, 'No')
    cases = [  # command, value, value when toggled once, checked when toggled once
        (IDM_SHOW_PASSWORDED, 'SLS', 'text:1', False), (IDM_SHOW_FULL, 'FSF', '1', False),
        (IDM_SHOW_EMPTY, 'SE', 'text:1', False), (IDM_SHOW_BOTS, 'SB', '4294967295', True),
        (IDM_SHOW_NO_REPLY, 'FSNR', '4294967295', True), (IDM_VISITED_ON_TOP, 'FSPO', '1', True),
        (IDM_FAVOURITES_ON_TOP, 'FSFAT', '1', True),
    ]
    for command, value, on, checked in cases:
        check_equal(vexar.driver_ok('menu-state', command), ['unchecked' if checked else 'checked'], 'mark of %d' % command)
        vexar.driver_ok('command', command)
        check_equal(vexar.driver_ok('menu-state', command), ['checked' if checked else 'unchecked'],
                    'mark of %d after a toggle' % command)
        check_equal(vexar.driver_ok('reg-dword', value), [on], value)
        vexar.driver_ok('command', command)
        check_equal(vexar.driver_ok('menu-state', command), ['unchecked' if checked else 'checked'],
                    'mark of %d after two toggles' % command)
    # Ctrl+E and Import/Export do nothing: no message, no value.
    vexar.driver_ok('key', ord('E'), 'ctrl')
    for command in (IDM_IMPORT_BUDDIES, IDM_IMPORT_SERVERS, IDM_EXPORT_BUDDIES, IDM_EXPORT_SERVERS):
        vexar.driver_ok('command', command)
    vexar.driver_ok('no-message', 500)
    check_equal(vexar.driver_ok('menu-state', IDM_SHOW_EMPTY), ['checked'], 'Show Empty after Ctrl+E')
    check_equal(vexar.driver_ok('reg-dword', 'SE'), ['text:0'], 'SE after Ctrl+E')
    vexar.close()



def test_colour_scheme_load_cancel_save_and_defaults(vexar):
    """Load then Cancel keeps the colours; Save writes them with the loaded file's last 16 bytes;
    Defaults and OK give the profile the dark green selection bar."""
    os.makedirs(vexar.path('Colour Schemes'))
    shipped = bytes(range(0x40, 0x80))
    vexar.write('Colour Schemes/shipped.vxc', shipped)
    vexar.write('gamesets.vexar', profiles_file([profile('Quake 3 Arena', 1, 68, '127.0.0.1', 9, 1, 2)], 1))
    before = tuple(read_profiles(vexar)['profiles'][0]['colours'])
    start_quietly(vexar)
    vexar.answer(QUESTION, 'No')
    scheme, load, save = 'Game Colour Scheme', 'Open Vexar! Colour Scheme...', 'Save As'

    def choose_file(title, name):
        vexar.driver_ok('dlg-wait', title)
        vexar.driver_ok('dlg-text', title, cmb13, name)  # the file name box
        vexar.driver_ok('dlg-click', title, IDOK)

    vexar.driver_ok('command', IDM_COLOUR_PREFERENCES)
    vexar.driver_ok('dlg-wait', scheme)
    vexar.driver_ok('dlg-click', scheme, IDC_SCHEME_LOAD)
    choose_file(load, 'shipped.vxc')
    vexar.driver_ok('dlg-click', scheme, IDCANCEL)
    vexar.driver_ok('command', IDM_COLOUR_PREFERENCES)
    vexar.driver_ok('dlg-wait', scheme)
    vexar.driver_ok('dlg-click', scheme, IDC_SCHEME_SAVE)
    choose_file(save, vexar.windows_folder() + '\\Colour Schemes\\mine')
    vexar.driver_ok('dlg-click', scheme, IDC_SCHEME_DEFAULTS)
    vexar.screenshot('colour-scheme')
    vexar.driver_ok('dlg-click', scheme, IDOK)
    vexar.close()
    colours = read_profiles(vexar)['profiles'][0]['colours']
    saved = vexar.read('Colour Schemes/mine.vxc')
    check_equal(len(saved), 64, 'size of the saved scheme')
    # The save came before Defaults: the new profile's colours, halves swapped, and the loaded
    # file's slots 12-15.
    check_equal(struct.unpack_from('<12I', saved), before[6:] + before[:6], 'saved scheme')
    check_equal(saved[48:], shipped[48:], 'slots 12 to 15 carried from the loaded file')
    check_equal(colours[5], 0x008000, 'selection bar after Defaults')


def test_profile_whose_tab_was_never_opened_keeps_its_files(vexar):
    images = [profile('First', 1, 68, '127.0.0.1', 27950, 1), profile('Second', 1, 68, '127.0.0.1', 27950, 2)]
    untouched = bytes(range(256)) * 7  # not even a whole record
    vexar.write('GS002.vexar', untouched)
    vexar.write('BL002.vexar', b'x' * 50)
    start_quietly(vexar, profiles=profiles_file(images, 2))
    vexar.answer(QUESTION, 'No')
    check_equal(vexar.driver_ok('tabs'), ['0', 'First', 'Second'], 'tabs')
    vexar.close()
    check_equal(vexar.read('GS002.vexar'), untouched, 'GS002.vexar')
    check_equal(vexar.read('BL002.vexar'), b'x' * 50, 'BL002.vexar')
    stored = read_profiles(vexar)
    check_equal((stored['count'], [p['title'] for p in stored['profiles']], stored['trailing_bytes']),
                (2, ['First', 'Second'], 0), 'profiles in gamesets.vexar')


def test_stored_lists_are_shown_without_a_refresh_and_written_back_unchanged(vexar):
    images = [profile('Quake 3 Arena', 1, 68, '127.0.0.1', 27950, 1)]
    stored = servers_file([
        server('127.10.0.1', 27960, '^1Stored ^7One', ping=40, map_name='oa_dm1', max_players=12),
        server('127.10.0.2', 27960, 'Second', ping=120, map_name='oa_dm4'),
        server('127.10.0.3', 27961, '^3Third', ping=9999, map_name='', max_players=0),
    ])
    buddies = buddies_file(['Sarge', '^1Grism'])
    vexar.write('GS001.vexar', stored)
    vexar.write('BL001.vexar', buddies)
    start_quietly(vexar, profiles=profiles_file(images, 1), registry={'FSNR': 0xFFFFFFFF})
    vexar.driver_ok('no-message', 1000)  # servers are there: no offer of a master query, no refresh
    rows = vexar.pane_rows('VEXARPAD')
    check_equal(len(rows), 3, 'rows of the stored servers')
    names = sorted(row['Server Title'] for row in rows)
    check_equal(names, ['Second', '^1Stored ^7One', '^3Third'], 'server titles')
    check_equal([r['Buddy'] for r in vexar.pane_rows('VXBUDDIES')], ['Sarge', '^1Grism'], 'buddies')
    vexar.close()
    check_equal(vexar.read('GS001.vexar'), stored, 'GS001.vexar after closing')
    check_equal(vexar.read('BL001.vexar'), buddies, 'BL001.vexar after closing')


TESTS = [
    test_stored_lists_are_shown_without_a_refresh_and_written_back_unchanged,
    test_first_start_with_empty_folder_and_registry,
    test_second_start_exits_and_leaves_one_window,
    test_geometry_and_splitters_survive_a_restart,
    test_display_options_toggle_marks_and_registry,
    test_profile_whose_tab_was_never_opened_keeps_its_files,
    test_colour_scheme_load_cancel_save_and_defaults,
]
