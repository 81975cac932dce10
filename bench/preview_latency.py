#!/usr/bin/env python3
"""Times the live preview: from saving one document's content file to the reload event.

Starts `pentrak-cli preview` on a generated project, listens on its event stream as a page
does, then saves one content file EDITS times, each save a moment after the reload of the one
before, and prints the median and the 95th percentile of the time from the save to the "reload"
event that names the page.

usage: preview_latency.py PENTRAK_CLI HOME PROJECT.web CONTENT_FILE PAGE_URL_PATH [EDITS]
"""
import contextlib
import http.client
import math
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time


def wait_for_url(log_path, process):
    deadline = time.monotonic() + 600
    while time.monotonic() < deadline:
        if process.poll() is not None:
            sys.exit("pentrak-cli preview ended: " + open(log_path).read())
        match = re.search(r"at http://([\d.]+):(\d+)/", open(log_path).read())
        if match:
            return match.group(1), int(match.group(2))
        time.sleep(0.05)
    sys.exit("pentrak-cli preview printed no URL")


def next_event(stream):
    """The next event's name and data lines."""
    name, data = None, []
    while True:
        line = stream.readline()
        if not line:
            sys.exit("the event stream ended")
        line = line.decode("utf-8", "replace").rstrip("\n")
        if line == "":
            if name:
                return name, data
            continue
        if line.startswith("event: "):
            name = line[7:]
        elif line.startswith("data: "):
            data.append(line[6:])


@contextlib.contextmanager
def running_preview(cli, home, project):
    """Runs `pentrak-cli preview` on the project for the with block: its process, host and port."""
    log = tempfile.NamedTemporaryFile(delete=False, suffix=".log")
    started = time.monotonic()
    process = subprocess.Popen([cli, "--home", home, "preview", project, "--port", "0",
                                "--no-open"], stdout=log, stderr=subprocess.DEVNULL)
    try:
        host, port = wait_for_url(log.name, process)
        print(f"preview started in {time.monotonic() - started:.1f} s")
        yield process, host, port
    finally:
        process.terminate()
        process.wait(timeout=30)
        os.unlink(log.name)


def percentile(values, share):
    """The nearest-rank percentile."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)]


def main():
    cli, home, project, content, page = sys.argv[1:6]
    edits = int(sys.argv[6]) if len(sys.argv) > 6 else 50
    with running_preview(cli, home, project) as (_, host, port):
        connection = http.client.HTTPConnection(host, port)
        connection.request("GET", "/__preview/events")
        stream = connection.getresponse()
        next_event(stream)  # the state of the last run, sent on connecting
        original = open(content, "rb").read()
        times = []
        for edit in range(edits):
            time.sleep(0.05)
            text = original.replace(b"Paragraph 1 ", f"Paragraph 1 (edit {edit}) ".encode())
            start = time.perf_counter()
            with open(content, "wb") as f:
                f.write(text)
            while True:
                name, data = next_event(stream)
                if name == "reload":
                    break
                if name == "problems":
                    sys.exit("the run reported problems: " + "\n".join(data))
            times.append((time.perf_counter() - start) * 1000)
            if page not in data:
                sys.exit(f"the reload event named {data}, not {page}")
        with open(content, "wb") as f:
            f.write(original)
        print(f"save to reload event, {edits} edits: median {statistics.median(times):.1f} ms, "
              f"95th percentile {percentile(times, 0.95):.1f} ms, fastest {min(times):.1f} ms, "
              f"slowest {max(times):.1f} ms")


if __name__ == "__main__":
    main()
