// A scenario for measuring the replay at scale: 100 cops (a fifth of them in cars, two to a car)
// and 39 other peds in a town of blocks, and a wanted player who runs the streets, hides, fires
// now and then, and is let off and wanted again every ten minutes, for as long as asked.
// Usage: node busy_town.js MINUTES > scenario.json
const minutes = Number(process.argv[2] || 10);
const durationMs = minutes * 60000;

const boxes = [];
for (let bx = -4; bx <= 4; bx++) {
  for (let by = -4; by <= 4; by++) {
    if (bx === 0 && by === 0) continue;
    const x = bx * 40,
      y = by * 40;
    boxes.push({ id: `block${bx + 4}${by + 4}`, min: [x - 10, y - 10, 0], max: [x + 10, y + 10, 15] });
  }
}

const peds = [],
  vehicles = [];
for (let i = 0; i < 139; i++) {
  const angle = i * 0.7,
    r = 10 + (i % 19) * 9;
  // Streets run between the blocks, every 40 m at 20 + 40k; put everyone on one.
  const street = v => Math.round((v - 20) / 40) * 40 + 20;
  const pos =
    i % 2
      ? [street(r * Math.cos(angle)), r * Math.sin(angle), 0]
      : [r * Math.cos(angle), street(r * Math.sin(angle)), 0];
  const ped = { id: `p${i}`, type: i < 100 ? 6 : 4, pos, heading: (i * 37) % 360, weapons: [{ type: 22, ammo: 50 }] };
  if (i < 20) {
    const car = `car${i >> 1}`;
    if (i % 2 === 0)
      vehicles.push({ id: car, model: 596, pos: [street(pos[0]), pos[1], 0], heading: 0, lawEnforcer: true });
    Object.assign(ped, { vehicle: car, seat: i % 2 === 0 ? 'driver' : 0 });
  }
  peds.push(ped);
}

// The player's round of the streets, on foot at a run, with pauses in side streets.
const round = [
  [20, 20],
  [140, 20],
  [140, 140],
  [-100, 140],
  [-100, -100],
  [60, -100],
  [60, 20],
  [20, 20],
];
const events = [];
let t = 1000,
  at = [0, 0];
for (let leg = 0; t < durationMs; leg++) {
  const to = round[leg % round.length],
    dist = Math.hypot(to[0] - at[0], to[1] - at[1]);
  events.push({ at: t, do: 'playerMove', to: [to[0], to[1], 0], speed: 6 });
  t += Math.ceil((dist / 6) * 1000) + (leg % 3 === 0 ? 15000 : 2000);
  if (leg % 5 === 2) events.push({ at: t - 1000, do: 'playerFire', weapon: 22, forMs: 500 });
  at = to;
}
for (let w = 600000; w < durationMs; w += 600000) {
  events.push({ at: w - 60000, do: 'wanted', level: 0 }, { at: w, do: 'wanted', level: 3 });
}
events.sort((a, b) => a.at - b.at);

console.log(
  JSON.stringify({
    name: `busy-town-${minutes}min`,
    description: `100 cops, a player on the run, ${minutes} minutes`,
    seed: 7,
    frameMs: 33,
    durationMs,
    settings: { FootSearch: 1 },
    world: { boxes, pedNodes: { spacing: 20 } },
    player: { pos: [0, 0, 0], heading: 0, wanted: 3, weapons: [{ type: 22, ammo: 500 }] },
    peds,
    vehicles,
    host: { pursuit: true },
    events,
  }),
);
