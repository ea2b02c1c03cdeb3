'use strict';
// The live play's data: the replay's own columns, grown by the updates the server sends after each
// frame, and turned into the replay object the viewer draws from with the viewer's own decoding.

V.live = {};

// Appends items one by one: an update may be too long for a spread call.
V.live.push = function push(into, items) {
  for (const item of items || []) into.push(item);
};

// Lays an update (each column holding only its new items) onto the data.
V.live.append = function append(raw, update) {
  raw.settings = update.settings;
  raw.shots = update.shots;
  V.live.push(raw.t, update.t);
  for (const name of ['player', 'cops', 'vehicles']) {
    const track = raw[name],
      more = update[name];
    for (const column of ['entities', 'rosters', 'motion', 'changes']) V.live.push(track[column], more[column]);
  }
  V.live.push(raw.sample.changes, update.sample.changes);
  for (const column of ['sight', 'orders', 'log']) V.live.push(raw[column], update[column]);
};

// The replay object of the data so far, made of the viewer's pieces (samples, log and sight indexes).
V.live.replay = function replay(raw) {
  const r = {
    scenario: raw.scenario || {},
    world: raw.world || {},
    samples: new V.SampleList(raw),
    log: raw.log.map(([t, text]) => ({ t, text })),
    orders: raw.orders,
  };
  r.world.boxes = r.world.boxes || [];
  r.logTimes = r.log.map(l => l.t);
  const times = r.samples.times;
  r.end = times.length ? times[times.length - 1] : 0;
  V.indexSight(r, raw.sight);
  V.indexLog(r);
  return r;
};
