"""Starts `vigilor-sandbox play` and talks to it as a page would, or as a page must not."""
import http.client
import json
import re
import signal
import subprocess
import sys
import time


class Play:
    def __init__(self, sandbox, args):
        # A script drives the run itself: it starts at once rather than wait for a first key.
        self.proc = subprocess.Popen([sandbox, "play", "--start-now", *args], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        m = re.search(r"http://([\d.]+):(\d+)/\?token=([0-9a-f]+)", line)
        if not m:
            self.proc.kill()
            sys.exit(f"no address printed: {line!r} {self.proc.stderr.read()}")
        self.address, self.port, self.token = m.group(1), int(m.group(2)), m.group(3)
        self.host = f"{self.address}:{self.port}"

    def request(self, method, path, body=None, host=None, origin=None, token=True, address=None, timeout=10):
        """(status, body text); headers are set by hand so that a test can lie in them."""
        conn = http.client.HTTPConnection(address or self.address, self.port, timeout=timeout)
        if token is True:
            token = self.token
        if token:
            path += ("&" if "?" in path else "?") + "token=" + token
        conn.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
        conn.putheader("Host", host or self.host)
        if origin:
            conn.putheader("Origin", origin)
        data = body if isinstance(body, bytes) else (None if body is None else body.encode())
        if data is not None:
            conn.putheader("Content-Type", "application/json")
            conn.putheader("Content-Length", str(len(data)))
        conn.endheaders(data)
        res = conn.getresponse()
        text = res.read().decode(errors="replace")
        conn.close()
        return res.status, text

    def act(self, message):
        status, text = self.request("POST", "/act", json.dumps(message))
        if status != 200:
            sys.exit(f"{message} refused: {status} {text}")
        return json.loads(text)

    def wait_run_ms(self, ms, limit_s=30):
        """Waits until the run has reached `ms` of run time."""
        end = time.time() + limit_s
        while time.time() < end:
            if self.act({"do": "speed", "value": 4})["runMs"] >= ms:
                return
            time.sleep(0.05)
        sys.exit(f"the run did not reach {ms} ms")

    def stop(self):
        """Ctrl-C; returns the exit status."""
        self.proc.send_signal(signal.SIGINT)
        try:
            return self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return None
