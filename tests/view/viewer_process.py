"""Starts `scenario view` as a person would and stops it again.

Used by the server and browser tests: the process is always ended (terminate,
then kill) and every wait is bounded.
"""
import os
import re
import shutil
import subprocess
import time


def write_builtin_sources(scenario, directory):
    """Writes the program's own text sources into `directory` (made anew)."""
    shutil.rmtree(directory, ignore_errors=True)
    os.makedirs(directory)
    subprocess.run([scenario, "sources", directory], check=True, stdout=subprocess.DEVNULL, timeout=60)
    return (os.path.join(directory, "Calvena_Roccalba_linea.txt"),
            os.path.join(directory, "Calvena_Roccalba_4127-.txt"))


class Viewer:
    """`scenario view` on two files; `url` and `port` once it serves."""

    def __init__(self, scenario, line, run, extra=(), cwd=None):
        scenario, line, run = (os.path.abspath(p) for p in (scenario, line, run))
        self.log = open(os.path.join(cwd or ".", "viewer.log"), "w+")
        self.process = subprocess.Popen([scenario, "view", "--line", line, "--run", run, *extra],
                                        stdout=subprocess.PIPE, stderr=self.log, text=True, cwd=cwd)
        self.url = None
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            line_out = self.process.stdout.readline()
            if not line_out:
                break
            found = re.search(r"serving (http://[^ ]+/)", line_out)
            if found:
                self.url = found.group(1)
                break
        if not self.url:
            self.stop()
            raise RuntimeError("scenario view did not start")
        self.port = int(re.search(r":(\d+)/$", self.url).group(1))

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        self.process.stdout.close()
        self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def wait_until(condition, seconds, what):
    """Polls `condition` until it gives a true value; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("waited %g s for %s" % (seconds, what))
        time.sleep(0.05)
