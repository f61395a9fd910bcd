"""The viewer's server against hostile and broken clients.

Runs the real `scenario view` on 127.0.0.1 and checks that every request is
answered or refused and that the server stays up: unknown paths, other
methods, wrong Host headers, a megabyte request, a slow client, too many open
event streams and a thousand random requests.
Usage: server_test.py SCENARIO_EXECUTABLE WORK_DIRECTORY
"""
import http.client
import os
import random
import socket
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from viewer_process import Viewer, wait_until, write_builtin_sources  # noqa: E402

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def request(port, method, path, host=None, body=None, headers=None):
    c = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    try:
        c.putrequest(method, path, skip_host=True)
        if host is not None:
            c.putheader("Host", host)
        for k, v in (headers or {}).items():
            c.putheader(k, v)
        if body is not None:
            c.putheader("Content-Length", str(len(body)))
        c.endheaders(body)
        r = c.getresponse()
        return r.status, r.read()
    finally:
        c.close()


def raw(port, data, read_seconds=5, then_close=False):
    """Sends bytes on a new connection; gives what came back (b"" if closed).
    `then_close`: the client says it has nothing more to send."""
    s = socket.create_connection(("127.0.0.1", port), timeout=read_seconds)
    try:
        try:
            s.sendall(data)
            if then_close:
                s.shutdown(socket.SHUT_WR)
        except OSError:
            pass
        out = b""
        try:
            while len(out) < 1 << 20:
                chunk = s.recv(65536)
                if not chunk:
                    break
                out += chunk
        except OSError:
            pass
        return out
    finally:
        s.close()


def main():
    scenario, work = sys.argv[1], sys.argv[2]
    line, run = write_builtin_sources(scenario, os.path.join(work, "sources"))
    with Viewer(scenario, line, run, cwd=work) as v:
        port = v.port
        host = "127.0.0.1:%d" % port
        up = lambda: request(port, "GET", "/model", host)[0] == 200  # noqa: E731

        check(v.url.startswith("http://127.0.0.1:"), "listens on 127.0.0.1 by default: " + v.url)
        for path, status in [("/", 200), ("/view.js", 200), ("/model", 200), ("/nothing", 404),
                             ("/index.html/../../etc/passwd", 404), ("//etc/passwd", 404),
                             ("/source?file=../../etc/passwd&line=1", 404), ("/cell?index=-1", 404),
                             ("/cell?index=1e9", 400), ("/plan?from=0&to=99999999999&points=99999999", 200)]:
            got = request(port, "GET", path, host)[0]
            check(got == status, "GET %s: %d (expected %d)" % (path, got, status))
        for method in ["POST", "PUT", "DELETE", "PATCH", "OPTIONS", "HEAD"]:
            got = request(port, method, "/model", host)[0]
            check(got == 405, "%s /model: %d" % (method, got))
        for bad in ["evil.example:%d" % port, "127.0.0.1", "127.0.0.1:1", "localhost.evil:%d" % port, ""]:
            got = request(port, "GET", "/model", bad)[0]
            check(got == 403, "Host %r refused: %d" % (bad, got))
        for good in ["localhost:%d" % port, "[::1]:%d" % port]:
            check(request(port, "GET", "/model", good)[0] == 200, "Host %s accepted" % good)
        check(request(port, "GET", "/model", None)[0] == 403, "no Host refused")

        # A megabyte: as a body, as one header, as a path; each refused.
        mb = b"x" * (1 << 20)
        reply = raw(port, b"POST /model HTTP/1.1\r\nHost: " + host.encode() + b"\r\nContent-Length: %d\r\n\r\n" % len(mb) + mb)
        check(reply.startswith(b"HTTP/1.1 413") or reply == b"", "megabyte body refused: %r" % reply[:30])
        reply = raw(port, b"GET / HTTP/1.1\r\nHost: " + host.encode() + b"\r\nX-Big: " + mb + b"\r\n\r\n")
        check(reply.startswith(b"HTTP/1.1 431") or reply == b"", "megabyte header refused: %r" % reply[:30])
        reply = raw(port, b"GET /" + mb + b" HTTP/1.1\r\nHost: " + host.encode() + b"\r\n\r\n")
        check(reply.startswith(b"HTTP/1.1 4") or reply == b"", "megabyte path refused: %r" % reply[:30])
        check(up(), "still up after the megabytes")

        # An event stream opened now must outlive the request deadline below.
        long_stream = socket.create_connection(("127.0.0.1", port), timeout=10)
        long_stream.sendall(b"GET /events HTTP/1.1\r\nHost: " + host.encode() + b"\r\n\r\n")
        first = b""
        while b"event: model" not in first:
            first += long_stream.recv(65536)

        # A slow client: one byte every tenth of a second. Others are served
        # meanwhile, and the slow one is cut off within the request deadline.
        slow = socket.create_connection(("127.0.0.1", port), timeout=20)
        start = time.monotonic()
        closed = False
        message = b"GET /model HTTP/1.1\r\nHost: " + host.encode() + b"\r\nX-Pad: " + b"a" * 200
        for i, byte in enumerate(message):
            try:
                slow.send(bytes([byte]))
            except OSError:
                closed = True
                break
            if i == 3:
                check(up(), "served while a slow client dribbles")
            if time.monotonic() - start > 16:
                break
            time.sleep(0.1)
        if not closed:
            # Still sending after 16 s: the server must have closed by now.
            slow.settimeout(5)
            try:
                closed = slow.recv(100) == b""
            except socket.timeout:
                closed = False
            except OSError:
                closed = True
        slow.close()
        check(closed, "slow client cut off (after %.1f s)" % (time.monotonic() - start))

        # The stream opened before is still there and brings the next model.
        with open(run, "rb") as f:
            original = f.read()
        with open(run, "wb") as f:
            f.write(original.replace(b"CALVENA OVEST", b"CALVENA EST"))
        seen = b""
        long_stream.settimeout(10)
        try:
            while b"CALVENA EST" not in seen:
                chunk = long_stream.recv(65536)
                if not chunk:
                    break
                seen += chunk
        except OSError:
            pass
        check(b"CALVENA EST" in seen, "a stream open for more than 10 s brings the next model")
        long_stream.close()
        with open(run, "wb") as f:
            f.write(original)

        # Event streams: the first sixteen get the model, more are refused.
        streams = []
        statuses = []
        for _ in range(20):
            s = socket.create_connection(("127.0.0.1", port), timeout=10)
            s.sendall(b"GET /events HTTP/1.1\r\nHost: " + host.encode() + b"\r\n\r\n")
            head = s.recv(200)
            statuses.append(head[:12])
            streams.append(s)
        check(statuses.count(b"HTTP/1.1 200") == 16 and statuses.count(b"HTTP/1.1 503") == 4,
              "16 streams open, 4 refused: %r" % sorted(set(statuses)))
        check(up(), "still up with every stream open")
        for s in streams:
            s.close()
        wait_until(lambda: raw(port, b"GET /events HTTP/1.1\r\nHost: " + host.encode() + b"\r\n\r\n", 1)
                   .startswith(b"HTTP/1.1 200"), 10, "a stream after the others closed")
        check(True, "streams free again once closed")

        # A thousand random requests, each on its own connection.
        rng = random.Random(20261210)
        methods = [b"GET", b"POST", b"HEAD", b"BREW", b"", b"G\x00T", b"GET GET"]
        paths = [b"/", b"/model", b"/events", b"/plan?from=-1&to=x&points=", b"/cell?index=", b"/source?file=run&line=-5",
                 b"/locate?file=line&line=999999", b"*", b"http://127.0.0.1/", b"/%00", b"/\xff\xfe"]
        answered = 0
        for i in range(1000):
            kind = rng.randrange(4)
            if kind == 0:
                data = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 400)))
            else:
                data = (rng.choice(methods) + b" " + rng.choice(paths) + b" " + rng.choice([b"HTTP/1.1", b"HTTP/1.0", b"HTTP/9", b""])
                        + b"\r\n")
                if kind >= 2:
                    data += b"Host: " + rng.choice([host.encode(), b"x", b""]) + b"\r\n"
                if kind == 3:
                    data += b"Content-Length: " + rng.choice([b"5", b"-1", b"99999999999999999999", b"abc"]) + b"\r\n"
                data += b"\r\n" + (b"hello" if rng.random() < 0.5 else b"")
            reply = raw(port, data, read_seconds=0.5 if b"/events" in data else 3, then_close=True)
            answered += reply.startswith(b"HTTP/1.1 ")
            if i % 250 == 249:
                check(v.alive() and up(), "up after %d random requests" % (i + 1))
        print("   %d of 1000 random requests got an HTTP answer; the rest were closed" % answered)
        check(v.alive() and up(), "server up at the end")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
