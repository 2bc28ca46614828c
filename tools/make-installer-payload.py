#!/usr/bin/env python3
"""Writes the installer's payload files, other than vexar.exe, into OUTDIR: the default vexar.ini and
the two shipped colour schemes, generated from their tables.

make-installer-payload.py OUTDIR
"""
import os
import struct
import sys

# The shipped schemes, slot by slot (slots 0-5: the text colours and the main window's background;
# slots 6-11: the row backgrounds and the selection bar; slots 12-15 unused), COLORREF 0x00BBGGRR.
SCHEMES = {
    'sky-zox.vxc': [0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xC8D0D8,
                    0xFAFAF5, 0xFFFFFF, 0xFFD7D7, 0xFFE6E6, 0x000000, 0xFF9797, 0, 0, 0, 0],
    'metallic-rook.vxc': [0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xC4C4C4,
                          0xF2F2F2, 0xFFFFFF, 0xD6D6D6, 0xDDDDDD, 0x000000, 0xACACAC, 0, 0, 0, 0],
}

# The Internet Links menu: nineteen entries, "-" for a separator.
WEB_LINKS = [
    ('OpenArena', 'https://openarena.ws/'),
    ('ioquake3', 'https://ioquake3.org/'),
    ('Quake III Arena on Steam', 'https://store.steampowered.com/app/2200/'),
    ('-', '-'),
    ('Urban Terror', 'https://www.urbanterror.info/'),
    ('ET: Legacy', 'https://www.etlegacy.com/'),
    ('Xonotic', 'https://xonotic.org/'),
    ('-', '-'),
    ('Half-Life on Steam', 'https://store.steampowered.com/app/70/'),
    ('Counter-Strike on Steam', 'https://store.steampowered.com/app/10/'),
    ('Sven Co-op', 'https://www.svencoop.com/'),
    ('-', '-'),
    ('OldUnreal (Unreal Tournament)', 'https://www.oldunreal.com/'),
    ('Return to Castle Wolfenstein on Steam', 'https://store.steampowered.com/app/9010/'),
    ('Jedi Knight II on Steam', 'https://store.steampowered.com/app/6030/'),
    ('OpenJK', 'https://openjk.org/'),
    ('-', '-'),
    ('dpmaster (master servers)', 'https://dpmaster.deathmask.net/'),
    ('333networks (master servers)', 'https://333networks.com/'),
]

# Thirty-two short search strings for Find Player: common clan tags and name fragments.
FIND_STRINGS = ['[', ']', '{', '}', '=', '|', '<', '>', 'clan', 'sarge', 'bot', 'pro', 'noob', 'killer',
                'sniper', 'doom', 'ranger', 'visor', 'xaero', 'anarki', 'major', 'grunt', 'keel', 'hunter',
                'dark', 'death', 'frag', 'rail', 'rocket', 'ctf', 'lan', 'admin']


def default_ini():
    assert len(WEB_LINKS) == 19 and len(FIND_STRINGS) == 32
    lines = ['[games]', 'active=0', '[weblinks]']
    for i, (name, _) in enumerate(WEB_LINKS):
        lines.append('urlmenuname%03d=%s' % (i, name))
    for i, (_, url) in enumerate(WEB_LINKS):
        lines.append('url%03d=%s' % (i, url))
    lines += ['[Find]', 'IgnoreColours=False'] + ['find%d=%s' % (i, s) for i, s in enumerate(FIND_STRINGS)]
    lines += ['[window]', 'state=0', 'USETRAY=1', '[TRAY]', 'AUTOREFRESH=1']
    return ('\r\n'.join(lines) + '\r\n').encode('ascii')


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {'vexar.ini': default_ini()}
    for name, slots in SCHEMES.items():
        files[name] = struct.pack('<16I', *slots)
    for name, data in files.items():
        path = os.path.join(out, name)
        # Rewritten only when different, so that the installer is not rebuilt for nothing.
        if not os.path.exists(path) or open(path, 'rb').read() != data:
            with open(path, 'wb') as f:
                f.write(data)


if __name__ == '__main__':
    main()
