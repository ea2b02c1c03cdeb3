'use strict';
// The replay data: tables expanded on demand, samples found by time, and the log indexed by cop.
const V = {};

// A table as the page carries it ({$cols, $rows}) back to a list of objects; anything else as is.
V.expand = function expand(value) {
  if (value && typeof value === 'object' && Array.isArray(value.$cols)) {
    const cols = value.$cols;
    return value.$rows.map(row => {
      const item = {};
      for (let i = 0; i < cols.length; i++) if (row[i] !== null) item[cols[i]] = row[i];
      return item;
    });
  }
  return value;
};

// The samples stay as compact rows; a sample is expanded (with its cops and vehicles) only when shown.
V.SampleList = class {
  constructor(samples) {
    this.cols = samples && samples.$cols ? samples.$cols : null;
    this.rows = samples && samples.$cols ? samples.$rows : (samples || []);
    this.cache = new Map();
    const ti = this.cols ? this.cols.indexOf('t') : -1;
    this.times = this.rows.map(r => (this.cols ? r[ti] : r.t) || 0);
  }
  get length() { return this.rows.length; }
  field(i, name) {
    const r = this.rows[i];
    if (!this.cols) return r[name];
    const k = this.cols.indexOf(name);
    return k < 0 ? undefined : (r[k] === null ? undefined : r[k]);
  }
  at(i) {
    let s = this.cache.get(i);
    if (s) return s;
    const r = this.rows[i];
    s = this.cols ? V.expand({ $cols: this.cols, $rows: [r] })[0] : Object.assign({}, r);
    s.cops = V.expand(s.cops) || [];
    s.vehicles = V.expand(s.vehicles) || [];
    // The recorder keeps a cop's search under "search"; the map reads its fields from the cop.
    for (const c of s.cops) {
      if (!c.search) continue;
      for (const k of ['step', 'stepTarget', 'searchTarget']) if (c[k] === undefined && c.search[k] != null) c[k] = c.search[k];
    }
    if (this.cache.size > 64) this.cache.delete(this.cache.keys().next().value);
    this.cache.set(i, s);
    return s;
  }
  // The last sample at or before t (0 when t is before the first).
  indexAt(t) {
    let lo = 0, hi = this.times.length - 1;
    if (hi < 0 || t <= this.times[0]) return 0;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (this.times[mid] <= t) lo = mid; else hi = mid - 1;
    }
    return lo;
  }
};

// The last index in a sorted list of times at or before t, or -1.
V.lastAtOrBefore = function lastAtOrBefore(times, t) {
  let lo = 0, hi = times.length - 1, found = -1;
  while (lo <= hi) {
    const mid = (lo + hi) >> 1;
    if (times[mid] <= t) { found = mid; lo = mid + 1; } else hi = mid - 1;
  }
  return found;
};

V.load = function load(text) {
  const raw = JSON.parse(text);
  const r = {
    scenario: raw.scenario || {},
    ini: raw.ini || null,
    world: raw.world || {},
    samples: new V.SampleList(raw.samples),
    log: V.expand(raw.log) || [],
  };
  r.world.boxes = V.expand(r.world.boxes) || [];
  r.logTimes = r.log.map(l => l.t);
  r.end = Math.max(r.samples.times.length ? r.samples.times[r.samples.times.length - 1] : 0,
                   r.logTimes.length ? r.logTimes[r.logTimes.length - 1] : 0);
  V.indexLog(r);
  return r;
};
