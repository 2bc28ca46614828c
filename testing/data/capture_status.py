#!/usr/bin/env python3
"""Sends one status request to a server on a loopback address and saves the raw reply datagram.

Usage: capture_status.py HOST PORT OUTPUT.bin [--typed]
Run it inside a private network namespace (unshare -n) next to the server; HOST must be 127.x.y.z.
"""
import socket
import sys
import time


def main():
    host, port, output = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if not host.startswith("127."):
        sys.exit("only loopback addresses are queried")
    request = b"\xff\xff\xff\xffgetstatus"
    if "--typed" in sys.argv:
        request = b"\xff\xff\xff\xff\x02getstatus\n\x00"
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.1", 0))
    s.settimeout(1.0)
    deadline = time.time() + 60
    while time.time() < deadline:
        s.sendto(request, (host, port))
        try:
            data, sender = s.recvfrom(65536)
        except socket.timeout:
            continue
        with open(output, "wb") as f:
            f.write(data)
        print("saved %d bytes from %s:%d" % (len(data), sender[0], sender[1]))
        return
    sys.exit("no reply")


main()
