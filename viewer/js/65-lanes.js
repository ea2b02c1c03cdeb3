'use strict';
// A lane per cop under the map: what he was doing over the whole run (seeing, chasing, lost,
// searching, defending), so the pursuit shows at a glance; a click jumps there and follows him.

V.laneKind = function laneKind(state, step) {
  if (state === 'lost' && step === 'defending') return 'defending';
  if (state === 'lost' && step && step !== 'none') return 'searching';
  return state;
};

V.Lanes = class {
  constructor(canvas, replay) {
    this.canvas = canvas;
    this.r = replay;
    const cops = replay.samples.cops;
    this.count = cops.entities.length;
    // A few cops get lanes tall enough to carry their names; many share the same 160 pixels.
    this.laneHeight = Math.max(2, Math.min(V.laneNameHeight, Math.floor(160 / Math.max(1, this.count))));
    canvas.style.height = `${Math.max(1, this.count) * this.laneHeight}px`;
    // Per cop: [{s, kind}] at each point where his state or his step changed.
    this.spans = [];
    for (let k = 0; k < this.count; k++) {
      const state = cops.changes.series(k, 'state'),
        step = cops.changes.series(k, 'step');
      const at = [...new Set([...state.at, ...step.at])].sort((a, b) => a - b);
      this.spans.push(
        at.map(s => {
          const i = V.lastAtOrBefore(state.at, s),
            j = V.lastAtOrBefore(step.at, s);
          return { s, kind: V.laneKind(i >= 0 ? state.values[i] : null, j >= 0 ? step.values[j] : null) };
        }),
      );
    }
  }
  // The cop and the time under a point of the lanes.
  at(clientX, clientY) {
    const rect = this.canvas.getBoundingClientRect();
    const k = Math.floor((clientY - rect.top) / this.laneHeight);
    const t = Math.max(0, Math.min(1, (clientX - rect.left) / rect.width)) * this.r.end;
    return { cop: k >= 0 && k < this.count ? this.r.samples.cops.entities[k].id : null, t };
  }
  paint() {
    const c = this.canvas,
      dpr = window.devicePixelRatio || 1,
      w = c.clientWidth || 600,
      h = this.count * this.laneHeight;
    this.image = document.createElement('canvas');
    this.image.width = Math.round(w * dpr);
    this.image.height = Math.max(1, Math.round(h * dpr));
    const ctx = this.image.getContext('2d'),
      times = this.r.samples.times,
      end = this.r.end || 1;
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    this.spans.forEach((spans, k) => {
      spans.forEach((span, i) => {
        const colour = V.colours[span.kind];
        if (!colour || span.kind === 'plain') return;
        const x0 = (times[span.s] / end) * w,
          next = spans[i + 1];
        const x1 = next ? (times[next.s] / end) * w : w;
        ctx.fillStyle = colour;
        ctx.fillRect(x0, k * this.laneHeight, Math.max(1, x1 - x0), this.laneHeight - (this.laneHeight > 3 ? 1 : 0));
      });
    });
    if (this.laneHeight >= V.laneNameHeight) {
      ctx.font = `${this.laneHeight - 3}px sans-serif`;
      ctx.textBaseline = 'middle';
      ctx.fillStyle = V.colours.laneName;
      this.r.samples.cops.entities.forEach((cop, k) => ctx.fillText(cop.id, 3, (k + 0.5) * this.laneHeight));
    }
    this.paintedWidth = w;
  }
  // The lanes change only with the width; the moment is shown by the cursor over them.
  draw() {
    const c = this.canvas,
      dpr = window.devicePixelRatio || 1,
      w = c.clientWidth || 600,
      h = this.count * this.laneHeight;
    if (this.image && this.paintedWidth === w) return;
    this.paint();
    c.width = Math.round(w * dpr);
    c.height = Math.max(1, Math.round(h * dpr));
    const ctx = c.getContext('2d');
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, c.width, c.height);
    ctx.drawImage(this.image, 0, 0);
  }
};
