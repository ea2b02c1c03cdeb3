"""The play tells how the wanted level ended, and a restart starts over and waits for the player:
a cop stands beside him, so the host arrests him at once (1.12 s: the
play's 16 ms frames)."""
import json
import os
import sys
import time

from play_client import Play

SCENARIO = {
    "name": "arrest-at-once", "durationMs": 60000, "seed": 1,
    "host": {"pursuit": True, "arrestMs": 1000},
    "player": {"pos": [0, 0, 0], "wanted": 2},
    "peds": [{"id": "cop1", "type": 6, "pos": [0, -4, 0]}],
}


def main(sandbox, folder):
    os.makedirs(folder, exist_ok=True)
    scenario = os.path.join(folder, "arrest.json")
    with open(scenario, "w") as f:
        json.dump(SCENARIO, f)
    play = Play(sandbox, [scenario, "--port", "0", "--dir", os.path.join(folder, "game")])
    end = time.time() + 30
    state = play.act({"do": "speed", "value": 4})
    while state["ended"] is None and time.time() < end:
        time.sleep(0.05)
        state = play.act({"do": "speed", "value": 4})
    failures = []
    if state["ended"] != {"atMs": 1120, "how": "arrested"}:
        failures.append(f"ended: {state['ended']}")
    state = play.act({"do": "restart", "newSeed": True})
    if not (state["waiting"] and state["paused"] and state["ended"] is None and state["seed"] == 2):
        failures.append(f"after a restart: {state}")
    if play.act({"do": "move", "dx": 1, "dy": 0})["waiting"]:
        failures.append("the player's first key did not start the run")
    play.stop()
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
