#!/usr/bin/env python3
"""The remote control under attack, measured from outside the program: Vellor
runs with its remote on, and this script attacks it from loopback addresses
of its own while a legitimate client from another address asks for the state
every 100 ms. Per attack it reports the legitimate answer's time (median, 99th
percentile, longest, and how many took over a second or failed), the
program's resident memory (idle before, the most during, and after), and
the status a WebSocket with the token gets once the attack has stopped.

Usage: remote_attack.py <vellor executable> [seconds per attack, default 10] [attacks]
where attacks are their numbers from 1, comma-separated (default: all, in turn
on one program)."""

import json
import os
import selectors
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

KEY = "dGhlIHNhbXBsZSBub25jZQ=="


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def frame(opcode, payload):
    mask = b"\x11\x22\x33\x44"
    masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
    return bytes([0x80 | opcode, 0x80 | len(payload)]) + mask + masked


def upgrade(target, port, fields=""):
    return (f"GET {target} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
            f"Connection: Upgrade\r\nUpgrade: websocket\r\n"
            f"Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: {KEY}\r\n{fields}\r\n").encode()


class Attack:
    """Keeps `count` connections per source address open, each made by `start`
    and fed by `feed` at every turn; a connection the program closes is opened again."""

    def __init__(self, port, sources, count, start, feed=None, read=True):
        self.port, self.sources, self.count = port, sources, count
        self.start, self.feed, self.read = start, feed, read
        self.selector = selectors.DefaultSelector()
        self.open = {source: 0 for source in sources}
        self.made = 0

    def connect(self, source):
        s = socket.socket()
        s.setblocking(False)
        try:
            s.bind((source, 0))
            s.connect_ex(("127.0.0.1", self.port))
        except OSError:
            s.close()
            return
        self.selector.register(s, selectors.EVENT_READ | selectors.EVENT_WRITE, [source, False])
        self.open[source] += 1
        self.made += 1

    def close(self, key):
        self.selector.unregister(key.fileobj)
        key.fileobj.close()
        self.open[key.data[0]] -= 1

    def turn(self, budget):
        for source in self.sources:
            for _ in range(min(self.count - self.open[source], budget)):
                self.connect(source)
        for key, events in self.selector.select(timeout=0):
            s = key.fileobj
            try:
                if events & selectors.EVENT_WRITE and not key.data[1]:
                    key.data[1] = True
                    s.send(self.start())
                    self.selector.modify(s, selectors.EVENT_READ if self.read else 0, key.data)
                    continue
                if events & selectors.EVENT_READ:
                    if not s.recv(65536):
                        self.close(key)
                        continue
            except OSError:
                self.close(key)
                continue
        if self.feed:
            for key in list(self.selector.get_map().values()):
                if key.data[1]:
                    try:
                        key.fileobj.send(self.feed())
                    except BlockingIOError:
                        pass
                    except OSError:
                        self.close(key)

    def stop(self):
        for key in list(self.selector.get_map().values()):
            key.fileobj.close()
        self.selector.close()


def probe(port, token):
    began = time.monotonic()
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=5,
                                     source_address=("127.0.0.200", 0))
        s.sendall(f"GET /api/state HTTP/1.1\r\nAuthorization: Bearer {token}\r\n\r\n".encode())
        answer = b""
        while True:
            piece = s.recv(65536)
            if not piece:
                break
            answer += piece
        s.close()
        return time.monotonic() - began if answer.startswith(b"HTTP/1.1 200") else None
    except OSError:
        return None


def websocket_answer(port, token):
    """The status a WebSocket with the token gets once the attack has stopped."""
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=5,
                                     source_address=("127.0.0.201", 0))
        s.sendall(upgrade(f"/api/ws?token={token}", port))
        answer = s.recv(256)
        s.close()
        return answer.split(b" ")[1].decode() if answer.startswith(b"HTTP/1.1 ") else "none"
    except OSError:
        return "none"


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10
    chosen = [int(n) for n in sys.argv[3].split(",")] if len(sys.argv) > 3 else None
    with tempfile.TemporaryDirectory() as folder:
        program = os.path.join(folder, "vellor")
        shutil.copy(sys.argv[1], program)
        port, token = free_port(), os.urandom(16).hex()
        with open(os.path.join(folder, "vellor.ini"), "w") as ini:
            ini.write(f"[Remote]\r\nEnabled=1\r\nPort={port}\r\nToken={token}\r\n")
        vellor = subprocess.Popen([program], cwd=folder,
                                  env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for _ in range(100):
                if probe(port, token):
                    break
                time.sleep(0.1)
            time.sleep(1)
            idle = rss_mb(vellor.pid)
            command = json.dumps({"command": "pause"}).encode()
            attacks = [
                ("500 slow clients, one address",
                 lambda: Attack(port, ["127.0.0.2"], 500, lambda: b"GET / HTTP/1.1\r\n",
                                lambda: b"X")),
                ("200 slow clients from each of 10 addresses",
                 lambda: Attack(port, [f"127.0.0.{n}" for n in range(3, 13)], 200,
                                lambda: b"GET / HTTP/1.1\r\n", lambda: b"X")),
                ("a tokenless upgrade behind a request, 16 at a time",
                 lambda: Attack(port, [f"127.0.1.{n}" for n in range(1, 17)], 1,
                                lambda: b"GET / HTTP/1.1\r\n\r\n" + upgrade("/api/ws", port))),
                ("WebSocket command flood, 16 clients from 16 addresses",
                 lambda: Attack(port, [f"127.0.2.{n}" for n in range(1, 17)], 1,
                                lambda: upgrade(f"/api/ws?token={token}", port),
                                lambda: frame(1, command) * 20)),
                ("WebSocket pings, nothing read, 16 clients",
                 lambda: Attack(port, [f"127.0.3.{n}" for n in range(1, 17)], 1,
                                lambda: upgrade(f"/api/ws?token={token}", port),
                                lambda: frame(9, b"p" * 125) * 50, read=False)),
            ]
            print(f"idle resident memory: {idle:.1f} MB")
            print("| attack | answer median ms | p99 ms | longest ms | over 1 s or failed "
                  "| memory most MB | memory after MB | connections made | a WebSocket after |")
            print("|---|---|---|---|---|---|---|---|---|")
            for number, (name, make) in enumerate(attacks, 1):
                if chosen and number not in chosen:
                    continue
                attack = make()
                times, failed, peak = [], 0, idle
                ends = time.monotonic() + seconds
                next_probe = time.monotonic() + 1
                while time.monotonic() < ends:
                    attack.turn(budget=50)
                    if time.monotonic() >= next_probe:
                        took = probe(port, token)
                        if took is None or took > 1:
                            failed += 1
                        if took is not None:
                            times.append(took * 1000)
                        peak = max(peak, rss_mb(vellor.pid))
                        next_probe = time.monotonic() + 0.1
                    time.sleep(0.002)
                attack.stop()
                time.sleep(3)
                after = rss_mb(vellor.pid)
                times.sort()
                p99 = times[min(len(times) - 1, int(0.99 * len(times)))] if times else 0
                print(f"| {name} | {statistics.median(times) if times else 0:.1f} | {p99:.1f} "
                      f"| {max(times) if times else 0:.1f} | {failed} of {len(times) + (failed if not times else 0)} "
                      f"| {peak:.1f} | {after:.1f} | {attack.made} | {websocket_answer(port, token)} |")
        finally:
            vellor.terminate()
            vellor.wait(10)
    return 0


if __name__ == "__main__":
    sys.exit(main())
