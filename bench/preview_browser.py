#!/usr/bin/env python3
"""Times the live preview in headless Chromium: from saving a content file to its new text in
the page the browser shows.

Starts `pentrak-cli preview` and a headless Chromium with a fresh profile, opens the page in
it, then saves the page's content file EDITS times with a new marker each time and asks the
browser, through its DevTools protocol, every few milliseconds whether the page shows the
marker yet. Prints the median and the 95th percentile. Standard library only: the protocol's
WebSocket is spoken over a plain socket.

usage: preview_browser.py PENTRAK_CLI HOME PROJECT.web CONTENT_FILE PAGE_URL_PATH [EDITS]
"""
import base64
import json
import os
import re
import shutil
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from preview_latency import percentile, running_preview  # noqa: E402


class WebSocket:
    """A client WebSocket with just what the DevTools protocol needs: text frames."""

    def __init__(self, url):
        match = re.match(r"ws://([^:/]+):(\d+)(/.*)", url)
        self.sock = socket.create_connection((match.group(1), int(match.group(2))))
        key = base64.b64encode(os.urandom(16)).decode()
        request = (f"GET {match.group(3)} HTTP/1.1\r\nHost: {match.group(1)}:{match.group(2)}\r\n"
                   "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                   f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n")
        self.sock.sendall(request.encode())
        head = b""
        while b"\r\n\r\n" not in head:
            head += self.sock.recv(1)
        if b" 101 " not in head.split(b"\r\n")[0]:
            sys.exit("the browser refused the WebSocket: " + head.decode(errors="replace"))

    def send(self, text):
        payload = text.encode()
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def _exactly(self, count):
        data = b""
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                sys.exit("the browser closed the WebSocket")
            data += chunk
        return data

    def receive(self):
        """The next whole text message."""
        message = b""
        while True:
            first, second = self._exactly(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._exactly(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._exactly(8))[0]
            payload = self._exactly(length)
            if first & 0x0F == 0x8:
                sys.exit("the browser closed the WebSocket")
            if first & 0x0F in (0x1, 0x0):
                message += payload
                if first & 0x80:
                    return message.decode()


class DevTools:
    """Commands to one page of the browser, each answered before the next."""

    def __init__(self, url):
        self.socket = WebSocket(url)
        self.next_id = 0

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.receive())
            if answer.get("id") == self.next_id:
                return answer

    def shows(self, text):
        """True when the page's text holds text now (false while it is reloading)."""
        answer = self.call("Runtime.evaluate", returnByValue=True,
                           expression=f"!!document.body && document.body.innerText.indexOf({json.dumps(text)}) >= 0")
        return answer.get("result", {}).get("result", {}).get("value") is True


def start_browser(profile):
    chromium = shutil.which("chromium") or sys.exit("chromium is not installed")
    browser = subprocess.Popen(
        [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", f"--user-data-dir={profile}", "--remote-debugging-port=0",
         "about:blank"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        line = browser.stderr.readline().decode(errors="replace")
        match = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
        if match:
            return browser, int(match.group(1))
        if not line and browser.poll() is not None:
            break
    browser.kill()
    sys.exit("chromium did not start its DevTools server")


def wait_until(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.002)
    return False


def main():
    cli, home, project, content, page = sys.argv[1:6]
    edits = int(sys.argv[6]) if len(sys.argv) > 6 else 20
    profile = tempfile.mkdtemp(prefix="preview-browser-")
    browser, devtools_port = start_browser(profile)
    try:
        with running_preview(cli, home, project) as (_, host, port):
            targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{devtools_port}/json/list"))
            tab = next(t for t in targets if t.get("type") == "page")
            tools = DevTools(tab["webSocketDebuggerUrl"])
            tools.call("Page.navigate", url=f"http://{host}:{port}{page}")
            original = open(content, "rb").read()
            if not wait_until(lambda: tools.shows("Paragraph 1 of"), 30):
                sys.exit("the page never showed in the browser")
            times = []
            for edit in range(edits):
                time.sleep(0.3)  # the page settles, its event stream open again
                marker = f"browser edit {edit} {os.getpid()}"
                text = original.replace(b"Paragraph 1 ", f"Paragraph 1 ({marker}) ".encode())
                start = time.perf_counter()
                with open(content, "wb") as f:
                    f.write(text)
                if not wait_until(lambda: tools.shows(marker), 30):
                    sys.exit(f"edit {edit} never showed in the page")
                times.append((time.perf_counter() - start) * 1000)
            with open(content, "wb") as f:
                f.write(original)
            print(f"save to new text in the page, {edits} edits: median "
                  f"{statistics.median(times):.1f} ms, 95th percentile "
                  f"{percentile(times, 0.95):.1f} ms, fastest {min(times):.1f} ms, slowest "
                  f"{max(times):.1f} ms")
    finally:
        browser.terminate()
        browser.wait(timeout=30)
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
