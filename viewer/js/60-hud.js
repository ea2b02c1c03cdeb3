'use strict';
// The header's legend and the wanted stars as the host drew them, and the timeline of the seeing
// and lost counts.

// Sets a property of an element only when it changes: every write costs the page a style pass.
V.put = function put(target, key, value) {
  if (target[key] !== value) target[key] = value;
};

// The legend's chips in the colours the map draws cops with.
V.paintLegend = function paintLegend(el) {
  for (const chip of el.querySelectorAll('.chip')) chip.style.borderColor = V.colours[chip.dataset.kind];
};

V.drawStars = function drawStars(el, frame) {
  const wanted = frame.player ? frame.player.wanted || 0 : 0;
  const stars = frame.stars || {};
  // The host hides flashing stars in every second 250 ms slice of its clock.
  const hidden = stars.visible === false || (stars.flashing && Math.floor(frame.t / 250) % 2 === 1);
  V.put(el, 'textContent', '★'.repeat(wanted) + '☆'.repeat(Math.max(0, 6 - wanted)));
  V.put(
    el.style,
    'opacity',
    String(hidden ? 0.08 : Math.max(0.05, frame.starAlpha === undefined ? 1 : frame.starAlpha)),
  );
  V.put(el.dataset, 'alpha', frame.starAlpha === undefined ? '' : String(frame.starAlpha));
  V.put(el.dataset, 'flashing', stars.flashing ? '1' : '0');
  V.put(
    el,
    'title',
    `wanted ${wanted}, star alpha ${(frame.starAlpha ?? 1).toFixed(2)}${stars.flashing ? ', flashing' : ''}`,
  );
};

// A strip under the map sized to its width, or null when it was painted at this width already
// (`owner.paintedWidth`): its values over the whole run do not move with the moment.
V.stripCanvas = function stripCanvas(owner, height) {
  const c = owner.canvas,
    dpr = window.devicePixelRatio || 1,
    w = c.clientWidth || 600,
    h = c.clientHeight || height;
  if (owner.paintedWidth === w) return null;
  owner.paintedWidth = w;
  c.width = Math.round(w * dpr);
  c.height = Math.round(h * dpr);
  const ctx = c.getContext('2d');
  ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
  return { ctx, w, h, end: owner.r.end || 1 };
};

// One value per sample as a line over the strip, 0 at the bottom and `top` near the top; a null
// value leaves a gap. At most one point a pixel.
V.plotLine = function plotLine({ ctx, w, h, end }, times, values, top, colour) {
  if (!values || !(top > 0)) return;
  ctx.strokeStyle = colour;
  ctx.lineWidth = 1.5;
  ctx.beginPath();
  let open = false;
  const step = Math.max(1, Math.floor(times.length / w));
  for (let i = 0; i < times.length; i += step) {
    if (values[i] === null) {
      open = false;
      continue;
    }
    const x = (times[i] / end) * w,
      y = h - 3 - (Math.min(values[i], top) / top) * (h - 14);
    if (open) ctx.lineTo(x, y);
    else ctx.moveTo(x, y);
    open = true;
  }
  ctx.stroke();
};

// What a strip shows, at its top left.
V.stripLabel = function stripLabel({ ctx }, text) {
  ctx.fillStyle = V.colours.timelineLabel;
  ctx.font = '10px system-ui';
  ctx.textAlign = 'left';
  ctx.fillText(text, 4, 10);
};

V.Timeline = class {
  constructor(canvas, replay) {
    this.canvas = canvas;
    this.r = replay;
    const n = replay.samples.length;
    this.seeing = new Array(n);
    this.lost = new Array(n);
    this.max = 1;
    for (let i = 0; i < n; i++) {
      const c = replay.samples.field(i, 'counts') || {};
      this.seeing[i] = c.seeing || 0;
      this.lost[i] = c.lost || 0;
      this.max = Math.max(this.max, this.seeing[i], this.lost[i]);
    }
  }
  timeAt(clientX) {
    const rect = this.canvas.getBoundingClientRect();
    return Math.max(0, Math.min(1, (clientX - rect.left) / rect.width)) * this.r.end;
  }
  // The counts over the whole run change only with the width; the moment is shown by the cursor.
  draw() {
    const strip = V.stripCanvas(this, 48);
    if (!strip) return;
    const { ctx, w, end } = strip;
    V.plotLine(strip, this.r.samples.times, this.lost, this.max, V.colours.lost);
    V.plotLine(strip, this.r.samples.times, this.seeing, this.max, V.colours.seeing);
    ctx.fillStyle = V.colours.gunshot;
    for (const g of this.r.gunshots) ctx.fillRect((g.t / end) * w - 1, 0, 2, 6);
    V.stripLabel(strip, `seeing (green) / lost (orange), up to ${this.max}`);
  }
};
