'use strict';
// The small plot under the map: over the whole run, the star alpha the host drew, and for the
// followed cop his distance to the player and what is left of his grace time since he last saw him.
// Every point is a recorded value, or a difference of two.

// The series of one cop, by his recorded index: per sample his distance to the player (null while
// either is absent) and the grace left after his last sight (whole while he sees, null before any).
V.copSeries = function copSeries(r, k) {
  const s = r.samples,
    n = s.length,
    cops = s.cops,
    player = s.player;
  const distance = new Array(n).fill(null),
    grace = new Array(n).fill(null);
  const saw = cops.changes.series(k, 'sawMs'),
    state = cops.changes.series(k, 'state');
  for (let i = 0; i < n; i++) {
    const p = player.starts[i] < player.starts[i + 1] ? player.starts[i] : -1;
    for (let row = cops.starts[i]; p >= 0 && row < cops.starts[i + 1]; row++) {
      if (cops.entity[row] !== k) continue;
      distance[i] = Math.hypot(cops.x[row] - player.x[p], cops.y[row] - player.y[p]);
      break;
    }
    const j = V.lastAtOrBefore(saw.at, i),
      sawMs = j >= 0 ? saw.values[j] : null;
    const q = V.lastAtOrBefore(state.at, i);
    if (!Number.isFinite(r.graceMs)) continue;
    // While he sees the player his grace time is whole; the recorder writes his last sight as he stops.
    if (q >= 0 && state.values[q] === 'seeing') grace[i] = r.graceMs;
    else if (sawMs !== null) grace[i] = Math.max(0, Math.min(r.graceMs, r.graceMs - (s.times[i] - sawMs)));
  }
  return { distance, grace };
};

V.Plot = class {
  constructor(canvas, replay) {
    this.canvas = canvas;
    this.r = replay;
    const n = replay.samples.length;
    this.alpha = new Array(n);
    for (let i = 0; i < n; i++) {
      const a = replay.samples.field(i, 'starAlpha');
      this.alpha[i] = a === undefined ? null : a;
    }
    this.cop = null; // recorded index of the cop plotted
    this.series = { alpha: this.alpha, distance: null, grace: null };
  }
  // Follows a cop (by id) or nobody; his series are read once per cop.
  follow(id) {
    const k = id ? this.r.samples.cops.entities.findIndex(e => e.id === id) : -1;
    const cop = k >= 0 ? k : null;
    if (cop === this.cop) return;
    this.cop = cop;
    const own = cop === null ? { distance: null, grace: null } : V.copSeries(this.r, cop);
    this.series = { alpha: this.alpha, ...own };
    this.paintedWidth = null;
  }
  // Redrawn only when the width or the cop changes; the moment is shown by the cursor over it.
  draw() {
    const strip = V.stripCanvas(this, 56);
    if (!strip) return;
    const times = this.r.samples.times;
    const { distance, grace } = this.series;
    const far = distance ? distance.reduce((m, d) => (d === null ? m : Math.max(m, d)), 1) : 0;
    V.plotLine(strip, times, this.alpha, 1, V.colours.plotAlpha);
    V.plotLine(strip, times, distance, far, V.colours.plotDistance);
    V.plotLine(strip, times, grace, this.r.graceMs, V.colours.plotGrace);
    const cop =
      this.cop === null ? 'follow a cop for his distance and grace' : this.r.samples.cops.entities[this.cop].id;
    const own = distance ? `; ${cop}: distance (blue) up to ${Math.round(far)} m, grace left (orange)` : `; ${cop}`;
    V.stripLabel(strip, `star alpha (white)${own}`);
  }
};
