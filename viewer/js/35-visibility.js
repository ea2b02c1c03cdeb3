'use strict';
// The part of a sight cone a cop can see past the buildings, for drawing it: rays from his eyes,
// each stopped at the first box that reaches above and below his eye height.

// Distance along a unit ray from (ox, oy) to the box's footprint, or Infinity. Called for every ray
// of every cone in every frame, so it allocates nothing.
V.rayToBox = function rayToBox(ox, oy, dx, dy, b) {
  let near = 0,
    far = Infinity;
  for (let axis = 0; axis < 2; axis++) {
    const o = axis ? oy : ox,
      d = axis ? dy : dx,
      lo = b.min[axis],
      hi = b.max[axis];
    if (Math.abs(d) < 1e-12) {
      if (o < lo || o > hi) return Infinity;
      continue;
    }
    let t1 = (lo - o) / d,
      t2 = (hi - o) / d;
    if (t1 > t2) {
      const swap = t1;
      t1 = t2;
      t2 = swap;
    }
    if (t1 > near) near = t1;
    if (t2 < far) far = t2;
    if (near > far) return Infinity;
  }
  return near;
};

// World points outlining what the cop sees: his place, then the end of each ray across the cone
// (all round without a cone). `eye`: the height he looks from; `heading` in degrees (facing
// (-sin h, cos h)); `cone` the full cone in degrees.
V.visibleFan = function visibleFan(boxes, pos, eye, heading, range, cone) {
  const [x, y] = pos,
    allRound = cone === undefined;
  const near = boxes.filter(
    b =>
      b.max[2] > eye &&
      b.min[2] < eye &&
      x > b.min[0] - range &&
      x < b.max[0] + range &&
      y > b.min[1] - range &&
      y < b.max[1] + range,
  );
  const span = allRound ? 360 : cone,
    rays = Math.max(8, Math.ceil(span / 3));
  const centre = heading + 90,
    start = allRound ? 0 : centre - span / 2;
  const points = allRound ? [] : [[x, y]];
  for (let i = 0; i <= rays; i++) {
    const a = V.radians(start + (span * i) / rays),
      dx = Math.cos(a),
      dy = Math.sin(a);
    let reach = range;
    for (const b of near) reach = Math.min(reach, V.rayToBox(x, y, dx, dy, b));
    points.push([x + dx * reach, y + dy * reach]);
  }
  return points;
};
