'use strict';
// The live play: the replay viewer's app following a run as it happens, the user being the player.
// It replaces the viewer's app before the page starts it, and keeps its map, panel, log and strips;
// the controls drive the server's run instead of a recording (play / pause, a frame on, the speed).

V.ReplayApp = V.App;

V.App = class LiveApp extends V.ReplayApp {
  constructor(replay) {
    super(replay);
    this.replay = null;
    this.live = true;
    this.keys = new V.HeldKeys();
    this.latencies = [];
    // For each of them where the time went: the key's reply, the update's arrival and decoding, the drawing.
    this.latencyParts = [];
    this.keyAt = null;
    this.stripsAt = -Infinity;
    this.panel = new V.PlayPanel(document.getElementById('side'));
    // The page asks the server for nothing but its data: not even an icon, which it would refuse.
    document.head.append(V.el('link', { rel: 'icon', href: 'data:,' }));
    document.title = document.title.replace('Vigilor replay:', 'Vigilor');
    const h1 = document.querySelector('h1');
    h1.textContent = h1.textContent.replace('Vigilor replay:', 'Vigilor');
    for (const option of document.querySelectorAll('#speed option')) if (Number(option.value) > 4) option.remove();
    document
      .getElementById('speed')
      .addEventListener('change', e => this.act({ do: 'speed', value: Number(e.target.value) }));
    this.wireKeys();
    this.wireView();
    for (const [id, newSeed] of [
      ['play-restart', false],
      ['play-new-seed', true],
    ])
      document.getElementById(id).addEventListener('click', () => {
        this.live = true;
        this.act({ do: 'restart', newSeed });
      });
    this.connect();
  }
  connect() {
    const source = new EventSource(V.server.url('/events'));
    // Counted for the measurements: updates taken, and frames drawn (in render).
    this.updates = 0;
    this.drawn = 0;
    const take = (e, full) => {
      this.arrivedAt = performance.now();
      const m = JSON.parse(e.data);
      this.updates++;
      if (full) {
        this.replay = new V.live.Replay(m.data);
        this.logGrew = true;
      } else if (this.replay) this.logGrew = this.replay.add(m.data) || this.logGrew;
      this.decodedAt = performance.now();
      this.dirty = true;
      this.showState(m.state);
      this.schedule();
    };
    source.addEventListener('full', e => take(e, true));
    source.addEventListener('update', e => take(e, false));
    source.addEventListener('error', () => this.panel.show('the play’s server is gone', true));
  }
  schedule() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => {
      this.pending = false;
      this.refresh();
    });
  }
  refresh() {
    if (this.dirty) {
      this.dirty = false;
      this.useReplay(this.replay.r);
    }
    if (this.live) this.t = this.r.end;
    this.render();
  }
  useReplay(r) {
    this.r = r;
    this.map.r = r;
    this.logPanel.r = r;
    // The log panel keeps the lines passing its filters until the log grows.
    if (this.logGrew) this.logPanel.idx = undefined;
    this.logGrew = false;
    // The strips cover the whole play: redrawn twice a second, not with every frame.
    const now = performance.now();
    if (now - this.stripsAt >= 500) {
      this.stripsAt = now;
      this.timeline = new V.Timeline(document.getElementById('timeline'), r);
      this.lanes = new V.Lanes(document.getElementById('lanes'), r);
      this.plot = new V.Plot(document.getElementById('plot'), r);
    }
    this.slider.max = String(Math.round(r.end));
  }
  showState(s) {
    this.serverState = s;
    this.playing = !s.paused;
    V.put(document.getElementById('play'), 'textContent', s.waiting ? 'start' : s.paused ? 'play' : 'pause');
    this.panel.showState(s, this.live);
  }
  // Messages go one after another: a key let go must not overtake the one pressed after it.
  act(message) {
    this.sending = (this.sending || Promise.resolve())
      .then(() => V.server.send('/act', message))
      .then(s => {
        this.repliedAt = performance.now();
        this.showState(s);
        if (s.note) this.panel.show(s.note);
      })
      .catch(e => this.panel.show(e.message, true));
  }
  // Play and pause drive the run; looking back stops it.
  play(on) {
    if (on) this.live = true;
    this.act({ do: on ? 'resume' : 'pause' });
  }
  stepSample(dir) {
    if (dir > 0 && this.t >= this.r.end) {
      this.live = true;
      this.act({ do: 'step' });
      return;
    }
    super.stepSample(dir);
  }
  seek(t) {
    this.live = t >= this.r.end;
    super.seek(t);
  }
  frameAt(t) {
    this.frame = super.frameAt(t);
    return this.frame;
  }
  render() {
    const drawFrom = performance.now();
    super.render();
    this.drawn++;
    const d = this.status.dataset,
      p = this.frame && this.frame.player;
    V.put(d, 'live', this.live ? '1' : '0');
    V.put(d, 'player', p ? `${p.pos[0].toFixed(2)},${p.pos[1].toFixed(2)}` : '');
    V.put(d, 'playerVehicle', p && p.vehicle ? p.vehicle : '');
    // From a key to the first frame that draws the player elsewhere than he was drawn at the key.
    if (this.keyAt !== null && p) {
      const at = this.playerAt();
      if (this.keyFrom === undefined) this.keyFrom = at;
      else if (at !== this.keyFrom) {
        const now = performance.now(),
          since = t => Math.round((t - this.keyAt) * 10) / 10;
        this.latencies.push(now - this.keyAt);
        this.latencyParts.push({
          replied: since(this.repliedAt),
          arrived: since(this.arrivedAt),
          decoded: since(this.decodedAt),
          drawFrom: since(drawFrom),
          drawn: since(now),
        });
        this.keyAt = null;
        this.keyFrom = undefined;
      }
    }
  }
  // Where the player is drawn, as text; undefined before the first frame.
  playerAt() {
    const p = this.frame && this.frame.player;
    return p ? `${p.pos[0]},${p.pos[1]}` : undefined;
  }
  // The map keeps the player in view until the user pans it himself or unticks the box.
  wireView() {
    const keep = this.panel.keep;
    this.map.keepPlayer = keep.checked;
    keep.addEventListener('change', () => {
      this.map.keepPlayer = keep.checked;
      this.render();
    });
    this.map.canvas.addEventListener('mousemove', e => {
      if (e.buttons && keep.checked) {
        keep.checked = false;
        this.map.keepPlayer = false;
      }
    });
  }
  wireKeys() {
    const key = (e, down) => {
      if (e.target.tagName === 'INPUT' || e.target.tagName === 'SELECT') return;
      const move = this.keys.note(e.code, down, e.shiftKey);
      if (move) {
        e.preventDefault();
        if (down && this.keyAt === null) {
          this.keyAt = performance.now();
          // Not the next frame drawn: that may be the key's own.
          this.keyFrom = this.playerAt();
        }
        this.act(move);
        return;
      }
      const action = V.playKeys.actions[e.code];
      if (action) {
        e.preventDefault();
        if (down && !e.repeat) this.act(action);
      }
    };
    // A list or slider keeps the keyboard once used, and would take the player's arrows: once it has
    // its value, the keys go back to the play.
    document.addEventListener('change', e => {
      if (e.target.matches('select, input[type="range"]')) e.target.blur();
    });
    window.addEventListener('keydown', e => key(e, true));
    window.addEventListener('keyup', e => key(e, false));
    // Keys let go while the page is not in front would be held for ever.
    window.addEventListener('blur', () => {
      this.keys.held.clear();
      const move = this.keys.note('ShiftLeft', false, false);
      if (move) this.act(move);
    });
  }
};
