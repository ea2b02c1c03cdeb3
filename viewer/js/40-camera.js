'use strict';
// The map's view: world metres to canvas pixels (y up), fitted to the world, panned and zoomed.

V.Camera = class {
  constructor() {
    this.cx = 0;
    this.cy = 0;
    this.scale = 4;
    this.w = 1;
    this.h = 1;
  }
  fit(bounds, w, h) {
    this.w = w;
    this.h = h;
    this.cx = (bounds.minX + bounds.maxX) / 2;
    this.cy = (bounds.minY + bounds.maxY) / 2;
    const spanX = Math.max(bounds.maxX - bounds.minX, 20),
      spanY = Math.max(bounds.maxY - bounds.minY, 20);
    this.scale = Math.min(w / spanX, h / spanY) * 0.9;
  }
  x(wx) {
    return (wx - this.cx) * this.scale + this.w / 2;
  }
  y(wy) {
    return this.h / 2 - (wy - this.cy) * this.scale;
  }
  worldX(sx) {
    return (sx - this.w / 2) / this.scale + this.cx;
  }
  worldY(sy) {
    return (this.h / 2 - sy) / this.scale + this.cy;
  }
  zoom(factor, sx, sy) {
    const wx = this.worldX(sx),
      wy = this.worldY(sy);
    this.scale = Math.min(200, Math.max(0.05, this.scale * factor));
    this.cx = wx - (sx - this.w / 2) / this.scale;
    this.cy = wy + (sy - this.h / 2) / this.scale;
  }
};

// Everything the run touches: boxes, nodes, and where the player, cops and vehicles went (sampled).
V.worldBounds = function worldBounds(r) {
  const b = { minX: Infinity, minY: Infinity, maxX: -Infinity, maxY: -Infinity };
  const add = (x, y) => {
    if (!Number.isFinite(x) || !Number.isFinite(y)) return;
    b.minX = Math.min(b.minX, x);
    b.maxX = Math.max(b.maxX, x);
    b.minY = Math.min(b.minY, y);
    b.maxY = Math.max(b.maxY, y);
  };
  for (const box of r.world.boxes) {
    add(box.min[0], box.min[1]);
    add(box.max[0], box.max[1]);
  }
  const n = r.samples.length,
    stride = Math.max(1, Math.floor(n / 40));
  for (let i = 0; i < n; i += stride) {
    const s = r.samples.at(i);
    if (s.player) add(s.player.pos[0], s.player.pos[1]);
    for (const c of s.cops) add(c.pos[0], c.pos[1]);
    for (const v of s.vehicles) add(v.pos[0], v.pos[1]);
  }
  if (!Number.isFinite(b.minX)) return { minX: -50, minY: -50, maxX: 50, maxY: 50 };
  return b;
};
