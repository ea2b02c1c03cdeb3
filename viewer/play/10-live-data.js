'use strict';
// The live play's data: the replay's own columns, as the server sends them after each frame (each
// holding only its new items), decoded as they come into the objects the viewer draws from: its
// sample list, tracks and changes (their prototypes, so the viewer's own reading of them is used),
// its log, sight and log indexes. A long play costs each update only what the update adds.

V.live = {};

// Appends items one by one: an update may be too long for a spread call.
V.live.push = function push(into, items) {
  for (const item of items || []) into.push(item);
};

// Lays new change items onto a V.Changes.
V.live.mergeChanges = function mergeChanges(into, items) {
  const more = new V.Changes(into.fields, items);
  more.byEntity.forEach((columns, k) => {
    const have = into.byEntity[k];
    if (!have) into.byEntity[k] = columns;
    else
      columns.forEach((c, f) => {
        V.live.push(have[f].at, c.at);
        V.live.push(have[f].values, c.values);
      });
  });
};

// A V.Track that grows: who is present in each sample and where, rebuilt from the rosters and the
// motion rows (each the change from the entity's row before) as they come.
V.live.track = function track(fields) {
  return Object.assign(Object.create(V.Track.prototype), {
    entities: [],
    changes: new V.Changes(fields, []),
    starts: [0],
    entity: [],
    x: [],
    y: [],
    heading: [],
    rosters: [],
    motion: [],
    roster: [],
    rosterAt: -1,
    last: [],
  });
};

V.live.grow = function grow(t, more, from, to) {
  V.live.push(t.entities, more.entities);
  V.live.push(t.rosters, more.rosters);
  V.live.push(t.motion, more.motion);
  V.live.mergeChanges(t.changes, more.changes);
  for (let s = from; s < to; s++) {
    while (t.rosterAt + 1 < t.rosters.length && t.rosters[t.rosterAt + 1][0] <= s)
      t.roster = t.rosters[++t.rosterAt][1];
    t.starts[s] = t.entity.length;
    for (const k of t.roster) {
      const m = t.entity.length * 3,
        p = t.last[k] || (t.last[k] = { x: 0, y: 0, h: 0 });
      p.x += t.motion[m] || 0;
      p.y += t.motion[m + 1] || 0;
      p.h = (p.h + (t.motion[m + 2] || 0) + 360) % 360;
      t.entity.push(k);
      t.x.push(p.x / 100);
      t.y.push(p.y / 100);
      t.heading.push(p.h);
    }
  }
  t.starts[to] = t.entity.length;
};

// The replay object of the play so far, started from the whole data and grown by each update.
V.live.Replay = class {
  constructor(data) {
    const samples = Object.assign(Object.create(V.SampleList.prototype), {
      times: [],
      player: V.live.track(data.player.fields),
      cops: V.live.track(data.cops.fields),
      vehicles: V.live.track(data.vehicles.fields),
      values: new V.Changes(data.sample.fields, []),
      cache: new Map(),
    });
    this.r = {
      scenario: data.scenario || {},
      world: data.world || {},
      samples,
      log: [],
      logTimes: [],
      orders: [],
      graceMs: V.graceOf(data),
      sight: new Map(),
      end: 0,
    };
    this.r.world.boxes = this.r.world.boxes || [];
    this.add(data);
  }
  // Lays an update onto the replay; returns whether the log grew.
  add(u) {
    const r = this.r,
      s = r.samples,
      from = s.times.length;
    V.live.push(s.times, u.t);
    for (const name of ['player', 'cops', 'vehicles']) V.live.grow(s[name], u[name], from, s.times.length);
    V.live.mergeChanges(s.values, u.sample.changes);
    for (const [t, text] of u.log) {
      r.log.push({ t, text });
      r.logTimes.push(t);
    }
    V.live.push(r.orders, u.orders);
    const sight = {};
    V.indexSight(sight, u.sight);
    for (const [k, l] of sight.sight) {
      const have = r.sight.get(k);
      if (!have) r.sight.set(k, l);
      else {
        V.live.push(have.at, l.at);
        V.live.push(have.items, l.items);
      }
    }
    r.end = s.times.length ? s.times[s.times.length - 1] : 0;
    // The log's index of steps and gunshots is made over the whole log, and only when it grows.
    if (u.log.length || !r.byPed) V.indexLog(r);
    return u.log.length > 0;
  }
};
