"""End-to-end tests of the refresh pace against the server farm: the pace chosen in Network
Preferences, the pings of a Fast refresh against the farm's delays, and the Classic pace counted
where the requests arrive."""
import os
import time

import farm
from harness import check, check_equal, read_servers
from vexar_ids import IDC_NET_PRESET, IDCANCEL, IDM_NETWORK_PREFERENCES, IDOK, VK_F9

QUESTION = "You don't have any servers to view"
NETWORK_PREFERENCES, PREFERENCES = IDM_NETWORK_PREFERENCES, 'Network Preferences'
PRESET = IDC_NET_PRESET
OK, CANCEL = IDOK, IDCANCEL


def start_farm(vexar, count):
    fixtures = os.environ.get('VEXAR_FIXTURES', os.path.join(vexar.build_dir, '..', 'native', 'testing', 'fixtures'))
    return farm.Farm(os.path.abspath(fixtures), count).start()


def choose_pace(vexar, before, after):
    vexar.driver_ok('command', NETWORK_PREFERENCES)
    vexar.driver_ok('dlg-wait', PREFERENCES)
    check_equal(vexar.driver_ok('dlg-read', PREFERENCES, PRESET), [before], 'pace shown')
    vexar.driver_ok('dlg-select', PREFERENCES, PRESET, after)
    vexar.driver_ok('dlg-click', PREFERENCES, OK)


def refresh_from_master(vexar):
    """F9, then the end of the master query and of the refresh it starts; the program is closed so
    that it writes its list."""
    with vexar.awaiting_refresh(120000):
        vexar.driver_ok('key', VK_F9)
    vexar.close()
    return {'%s:%d' % (s['address'], s['port']): s for s in read_servers(vexar, 'GS001.vexar')}


def check_pings(stored, the_farm, since_ns, bounded=True):
    """Every farm server is listed and was asked once; a silent one is unanswered, a live one answered
    and, when bounded, has a ping no shorter than its delay (less the whole-millisecond rounding) and
    at most 150 ms longer than the farm took to send its reply."""
    check_equal(sorted(stored), sorted(s.key for s in the_farm.servers), 'listed servers')
    events = the_farm.events(since_ns)
    asked = [e.server for e in events if e.kind == 'q']
    check_equal(sorted(asked), list(range(len(the_farm.servers))), 'servers asked, each once')
    arrival = {e.server: e.ns for e in events if e.kind == 'q'}
    sent = {e.server: e.ns for e in events if e.kind == 'a'}
    unanswered, off = [], []
    for number, server in enumerate(the_farm.servers):
        ping = stored[server.key]['ping']
        if server.silent:
            check_equal(ping, 9999, 'ping of the silent server %s' % server.key)
        elif ping == 9999:
            unanswered.append(server.key)
        elif bounded:
            took_ms = (sent[number] - arrival[number]) / 1e6
            if not server.delay_ms - 1 <= ping <= took_ms + 150:
                off.append('%s: ping %d, delay %d ms, answered after %.1f ms' % (server.key, ping, server.delay_ms,
                                                                                 took_ms))
    live = sum(1 for s in the_farm.servers if not s.silent)
    check(not unanswered and not off, '%d of %d live servers unanswered (e.g. %s), %d pings out of bounds (e.g. %s)' %
          (len(unanswered), live, unanswered[:2], len(off), off[:2]))


def test_fast_times_every_live_server_of_a_farm_and_stays_chosen(vexar):
    the_farm = start_farm(vexar, 300)
    try:
        farm.write_install_folder(vexar.folder)
        vexar.reset_registry({'NDF': 1})
        vexar.start()
        vexar.answer(QUESTION, 'No')
        choose_pace(vexar, 'Classic', 'Fast')
        check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['1'], 'Fast stored')
        since = time.monotonic_ns()
        check_pings(refresh_from_master(vexar), the_farm, since)
        vexar.start()
        vexar.driver_ok('command', NETWORK_PREFERENCES)
        check_equal(vexar.driver_ok('dlg-read', PREFERENCES, PRESET), ['Fast'], 'pace after a restart')
        vexar.driver_ok('dlg-click', PREFERENCES, CANCEL)
        vexar.close()
    finally:
        the_farm.cleanup()


def test_classic_chosen_again_asks_eleven_servers_every_200_ms(vexar):
    the_farm = start_farm(vexar, 200)
    try:
        farm.write_install_folder(vexar.folder)
        vexar.reset_registry({'NDF': 1, 'NPPRESET': 1})
        vexar.start()
        vexar.answer(QUESTION, 'No')
        choose_pace(vexar, 'Fast', 'Classic')
        check_equal(vexar.driver_ok('reg-dword', 'NPPRESET'), ['0'], 'Classic stored')
        since = time.monotonic_ns()
        # Here the pace is checked; the pings' bounds are the fast test's.
        check_pings(refresh_from_master(vexar), the_farm, since, bounded=False)
        asked = [e.ns for e in the_farm.events(since) if e.kind == 'q']
        per_window = farm.windows(asked)
        check(max(per_window) <= 11, 'at most 11 requests in a 200 ms window: %s' % per_window)
        # Eleven at once, then the pause: only the last burst may be short.
        groups = farm.bursts(asked)
        check_equal([len(g) for g in groups[:-1]], [11] * (len(groups) - 1), 'requests per burst')
        check(len(groups[-1]) <= 11, 'the last burst: %d requests' % len(groups[-1]))
        gaps = [(b[0] - a[-1]) / 1e6 for a, b in zip(groups, groups[1:])]
        check(min(gaps) >= 190, 'pauses between bursts of at least 200 ms (less the tick): %.1f ms' % min(gaps))
    finally:
        the_farm.cleanup()


TESTS = [
    test_fast_times_every_live_server_of_a_farm_and_stays_chosen,
    test_classic_chosen_again_asks_eleven_servers_every_200_ms,
]
