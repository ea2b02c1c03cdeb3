"""A play kept as a scenario replays identically: keys through the server, save, `run` the saved
file, and the run's log is the play's, byte for byte. In the demo the scenario's own player moves
come later than the user's first key: they end there, in the play as in the saved file."""
import filecmp
import json
import os
import subprocess
import sys

from play_client import Play


def main(sandbox, folder):
    for scenario in ("foot-search", "demo"):
        replays_identically(sandbox, scenario, os.path.join(folder, scenario))


def replays_identically(sandbox, scenario, folder):
    game = os.path.join(folder, "play")
    play = Play(sandbox, [scenario, "--port", "0", "--dir", game])
    play.act({"do": "speed", "value": 4})
    moves = [
        {"do": "move", "dx": 1, "dy": 0, "run": True},
        {"do": "move", "dx": 1, "dy": 1, "run": False},
        {"do": "fire"},
        {"do": "move", "dx": -1, "dy": 0, "run": True},
        {"do": "key", "key": "F10"},
        {"do": "key", "key": "F10"},
        {"do": "move", "dx": 0, "dy": 0},
    ]
    for i, move in enumerate(moves):
        play.wait_run_ms(1500 * (i + 1))
        play.act(move)
    play.wait_run_ms(1500 * (len(moves) + 2))
    play.act({"do": "pause"})
    for _ in range(3):
        play.act({"do": "step"})
    status, text = play.request("POST", "/save", "{}")
    if status != 200:
        sys.exit(f"save refused: {text}")
    saved = json.loads(text)["path"]
    if play.stop() != 130:
        sys.exit("the play did not stop with 130")
    played = json.load(open(saved))
    kinds = [e["do"] for e in played["events"]]
    for kind in ("playerMove", "playerFire", "key"):
        if kind not in kinds:
            sys.exit(f"the saved play has no {kind} event: {kinds}")
    rerun = os.path.join(folder, "rerun")
    subprocess.run([sandbox, "run", saved, "--quiet", "--force", "--dir", rerun], check=True)
    for log in ("vigilor.log", "vigilor.timed.log"):
        if not filecmp.cmp(os.path.join(game, log), os.path.join(rerun, log), shallow=False):
            sys.exit(f"{log} of the saved play's run differs from the play's")
    check = subprocess.run([sandbox, "check", saved, "--quiet", "--force", "--dir", rerun])
    if check.returncode != 0:
        sys.exit("check refused the saved play")
    print(f"{scenario}: the saved play replays identically")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
