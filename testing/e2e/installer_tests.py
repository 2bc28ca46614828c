"""End-to-end tests of vexar-setup.exe in a fresh prefix: the four files, InstallDir, the shortcuts read
back through the shell's link object, the launch of the installed browser, and the failures."""
import os
import subprocess

from harness import check, check_equal
from vexar_ids import (IDC_SETUP_BROWSE, IDC_SETUP_DESKTOP, IDC_SETUP_FOLDER, IDC_SETUP_LAUNCH, IDC_SETUP_START_MENU,
                       IDM_MINIMISE_TO_TRAY, IDOK)

FRESH_PREFIX = 'installer-prefix'
TITLE = 'Zorbexs Installer v1.0'
FOLDER, DESKTOP, START_MENU, LAUNCH = IDC_SETUP_FOLDER, IDC_SETUP_DESKTOP, IDC_SETUP_START_MENU, IDC_SETUP_LAUNCH
BROWSE, INSTALL = IDC_SETUP_BROWSE, IDOK
SUCCESS = 'Installation Successful!!!'
MINIMISE_TO_TRAY = IDM_MINIMISE_TO_TRAY


def start_setup(vexar):
    vexar.env['VEXAR_DRIVER_ANY_PROGRAM'] = '1'
    setup = subprocess.Popen([vexar.wine_loader, os.path.join(vexar.build_dir, 'vexar-setup.exe')], env=vexar.env,
                             cwd=vexar.folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    vexar.driver_ok('dlg-wait', TITLE, 30000)
    return setup


def payload(vexar, name):
    with open(os.path.join(vexar.build_dir, 'payload', name), 'rb') as f:
        return f.read()


def windows_path(path):
    return 'Z:' + path.replace('/', '\\')


def test_install_writes_the_files_the_folder_and_both_shortcuts(vexar):
    setup = start_setup(vexar)
    shown = vexar.driver_ok('dlg-read', TITLE, FOLDER)[0]
    check(shown.startswith('C:\\Program Files') and shown.endswith('\\Vexar'), 'default folder %r' % shown)
    check_equal([vexar.driver_ok('dlg-checked', TITLE, box)[0] for box in (DESKTOP, START_MENU, LAUNCH)],
                ['1', '1', '0'], 'options')
    # Installing over an older installation: its settings file is replaced, its lists stay.
    target = vexar.path('Vexar')
    os.makedirs(target)
    vexar.write('Vexar/vexar.ini', '[games]\r\nactive=3\r\n')
    vexar.write('Vexar/GS001.vexar', b'list')
    vexar.driver_ok('dlg-text', TITLE, FOLDER, windows_path(target))
    vexar.screenshot('installer')
    vexar.driver_ok('dlg-click', TITLE, INSTALL)
    vexar.answer(SUCCESS, 'OK')
    check_equal(setup.wait(timeout=30), 0, 'exit code')

    with open(os.path.join(vexar.build_dir, 'vexar.exe'), 'rb') as f:
        check(vexar.read('Vexar/vexar.exe') == f.read(), 'vexar.exe is the built program')
    check_equal(vexar.read('Vexar/vexar.ini'), payload(vexar, 'vexar.ini'), 'vexar.ini')
    for scheme in ('sky-zox.vxc', 'metallic-rook.vxc'):
        check_equal(vexar.read('Vexar/Colour Schemes/' + scheme), payload(vexar, scheme), scheme)
    check_equal(vexar.read('Vexar/GS001.vexar'), b'list', 'server list left alone')
    check_equal(sorted(os.listdir(target)), ['Colour Schemes', 'GS001.vexar', 'vexar.exe', 'vexar.ini'], 'files')
    check_equal(vexar.driver_ok('reg-text', 'InstallDir'), [windows_path(target)], 'InstallDir')
    for folder in ('desktop', 'startmenu'):
        link = vexar.driver_ok('special-folder', folder)[0] + '\\Vexar!.lnk'
        check_equal(vexar.driver_ok('link-target', link),
                    [windows_path(target) + '\\vexar.exe', 'Vexar! Internet Game Finder'], folder + ' link')


def test_empty_relative_and_unreachable_folders_fail_and_the_launch_starts_the_installed_browser(vexar):
    setup = start_setup(vexar)
    vexar.driver_ok('dlg-text', TITLE, FOLDER, '')
    vexar.driver_ok('dlg-click', TITLE, INSTALL)
    check_equal(vexar.driver('answer', SUCCESS, 'OK', 1000)[0], 1, 'no success message for an empty folder')
    # A relative folder would be taken from the installer's working folder (here the test's).
    for relative in ('Vexar', 'C:Vexar', '\\Vexar'):
        vexar.driver_ok('dlg-text', TITLE, FOLDER, relative)
        vexar.driver_ok('dlg-click', TITLE, INSTALL)
        vexar.answer('Please give the whole path of the installation folder', 'OK')
    check(not os.path.exists(vexar.path('Vexar')), 'nothing installed in the working folder')
    vexar.driver_ok('dlg-text', TITLE, FOLDER, windows_path(vexar.path('missing/Vexar')))
    vexar.driver_ok('dlg-click', TITLE, INSTALL)
    failure = vexar.answer('The installation did not complete', 'OK')
    check_equal(failure[-1], "Couldn't create the folder %s (error 3)" % windows_path(vexar.path('missing/Vexar')),
                'failure message')
    install_dir = vexar.driver_ok('reg-text', 'InstallDir')
    check('missing' not in install_dir[0], 'InstallDir after a failed install: %r' % install_dir)
    check(not os.path.exists(vexar.path('missing')), 'nothing written')

    target = vexar.path('Games')
    vexar.driver_ok('dlg-text', TITLE, FOLDER, windows_path(target))
    for box in (DESKTOP, START_MENU, LAUNCH):
        vexar.driver_ok('dlg-click', TITLE, box)
    vexar.driver_ok('dlg-click', TITLE, INSTALL)
    vexar.answer(SUCCESS, 'OK')
    check_equal(setup.wait(timeout=30), 0, 'exit code')
    # The installed browser starts from its folder with the installed settings (tray option on).
    del vexar.env['VEXAR_DRIVER_ANY_PROGRAM']
    vexar.driver_ok('wait-main', 30000)
    vexar.answer("You don't have any servers to view", 'No')
    vexar.answer('This is the first time', 'OK')
    vexar.driver('answer', 'Could not connect', 'OK', 3000)
    check_equal(vexar.driver_ok('menu-state', MINIMISE_TO_TRAY), ['checked'], 'tray option from the installed INI')
    vexar.close(wait_exit=False)
    check(os.path.exists(os.path.join(target, 'gamesets.vexar')), 'the browser wrote its profiles there')
    desktop = vexar.driver_ok('special-folder', 'desktop')[0]
    check_equal(vexar.wine('cmd', '/c', 'if exist "%s\\Vexar!.lnk" echo yes' % desktop).stdout.strip(), '',
                'no desktop link')


TESTS = [
    test_install_writes_the_files_the_folder_and_both_shortcuts,
    test_empty_relative_and_unreachable_folders_fail_and_the_launch_starts_the_installed_browser,
]
