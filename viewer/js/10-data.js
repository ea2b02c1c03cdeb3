'use strict';
// The replay data: stored by column (who is present in each sample, how far each one moved, and
// the values that changed), decoded once into typed arrays; a sample is put together only when shown.
const V = {};

// The last index in a sorted list of numbers at or before t, or -1.
V.lastAtOrBefore = function lastAtOrBefore(times, t) {
  let lo = 0,
    hi = times.length - 1,
    found = -1;
  while (lo <= hi) {
    const mid = (lo + hi) >> 1;
    if (times[mid] <= t) {
      found = mid;
      lo = mid + 1;
    } else hi = mid - 1;
  }
  return found;
};

// Values that change now and then: for each entity and field, the samples where it changed and the
// value from then on.
V.Changes = class {
  constructor(fields, changes) {
    this.fields = fields || [];
    this.byEntity = [];
    for (const [s, k, f, v] of changes || []) {
      let e = this.byEntity[k];
      if (!e) e = this.byEntity[k] = this.fields.map(() => ({ at: [], values: [] }));
      e[f].at.push(s);
      e[f].values.push(v);
    }
  }
  // The value of one field at sample s (undefined before its first change).
  value(k, f, s) {
    const e = this.byEntity[k];
    if (!e) return undefined;
    const col = e[f],
      i = V.lastAtOrBefore(col.at, s);
    return i < 0 ? undefined : col.values[i];
  }
  // Every field with a value at sample s, on an object.
  fill(k, s, into) {
    for (let f = 0; f < this.fields.length; f++) {
      const v = this.value(k, f, s);
      if (v !== undefined && v !== null) into[this.fields[f]] = v;
    }
    return into;
  }
  // The changes of one field of one entity: {at: [sample], values: [value]}.
  series(k, name) {
    const f = this.fields.indexOf(name),
      e = this.byEntity[k];
    return e && f >= 0 ? e[f] : { at: [], values: [] };
  }
};

// The cops or the vehicles: per sample the rows of those present, with positions rebuilt from
// their changes (hundredths of a metre, whole degrees).
V.Track = class {
  constructor(raw, sampleCount) {
    raw = raw || {};
    this.entities = raw.entities || [];
    this.changes = new V.Changes(raw.fields, raw.changes);
    const rosters = raw.rosters || [],
      motion = raw.motion || [];
    const starts = new Int32Array(sampleCount + 1);
    let total = 0,
      r = -1,
      roster = [];
    for (let s = 0; s < sampleCount; s++) {
      while (r + 1 < rosters.length && rosters[r + 1][0] <= s) roster = rosters[++r][1];
      starts[s] = total;
      total += roster.length;
    }
    starts[sampleCount] = total;
    this.starts = starts;
    this.entity = new Int32Array(total);
    this.x = new Float64Array(total);
    this.y = new Float64Array(total);
    this.heading = new Int16Array(total);
    const lastX = new Float64Array(this.entities.length),
      lastY = new Float64Array(this.entities.length);
    const lastH = new Int32Array(this.entities.length);
    r = -1;
    roster = [];
    let row = 0;
    for (let s = 0; s < sampleCount; s++) {
      while (r + 1 < rosters.length && rosters[r + 1][0] <= s) roster = rosters[++r][1];
      for (const k of roster) {
        const m = row * 3;
        lastX[k] += motion[m] || 0;
        lastY[k] += motion[m + 1] || 0;
        lastH[k] = (lastH[k] + (motion[m + 2] || 0) + 360) % 360;
        this.entity[row] = k;
        this.x[row] = lastX[k] / 100;
        this.y[row] = lastY[k] / 100;
        this.heading[row] = lastH[k];
        row++;
      }
    }
  }
  // The objects of sample s: description, place, heading and every changing field.
  at(s) {
    const out = [];
    for (let row = this.starts[s]; row < this.starts[s + 1]; row++) {
      const k = this.entity[row];
      const e = Object.assign({ index: k }, this.entities[k]);
      this.changes.fill(k, s, e);
      e.pos = [this.x[row], this.y[row], e.z || 0];
      e.heading = this.heading[row];
      out.push(e);
    }
    return out;
  }
};

// The samples: times, the player, the cops, the vehicles and the values of the moment.
V.SampleList = class {
  constructor(raw) {
    this.times = raw.t || [];
    const n = this.times.length;
    this.player = new V.Track(raw.player, n);
    this.cops = new V.Track(raw.cops, n);
    this.vehicles = new V.Track(raw.vehicles, n);
    this.values = new V.Changes(raw.sample && raw.sample.fields, raw.sample && raw.sample.changes);
    this.cache = new Map();
  }
  get length() {
    return this.times.length;
  }
  field(i, name) {
    const f = this.values.fields.indexOf(name);
    const v = f < 0 ? undefined : this.values.value(0, f, i);
    return v === null ? undefined : v;
  }
  at(i) {
    let s = this.cache.get(i);
    if (s) return s;
    s = this.values.fill(0, i, { t: this.times[i] });
    s.player = this.player.at(i)[0] || null;
    s.cops = this.cops.at(i);
    s.vehicles = this.vehicles.at(i);
    if (this.cache.size > 64) this.cache.delete(this.cache.keys().next().value);
    this.cache.set(i, s);
    return s;
  }
  // The last sample at or before t (0 when t is before the first).
  indexAt(t) {
    return Math.max(0, V.lastAtOrBefore(this.times, t));
  }
};

// The grace time the module read: how long a cop's knowledge of the player lasts after his last stamp.
V.graceOf = raw => (raw.settings ? raw.settings.PursuitGraceMs : undefined);

V.load = function load(text) {
  const raw = JSON.parse(text);
  const r = {
    scenario: raw.scenario || {},
    world: raw.world || {},
    samples: new V.SampleList(raw),
    log: (raw.log || []).map(([t, text]) => ({ t, text })),
    orders: raw.orders || [],
    graceMs: V.graceOf(raw),
  };
  r.world.boxes = r.world.boxes || [];
  r.logTimes = r.log.map(l => l.t);
  const times = r.samples.times;
  r.end = Math.max(
    times.length ? times[times.length - 1] : 0,
    r.logTimes.length ? r.logTimes[r.logTimes.length - 1] : 0,
  );
  V.indexSight(r, raw.sight || []);
  V.indexLog(r);
  return r;
};

// The sight questions by cop, in sample order; each read into {s, clear, blocker, from, to} only
// when shown, since a long run holds hundreds of thousands of them.
V.indexSight = function indexSight(r, items) {
  r.sight = new Map();
  for (const item of items) {
    let l = r.sight.get(item[1]);
    if (!l) r.sight.set(item[1], (l = { at: [], items: [] }));
    l.at.push(item[0]);
    l.items.push(item);
  }
};

// The questions one cop asked at the latest tick at or before sample s (all from that sample).
V.sightAt = function sightAt(r, k, s) {
  const l = r.sight.get(k);
  if (!l) return [];
  let i = V.lastAtOrBefore(l.at, s);
  if (i < 0) return [];
  const at = l.at[i],
    out = [];
  for (; i >= 0 && l.at[i] === at; i--) {
    const [qs, , clear, blocker, from, to] = l.items[i];
    out.unshift({ s: qs, clear: !!clear, blocker: blocker ?? null, from: from || null, to: to || null });
  }
  return out;
};
