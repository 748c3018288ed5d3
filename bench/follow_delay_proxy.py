#!/usr/bin/env python3
"""A TCP proxy for the follower benchmarks: every chunk, each way, is held
for a delay drawn anew (uniform within DELAY +- JITTER ms) and passed on in
order, as a slow and uneven network would. A line "cut SECONDS" on standard
input cuts the link for that long as a pulled cable would: nothing passes,
new connections are taken but go nowhere, and when the time is up every
connection held is closed. It prints "ready PORT" once it listens."""

import argparse
import asyncio
import random
import sys
import time

cut_until = 0.0
held = set()


def is_cut():
    return time.monotonic() < cut_until


async def pipe(reader, writer, delay, jitter):
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            if not is_cut():
                writer.write(data)
                await writer.drain()
        writer.close()

    task = asyncio.ensure_future(deliver())
    last_due = 0.0
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            if is_cut():
                continue
            due = time.monotonic() + random.uniform(delay - jitter, delay + jitter) / 1000
            last_due = max(last_due, due)  # in order, as one TCP stream keeps it
            queue.put_nowait((last_due, data))
    except (ConnectionError, OSError):
        pass
    queue.put_nowait((0, None))
    await task


async def serve(target_port, delay, jitter, local_reader, local_writer):
    held.add(local_writer)
    try:
        if is_cut():
            while is_cut():
                await asyncio.sleep(0.05)
            return
        remote_reader, remote_writer = await asyncio.open_connection("127.0.0.1", target_port)
        held.add(remote_writer)
        await asyncio.gather(pipe(local_reader, remote_writer, delay, jitter),
                             pipe(remote_reader, local_writer, delay, jitter))
    except (ConnectionError, OSError):
        pass
    finally:
        held.discard(local_writer)
        local_writer.close()


async def commands():
    global cut_until
    loop = asyncio.get_running_loop()
    while True:
        line = await loop.run_in_executor(None, sys.stdin.readline)
        if not line:
            return
        words = line.split()
        if len(words) == 2 and words[0] == "cut":
            cut_until = time.monotonic() + float(words[1])
            await asyncio.sleep(float(words[1]))
            for writer in list(held):
                writer.transport.abort()
            held.clear()


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--to", type=int, required=True)
    parser.add_argument("--delay", type=float, default=20)
    parser.add_argument("--jitter", type=float, default=10)
    args = parser.parse_args()
    server = await asyncio.start_server(
        lambda r, w: serve(args.to, args.delay, args.jitter, r, w), "127.0.0.1", 0)
    print("ready", server.sockets[0].getsockname()[1], flush=True)
    await commands()


asyncio.run(main())
