#!/usr/bin/env python3
"""Loads the live preview as many pages and clients would, and prints what it costs.

Starts `pentrak-cli preview` on a project whose document root holds FILE_MIB MiB files
(big.bin, big.html) and measures:
  - the preview's peak resident memory after 4 clients fetched each large file at once;
  - ordinary requests answered per second with no event stream open, then with 64 open;
  - the same while 40 clients each send one byte every 4 seconds, never finishing a request.

usage: preview_load.py PENTRAK_CLI HOME PROJECT.web DOCUMENT_ROOT [FILE_MIB]
"""
import http.client
import os
import socket
import sys
import threading
import time

from preview_latency import running_preview


def peak_rss_mib(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmHWM:"):
            return int(line.split()[1]) / 1024
    return 0.0


def fetch_whole(port, path, sizes, index):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=120)
    connection.request("GET", path)
    response = connection.getresponse()
    total = 0
    while True:
        block = response.read(1 << 20)
        if not block:
            break
        total += len(block)
    sizes[index] = total
    connection.close()


def fetch_at_once(port, path, clients):
    sizes = [0] * clients
    threads = [threading.Thread(target=fetch_whole, args=(port, path, sizes, i))
               for i in range(clients)]
    start = time.perf_counter()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return sizes, time.perf_counter() - start


def requests_per_second(port, seconds=3.0):
    """Sequential GETs of the home page on one kept-alive connection."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    count, slowest = 0, 0.0
    end = time.perf_counter() + seconds
    while time.perf_counter() < end:
        start = time.perf_counter()
        connection.request("GET", "/f000/d000.html")
        response = connection.getresponse()
        response.read()
        if response.status != 200:
            sys.exit(f"GET /f000/d000.html answered {response.status}")
        slowest = max(slowest, time.perf_counter() - start)
        count += 1
    connection.close()
    return count / seconds, slowest * 1000


def open_event_streams(port, count):
    streams = []
    for _ in range(count):
        sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        sock.sendall(f"GET /__preview/events HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode())
        received = b""
        while b"event: " not in received:
            block = sock.recv(4096)
            if not block:
                sys.exit("an event stream closed: " + received.decode("utf-8", "replace"))
            received += block
        streams.append(sock)
    return streams


def start_slow_clients(port, count, every, stop):
    clients = []
    for _ in range(count):
        sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        sock.sendall(b"GET /f000/d000.html HTTP/1.1\r\n")
        clients.append(sock)

    def trickle():
        while not stop.wait(every):
            for sock in clients:
                try:
                    sock.send(b"X")
                except OSError:
                    pass
    thread = threading.Thread(target=trickle)
    thread.start()
    return clients, thread


def main():
    cli, home, project, root = sys.argv[1:5]
    mib = int(sys.argv[5]) if len(sys.argv) > 5 else 300
    for name in ("big.bin", "big.html"):
        with open(os.path.join(root, name), "wb") as f:
            block = (b"<p>" + b"x" * 1017 + b"</p>\n") if name.endswith("html") else b"\0" * 1024
            for _ in range(mib * 1024):
                f.write(block)
    with running_preview(cli, home, project) as (process, _, port):
        requests_per_second(port, 0.5)
        print(f"peak memory after start: {peak_rss_mib(process.pid):.0f} MiB")
        for name in ("big.bin", "big.html"):
            sizes, took = fetch_at_once(port, "/" + name, 4)
            print(f"4 clients at once fetched /{name} ({mib} MiB): {min(sizes) >> 20} MiB each "
                  f"in {took:.1f} s; peak memory so far {peak_rss_mib(process.pid):.0f} MiB")
        rate, slowest = requests_per_second(port)
        print(f"no event stream open: {rate:.0f} requests/s, slowest {slowest:.1f} ms")
        streams = open_event_streams(port, 64)
        rate, slowest = requests_per_second(port)
        print(f"64 event streams open: {rate:.0f} requests/s, slowest {slowest:.1f} ms")
        stop = threading.Event()
        slow, trickle = start_slow_clients(port, 40, 4.0, stop)
        rate, slowest = requests_per_second(port, 12.0)
        print(f"64 streams and 40 clients sending a byte every 4 s: {rate:.0f} requests/s, "
              f"slowest {slowest:.1f} ms")
        stop.set()
        trickle.join()
        for sock in streams + slow:
            sock.close()


if __name__ == "__main__":
    main()
