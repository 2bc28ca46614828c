#!/usr/bin/env python3
"""Sends one remote-console command to a server on a loopback address and saves every reply
datagram that comes back (one after the other, as received) until the server is quiet for a while.

Usage: capture_rcon.py [--secure] HOST PORT PASSWORD OUTPUT.bin COMMAND...
--secure sends DarkPlaces' time-based secure form ("srcon HMAC-MD4 TIME"), which Nexuiz servers
ask for by default (rcon_secure 1); without it the plain "rcon PASSWORD COMMAND" goes out.
Run it inside a private network namespace (unshare -n) next to the server; HOST must be 127.x.y.z.
"""
import socket
import struct
import sys
import time

QUIET_SECONDS = 1.5


def md4(message):
    """MD4 of RFC 1320 (Python's hashlib no longer offers it)."""
    def rotate(v, s):
        v &= 0xFFFFFFFF
        return ((v << s) | (v >> (32 - s))) & 0xFFFFFFFF
    rounds = [
        (lambda x, y, z: (x & y) | (~x & z), 0, list(range(16)), [3, 7, 11, 19]),
        (lambda x, y, z: (x & y) | (x & z) | (y & z), 0x5A827999, [0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15],
         [3, 5, 9, 13]),
        (lambda x, y, z: x ^ y ^ z, 0x6ED9EBA1, [0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15], [3, 9, 11, 15]),
    ]
    n = len(message)
    message += b'\x80' + b'\0' * ((55 - n) % 64) + struct.pack('<Q', n * 8)
    state = [0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476]
    for block in range(0, len(message), 64):
        x = struct.unpack('<16I', message[block:block + 64])
        h = list(state)
        for f, constant, order, shifts in rounds:
            for i, k in enumerate(order):
                a, b, c, d = (h[(4 - i) % 4], h[(5 - i) % 4], h[(6 - i) % 4], h[(7 - i) % 4])
                h[(4 - i) % 4] = rotate(a + f(b, c, d) + x[k] + constant, shifts[i % 4])
        state = [(s + v) & 0xFFFFFFFF for s, v in zip(state, h)]
    return struct.pack('<4I', *state)


def hmac_md4(key, message):
    if len(key) > 64:
        key = md4(key)
    key += b'\0' * (64 - len(key))
    return md4(bytes(k ^ 0x5C for k in key) + md4(bytes(k ^ 0x36 for k in key) + message))


def request(password, command, secure):
    if not secure:
        return b'\xff\xff\xff\xffrcon ' + password + b' ' + command
    signed = ('%d.%06d ' % (int(time.time()), int(time.time() * 1e6) % 1000000)).encode() + command
    return b'\xff\xff\xff\xffsrcon HMAC-MD4 TIME ' + hmac_md4(password, signed) + b' ' + signed


def main():
    args = sys.argv[1:]
    secure = '--secure' in args
    if secure:
        args.remove('--secure')
    host, port, password, output = args[0], int(args[1]), args[2].encode(), args[3]
    command = ' '.join(args[4:]).encode()
    if not host.startswith('127.'):
        sys.exit('only loopback addresses are asked')
    assert md4(b'abc').hex() == 'a448017aaf21d8525fc10ae87aa6729d'
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(('127.0.0.1', 0))
    s.settimeout(QUIET_SECONDS)
    s.sendto(request(password, command, secure), (host, port))
    datagrams = []
    deadline = time.time() + 30
    while time.time() < deadline:
        try:
            data, _ = s.recvfrom(65536)
        except socket.timeout:
            break
        datagrams.append(data)
    with open(output, 'wb') as f:
        f.write(b''.join(datagrams))
    print('saved %d datagrams (%s bytes)' % (len(datagrams), ', '.join(str(len(d)) for d in datagrams)))


main()
