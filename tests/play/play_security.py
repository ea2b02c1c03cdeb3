"""The play server refuses what is not its own page: no token, a foreign Host or Origin, another
address; malformed messages get an error and leave it running; Ctrl-C ends it with 130."""
import json
import random
import socket
import sys

from play_client import Play

failures = []


def expect(what, ok):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def other_addresses():
    """Addresses of this machine besides the one listened on: another loopback and every interface's."""
    found = {"127.0.0.2"}
    try:
        for info in socket.getaddrinfo(socket.gethostname(), None, socket.AF_INET):
            found.add(info[4][0])
    except OSError:
        pass
    found.discard("127.0.0.1")
    return sorted(found)


def reachable(address, port):
    try:
        with socket.create_connection((address, port), timeout=2):
            return True
    except OSError:
        return False


def malformed(rng):
    """A message the page never sends."""
    kinds = [
        lambda: bytes(rng.randrange(256) for _ in range(rng.randrange(1, 200))),
        lambda: b"{" * rng.randrange(1, 5000),
        lambda: json.dumps(rng.choice([None, 1, "move", [], [1, 2], True])).encode(),
        lambda: json.dumps({"do": rng.choice(["key", "speed", "fly", "", 7, None])}).encode(),
        lambda: json.dumps({"do": "move", "dx": rng.choice([1e308, -5, "1", None, [], float("nan")])},
                           allow_nan=True).encode(),
        lambda: json.dumps({"do": "key", "key": rng.choice(["F99", "", "\u0000", 10, "x" * 1000])}).encode(),
        lambda: json.dumps({"do": "speed", "value": rng.choice([0, 100, -1, "2", None, 1e-9])}).encode(),
        lambda: json.dumps({"do": "move", "run": rng.choice(["yes", 1, None])}).encode(),
    ]
    return rng.choice(kinds)()


def main(sandbox, folder):
    play = Play(sandbox, ["demo", "--port", "0", "--dir", folder])
    ok = lambda status: status == 200
    expect("the page is served with the token", ok(play.request("GET", "/")[0]))
    expect("no token is refused", play.request("GET", "/", token=None)[0] == 403)
    expect("a wrong token is refused", play.request("GET", "/", token="0" * 32)[0] == 403)
    expect("a wrong token is refused on the data too", play.request("GET", "/settings", token="x")[0] == 403)
    expect("a foreign Host is refused", play.request("GET", "/", host=f"evil.example:{play.port}")[0] == 403)
    expect("a Host on another port is refused", play.request("GET", "/", host=f"127.0.0.1:{play.port + 1}")[0] == 403)
    expect("localhost is our Host", ok(play.request("GET", "/", host=f"localhost:{play.port}")[0]))
    expect("a foreign Origin is refused",
           play.request("POST", "/act", '{"do":"pause"}', origin="http://evil.example")[0] == 403)
    expect("a same-origin Origin passes",
           ok(play.request("POST", "/act", '{"do":"pause"}', origin=f"http://{play.host}")[0]))
    expect("only its own page and data are served", play.request("GET", "/etc/passwd")[0] == 404)
    for address in other_addresses():
        expect(f"not reachable on {address}", not reachable(address, play.port))

    rng = random.Random(25)
    statuses = {}
    for _ in range(1000):
        status = play.request("POST", "/act", malformed(rng))[0]
        statuses[status] = statuses.get(status, 0) + 1
    expect(f"every malformed message gets an error ({statuses})", set(statuses) <= {400, 413})
    expect("it still runs after them", play.act({"do": "resume"})["paused"] is False)
    expect("Ctrl-C ends it with 130", play.stop() == 130)
    if failures:
        sys.exit(f"{len(failures)} failed")
    print("all passed")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
