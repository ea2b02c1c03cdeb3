'use strict';
// Drawing one moment of the run on the map.

// A cop's look on the map: the recorder's state, refined by what the log says he is doing.
V.copLook = function copLook(r, cop, t) {
  const fromLog = V.stepAt(r, cop.ptr, t);
  const recorded = cop.step && cop.step !== 'none' ? String(cop.step) : null;
  const step = (fromLog && fromLog.step) || recorded;
  let kind = cop.state || 'chasing';
  if (kind !== 'dead' && kind !== 'plain' && fromLog && fromLog.defending) kind = 'defending';
  else if (kind === 'lost' && step && !cop.vehicle) kind = 'searching';
  const colour =
    cop.vehicle && kind !== 'dead' && kind !== 'seeing' && kind !== 'plain'
      ? V.colours.invehicle
      : V.colours[kind] || V.colours.chasing;
  return { kind, step, leg: fromLog && fromLog.leg, alert: !!cop.alert, colour };
};

function lerp(a, b, f) {
  return a + (b - a) * f;
}
function lerpAngle(a, b, f) {
  const d = ((b - a + 540) % 360) - 180;
  return a + d * f;
}

// Cops and vehicles between two samples, moved smoothly by id.
V.between = function between(list, nextList, f) {
  if (!nextList || f <= 0) return list;
  const next = new Map(nextList.map(e => [e.id, e]));
  return list.map(e => {
    const n = next.get(e.id);
    if (!n || !e.pos || !n.pos) return e;
    return Object.assign({}, e, {
      pos: [lerp(e.pos[0], n.pos[0], f), lerp(e.pos[1], n.pos[1], f), e.pos[2]],
      heading: lerpAngle(e.heading || 0, n.heading || 0, f),
    });
  });
};

// Screen angle of a heading in degrees (facing (-sin h, cos h), y up in the world).
V.screenAngle = h => Math.atan2(-Math.cos(V.radians(h)), -Math.sin(V.radians(h)));

V.MapView = class {
  constructor(canvas, replay) {
    this.canvas = canvas;
    this.r = replay;
    this.cam = new V.Camera();
    this.follow = null;
    this.drawn = [];
    this.labels = new V.Labels();
  }
  resize() {
    const c = this.canvas,
      dpr = window.devicePixelRatio || 1;
    const w = c.clientWidth || 600,
      h = c.clientHeight || 400;
    c.width = Math.round(w * dpr);
    c.height = Math.round(h * dpr);
    this.dpr = dpr;
    if (!this.fitted) {
      this.cam.fit(V.worldBounds(this.r), w, h);
      this.fitted = true;
    } else {
      this.cam.w = w;
      this.cam.h = h;
    }
  }
  // Pans just enough to keep a point within the middle of the map: the view follows without
  // swinging with every step.
  keepInView([x, y]) {
    const cam = this.cam,
      marginX = cam.w * 0.2,
      marginY = cam.h * 0.2;
    const sx = cam.x(x),
      sy = cam.y(y);
    if (sx < marginX) cam.cx -= (marginX - sx) / cam.scale;
    else if (sx > cam.w - marginX) cam.cx += (sx - (cam.w - marginX)) / cam.scale;
    if (sy < marginY) cam.cy += (marginY - sy) / cam.scale;
    else if (sy > cam.h - marginY) cam.cy -= (sy - (cam.h - marginY)) / cam.scale;
  }
  draw(frame) {
    // Opaque: the compositor copies it without blending, and the world layer paints the background.
    const ctx = this.canvas.getContext('2d', { alpha: false }),
      cam = this.cam;
    ctx.setTransform(this.dpr, 0, 0, this.dpr, 0, 0);
    if (this.follow) {
      const c = frame.cops.find(k => k.id === this.follow);
      if (c) {
        cam.cx = c.pos[0];
        cam.cy = c.pos[1];
      }
    } else if (this.keepPlayer && frame.player) this.keepInView(frame.player.pos);
    this.drawWorldLayer(ctx);
    this.drawScene(ctx, frame);
    this.drawn = [];
    // All cones of one look go into one path, filled once: far cheaper than a fill per cop.
    const cones = { plain: new Path2D(), alert: new Path2D() };
    for (const cop of frame.cops) this.addSight(cones, cop);
    // Only the alert cones (few) get an outline: outlining every cone cost more than all the rest.
    ctx.fillStyle = V.colours.cone;
    ctx.fill(cones.plain);
    ctx.fillStyle = V.colours.alertCone;
    ctx.strokeStyle = V.colours.alertConeEdge;
    ctx.lineWidth = 1;
    ctx.fill(cones.alert);
    ctx.stroke(cones.alert);
    for (const v of frame.vehicles) this.drawVehicle(ctx, v);
    this.drawSightLines(ctx, frame);
    for (const cop of frame.cops) this.drawCop(ctx, frame, cop);
    this.drawPlayer(ctx, frame);
    this.shownLabels = this.labels.draw(ctx);
  }
  // The questions the followed cop's latest sight test rests on: green clear, red to where a
  // building blocked it, with that building outlined.
  drawSightLines(ctx, frame) {
    const cop = this.follow && frame.cops.find(c => c.id === this.follow);
    this.sightLines = [];
    if (!cop || !frame.player) return;
    const cam = this.cam;
    for (const q of V.sightQuestions(this.r, cop, frame.index)) {
      this.sightLines.push({ clear: q.clear, blocker: q.blocker });
      const from = q.from || cop.pos,
        to = q.to || frame.player.pos;
      ctx.strokeStyle = q.clear ? V.colours.sightClear : V.colours.sightBlocked;
      ctx.lineWidth = 2;
      ctx.setLineDash(q.clear ? [] : [6, 3]);
      ctx.beginPath();
      ctx.moveTo(cam.x(from[0]), cam.y(from[1]));
      ctx.lineTo(cam.x(to[0]), cam.y(to[1]));
      ctx.stroke();
      ctx.setLineDash([]);
      const b = typeof q.blocker === 'number' ? this.r.world.boxes[q.blocker] : null;
      if (b) {
        ctx.strokeStyle = V.colours.sightBlocked;
        ctx.lineWidth = 2;
        ctx.strokeRect(
          cam.x(b.min[0]),
          cam.y(b.max[1]),
          (b.max[0] - b.min[0]) * cam.scale,
          (b.max[1] - b.min[1]) * cam.scale,
        );
      }
    }
  }
  // The world does not change: it is drawn once per view to a canvas of its own and copied after.
  drawWorldLayer(ctx) {
    const cam = this.cam,
      c = this.canvas,
      key = `${cam.cx}|${cam.cy}|${cam.scale}|${cam.w}|${cam.h}|${c.width}`;
    if (!this.worldLayer) this.worldLayer = document.createElement('canvas');
    const layer = this.worldLayer;
    if (this.worldKey !== key) {
      this.worldKey = key;
      layer.width = c.width;
      layer.height = c.height;
      const lctx = layer.getContext('2d', { alpha: false });
      lctx.fillStyle = V.colours.background;
      lctx.fillRect(0, 0, layer.width, layer.height);
      lctx.setTransform(this.dpr, 0, 0, this.dpr, 0, 0);
      this.drawWorld(lctx);
    }
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.drawImage(layer, 0, 0);
    ctx.restore();
  }
  drawWorld(ctx) {
    const cam = this.cam,
      w = this.r.world;
    ctx.fillStyle = V.colours.noGround;
    for (const h of w.noGround || []) {
      ctx.fillRect(cam.x(h[0]), cam.y(h[3]), (h[2] - h[0]) * cam.scale, (h[3] - h[1]) * cam.scale);
    }
    const nodes = w.nodes || [];
    ctx.strokeStyle = V.colours.pathLink;
    ctx.lineWidth = 1;
    ctx.beginPath();
    for (const [a, b] of w.links || []) {
      if (!nodes[a] || !nodes[b]) continue;
      ctx.moveTo(cam.x(nodes[a][0]), cam.y(nodes[a][1]));
      ctx.lineTo(cam.x(nodes[b][0]), cam.y(nodes[b][1]));
    }
    ctx.stroke();
    ctx.fillStyle = V.colours.pathNode;
    for (const n of nodes) ctx.fillRect(cam.x(n[0]) - 1.5, cam.y(n[1]) - 1.5, 3, 3);
    ctx.fillStyle = V.colours.building;
    ctx.strokeStyle = V.colours.buildingEdge;
    ctx.font = '11px system-ui';
    ctx.textAlign = 'center';
    for (const b of w.boxes) {
      const x = cam.x(b.min[0]),
        y = cam.y(b.max[1]),
        bw = (b.max[0] - b.min[0]) * cam.scale,
        bh = (b.max[1] - b.min[1]) * cam.scale;
      ctx.fillRect(x, y, bw, bh);
      ctx.strokeRect(x, y, bw, bh);
      if (b.id && bw > 30) {
        ctx.fillStyle = V.colours.buildingLabel;
        ctx.fillText(b.id, x + bw / 2, y + bh / 2 + 4);
        ctx.fillStyle = V.colours.building;
      }
    }
  }
  drawScene(ctx, frame) {
    const cam = this.cam;
    for (const g of frame.gunshots) {
      const age = (frame.t - g.t) / V.gunshotFadeMs;
      ctx.strokeStyle = V.colours.gunshot;
      ctx.globalAlpha = 1 - age;
      ctx.lineWidth = 2;
      ctx.beginPath();
      ctx.arc(cam.x(g.x), cam.y(g.y), Math.max(4, (g.range || 10) * cam.scale * Math.min(1, age * 3)), 0, V.fullCircle);
      ctx.stroke();
      ctx.globalAlpha = 1;
    }
    if (!frame.scene) return;
    const x = cam.x(frame.scene[0]),
      y = cam.y(frame.scene[1]);
    ctx.strokeStyle = V.colours.scene;
    ctx.lineWidth = 2;
    ctx.beginPath();
    ctx.moveTo(x - 8, y - 8);
    ctx.lineTo(x + 8, y + 8);
    ctx.moveTo(x + 8, y - 8);
    ctx.lineTo(x - 8, y + 8);
    ctx.stroke();
    const age = frame.sceneAge === null ? '' : `, confirmed ${(frame.sceneAge / 1000).toFixed(1)} s ago`;
    this.labels.add(`scene${age}`, x, y, 50, V.colours.scene, '11px system-ui');
  }
  // The part of his sight cone the cop can see, as the recorder gave his view, added to the path of
  // its look (alert or not).
  addSight(cones, cop) {
    if (cop.state === 'dead' || cop.sightRange === undefined) return;
    const cam = this.cam,
      path = cop.alert ? cones.alert : cones.plain;
    if (cop.sightRange * cam.scale < 2) return;
    const eye = (cop.pos[2] || 0) + (this.r.world.eyeHeight || 0);
    const fan = V.visibleFan(this.r.world.boxes, cop.pos, eye, cop.heading || 0, cop.sightRange, cop.cone);
    fan.forEach(([wx, wy], i) => (i ? path.lineTo(cam.x(wx), cam.y(wy)) : path.moveTo(cam.x(wx), cam.y(wy))));
    path.closePath();
  }
  drawCop(ctx, frame, cop) {
    const cam = this.cam,
      look = V.copLook(this.r, cop, frame.t);
    const x = cam.x(cop.pos[0]),
      y = cam.y(cop.pos[1]);
    // The route is one flat list: x, y, x, y...
    const route = cop.move,
      n = route ? route.length : 0;
    const target = cop.stepTarget || (n >= 2 ? [route[n - 2], route[n - 1]] : null);
    if (n >= 2) {
      ctx.strokeStyle = look.colour;
      ctx.globalAlpha = 0.55;
      ctx.setLineDash([4, 4]);
      ctx.lineWidth = 1.2;
      ctx.beginPath();
      ctx.moveTo(x, y);
      for (let i = 0; i + 1 < n; i += 2) ctx.lineTo(cam.x(route[i]), cam.y(route[i + 1]));
      ctx.stroke();
      ctx.setLineDash([]);
      ctx.globalAlpha = 1;
    }
    if (target && look.kind === 'searching') {
      ctx.strokeStyle = look.colour;
      ctx.lineWidth = 1.5;
      ctx.strokeRect(cam.x(target[0]) - 3, cam.y(target[1]) - 3, 6, 6);
    }
    // A searching cop's target is the scene of the moment.
    if (cop.searchTarget && frame.scene && this.follow === cop.id) {
      ctx.strokeStyle = V.colours.scene;
      ctx.beginPath();
      ctx.arc(cam.x(frame.scene[0]), cam.y(frame.scene[1]), 6, 0, V.fullCircle);
      ctx.stroke();
    }
    if (cop.aimAt) {
      ctx.strokeStyle = V.colours.aim;
      ctx.beginPath();
      ctx.moveTo(x, y);
      ctx.lineTo(cam.x(cop.aimAt[0]), cam.y(cop.aimAt[1]));
      ctx.stroke();
    }
    const size = cop.vehicle ? 3.5 : 5;
    ctx.fillStyle = look.colour;
    ctx.strokeStyle = this.follow === cop.id ? V.colours.followed : V.colours.outline;
    ctx.lineWidth = this.follow === cop.id ? 2.5 : 1;
    ctx.beginPath();
    ctx.arc(x, y, size, 0, V.fullCircle);
    ctx.fill();
    ctx.stroke();
    const a = V.screenAngle(cop.heading || 0);
    ctx.strokeStyle = look.colour;
    ctx.lineWidth = 1.5;
    ctx.beginPath();
    ctx.moveTo(x, y);
    ctx.lineTo(x + Math.cos(a) * (size + 5), y + Math.sin(a) * (size + 5));
    ctx.stroke();
    if (cam.scale > 2.5 || this.follow === cop.id) {
      const label = look.step ? `${cop.id} · ${look.step}${look.leg ? ' ' + look.leg : ''}` : cop.id;
      const rank =
        { defending: 40, seeing: 35, searching: 30, lost: 25, chasing: 20, plain: 10, dead: 5 }[look.kind] || 15;
      this.labels.add(label, x, y, this.follow === cop.id ? 100 : rank, V.colours.label);
    }
    this.drawn.push({ id: cop.id, x, y, kind: look.kind });
  }
  drawVehicle(ctx, v) {
    const cam = this.cam,
      x = cam.x(v.pos[0]),
      y = cam.y(v.pos[1]);
    const colour = V.colours.vehicles[v.state] || V.colours.vehicles.other;
    if (v.target) {
      ctx.strokeStyle = colour;
      ctx.setLineDash([6, 4]);
      ctx.lineWidth = 1.2;
      ctx.beginPath();
      ctx.moveTo(x, y);
      ctx.lineTo(cam.x(v.target[0]), cam.y(v.target[1]));
      ctx.stroke();
      ctx.setLineDash([]);
    }
    for (const p of v.sweeps || []) {
      ctx.strokeStyle = V.colours.sweep;
      ctx.beginPath();
      ctx.arc(cam.x(p[0]), cam.y(p[1]), 4, 0, V.fullCircle);
      ctx.stroke();
    }
    ctx.save();
    ctx.translate(x, y);
    ctx.rotate(-V.radians(v.heading || 0));
    ctx.fillStyle = colour;
    ctx.globalAlpha = 0.8;
    if (v.heli) {
      ctx.beginPath();
      ctx.arc(0, 0, 5 * cam.scale, 0, V.fullCircle);
      ctx.globalAlpha = 0.3;
      ctx.fill();
    } else ctx.fillRect(-1 * cam.scale, -2.4 * cam.scale, 2 * cam.scale, 4.8 * cam.scale);
    ctx.restore();
    ctx.globalAlpha = 1;
    if (cam.scale > 2.5) this.labels.add(`${v.id}${v.state ? ' · ' + v.state : ''}`, x, y, 8, V.colours.vehicleLabel);
  }
  drawPlayer(ctx, frame) {
    const p = frame.player;
    if (!p) return;
    const cam = this.cam,
      x = cam.x(p.pos[0]),
      y = cam.y(p.pos[1]);
    if (frame.disguised) {
      ctx.strokeStyle = V.colours.disguise;
      ctx.setLineDash([3, 3]);
      ctx.lineWidth = 2;
      ctx.beginPath();
      ctx.arc(x, y, 12, 0, V.fullCircle);
      ctx.stroke();
      ctx.setLineDash([]);
      this.labels.add('disguised', x, y, 60, V.colours.disguise);
    }
    ctx.fillStyle = V.colours.player;
    ctx.strokeStyle = V.colours.outline;
    ctx.lineWidth = 1.5;
    ctx.beginPath();
    ctx.arc(x, y, 6, 0, V.fullCircle);
    ctx.fill();
    ctx.stroke();
    const a = V.screenAngle(p.heading || 0);
    ctx.strokeStyle = V.colours.player;
    ctx.beginPath();
    ctx.moveTo(x, y);
    ctx.lineTo(x + Math.cos(a) * 12, y + Math.sin(a) * 12);
    ctx.stroke();
  }
};
