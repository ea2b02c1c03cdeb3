'use strict';
// Labels on the map that never cover each other: the more important ones are placed first, each
// at the first free spot of a few around its point, and the ones that find none are left out.

V.Labels = class {
  constructor() {
    this.items = [];
  }
  // priority: higher goes first; (x, y) the point labelled on the screen.
  add(text, x, y, priority, colour, font = '10px system-ui') {
    this.items.push({ text, x, y, priority, colour, font });
  }
  draw(ctx) {
    const placed = [],
      shown = [];
    const overlaps = r => placed.some(p => r.x < p.x + p.w && p.x < r.x + r.w && r.y < p.y + p.h && p.y < r.y + r.h);
    this.items.sort((a, b) => b.priority - a.priority);
    for (const item of this.items) {
      ctx.font = item.font;
      const w = ctx.measureText(item.text).width + 2,
        h = 12;
      const spots = [
        [8, 2],
        [8, -h - 2],
        [-w - 8, 2],
        [-w - 8, -h - 2],
        [-w / 2, 8],
        [-w / 2, -h - 8],
      ];
      for (const [ox, oy] of spots) {
        const r = { x: item.x + ox, y: item.y + oy, w, h };
        if (overlaps(r)) continue;
        placed.push(r);
        shown.push(item.text);
        ctx.fillStyle = item.colour;
        ctx.textAlign = 'left';
        ctx.textBaseline = 'top';
        ctx.fillText(item.text, r.x + 1, r.y);
        break;
      }
    }
    ctx.textBaseline = 'alphabetic';
    this.items = [];
    return shown;
  }
};
