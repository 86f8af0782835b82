#!/usr/bin/env python3
"""Passes UDP datagrams between one client and a server on this machine, each after a fixed delay
and each lost with a given chance, as a slow and lossy network would; stops after SECONDS.
   udp_relay.py LISTEN_PORT SERVER_PORT DELAY_MS LOSS_PERCENT SECONDS [SEED]"""
import collections
import random
import select
import socket
import sys
import time

listen_port, server_port, delay_ms, loss_percent, seconds = (int(a) for a in sys.argv[1:6])
random.seed(int(sys.argv[6]) if len(sys.argv) > 6 else 1)
front, back = socket.socket(type=socket.SOCK_DGRAM), socket.socket(type=socket.SOCK_DGRAM)
front.bind(("127.0.0.1", listen_port))
back.bind(("127.0.0.1", 0))
server, client = ("127.0.0.1", server_port), None
queue = collections.deque()  # (due, socket, address, bytes), in order of arrival and so of due
passed = lost = 0
end = time.monotonic() + seconds
while (now := time.monotonic()) < end:
    while queue and queue[0][0] <= now:
        _, out, to, data = queue.popleft()
        try:
            out.sendto(data, to)
        except OSError:  # errors of earlier datagrams are reported at any call: a side has gone
            pass
    wait = min(0.05, queue[0][0] - now) if queue else 0.05
    for sock in select.select([front, back], [], [], max(wait, 0))[0]:
        try:
            data, sender = sock.recvfrom(65536)
        except OSError:
            continue
        if sock is front:
            client = sender
        if client is None or random.randrange(100) < loss_percent:
            lost += client is not None
            continue
        passed += 1
        out, to = (back, server) if sock is front else (front, client)
        queue.append((time.monotonic() + delay_ms / 1000, out, to, data))
print(f"udp-relay: {passed} datagrams passed, {lost} lost")
