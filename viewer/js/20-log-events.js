'use strict';
// What the plugin's log lines tell about each cop and the pursuit, as events by time.

V.pointerIn = function pointerIn(text, key) {
  const at = text.indexOf(key);
  if (at < 0) return '';
  const m = /^[^ ,]+/.exec(text.slice(at + key.length));
  return m ? m[0] : '';
};

V.numberAfter = function numberAfter(text, key) {
  const at = text.indexOf(key);
  return at < 0 ? NaN : parseFloat(text.slice(at + key.length));
};

// Per cop (by "%p" text): the lines naming him and his step events; police-wide: gunshots, disguise.
V.indexLog = function indexLog(r) {
  r.byPed = new Map(); // ptr -> [log index]
  r.steps = new Map(); // ptr -> [{t, step, until?, leg?}]
  r.gunshots = []; // {t, x, y, range}
  r.disguise = []; // {t, on}
  const push = (map, key, v) => {
    let l = map.get(key);
    if (!l) map.set(key, (l = []));
    l.push(v);
  };
  const resetAll = t => {
    for (const l of r.steps.values()) l.push({ t, step: null });
  };
  r.log.forEach((line, i) => {
    const text = line.text,
      t = line.t;
    const ped = V.pointerIn(text, 'ped=');
    const veh = V.pointerIn(text, 'veh=');
    if (ped) push(r.byPed, ped, i);
    if (veh) push(r.byPed, veh, i);
    const target = V.pointerIn(text, 'target=') || V.pointerIn(text, 'attacker=');
    if (target && target !== ped) push(r.byPed, target, i);
    if (text.startsWith('traveling to the scene:')) push(r.steps, ped, { t, step: 'travel' });
    else if (text.startsWith('sweeping:')) push(r.steps, ped, { t, step: 'sweep', leg: V.numberAfter(text, 'leg=') });
    else if (text.startsWith('looking about:')) {
      const ms = V.numberAfter(text, 'time=');
      push(r.steps, ped, { t, step: 'look about', until: t + ms });
    } else if (text.startsWith('aim scan:')) {
      const ms = V.numberAfter(text, 'time=');
      push(r.steps, ped, { t, step: 'aim scan', until: t + ms + 200 });
    } else if (text.startsWith('defend: cop attacked:') || text.startsWith('defend: attacking:')) {
      push(r.steps, ped, { t, step: 'defending', defending: true });
    } else if (
      text.startsWith('defend: finished:') ||
      text.startsWith('cop is chasing again:') ||
      text.startsWith('watchdog:') ||
      text.startsWith('anti-lock: vanilla pursuit task')
    ) {
      push(r.steps, ped, { t, step: null });
    } else if (text.startsWith('gunshot heard:')) {
      const m = /scene moved to (-?[\d.]+),(-?[\d.]+)/.exec(text);
      if (m) r.gunshots.push({ t, x: +m[1], y: +m[2], range: V.numberAfter(text, 'range=') });
      resetAll(t);
    } else if (text.startsWith('disguise: player is in an unknown vehicle')) r.disguise.push({ t, on: true });
    else if (text.startsWith('disguise:')) r.disguise.push({ t, on: false });
    else if (text === 'wanted level ended' || text === 'reset: flags restored' || text === 'F10: enabled=0') {
      resetAll(t);
      r.disguise.push({ t, on: false });
    }
  });
  for (const l of r.steps.values()) l.sort((a, b) => a.t - b.t);
  r.stepTimes = new Map([...r.steps].map(([k, l]) => [k, l.map(e => e.t)]));
  r.disguiseTimes = r.disguise.map(d => d.t);
};

// The cop's step at time t by the log: {step, leg, defending}, or null.
V.stepAt = function stepAt(r, ptr, t) {
  const list = r.steps.get(ptr);
  if (!list) return null;
  const i = V.lastAtOrBefore(r.stepTimes.get(ptr), t);
  if (i < 0 || !list[i].step) return null;
  const e = list[i];
  const over = e.until !== undefined && t >= e.until;
  return {
    step: over ? 'step ended' : e.step,
    leg: e.leg,
    defending: !!e.defending,
  };
};

V.disguisedAt = function disguisedAt(r, t) {
  const i = V.lastAtOrBefore(r.disguiseTimes, t);
  return i >= 0 && r.disguise[i].on;
};

// How the recorder says a lost cop came to be held lost, by the plugin's rule.
V.lossRules = {
  grace: grace => `his grace time (${grace}) ran out since he last knew where the player was`,
  'parked car': () => 'held lost while his car stays parked',
  unloaded: () => 'held lost as his car unloaded him',
};

// What the record tells of one cop's knowledge up to this moment: when he last saw the player (the
// tick the recorder wrote), since when and by which rule he is held lost, and what last put the
// scene he searches where it is.
V.copHistory = function copHistory(r, cop, frame) {
  const times = r.samples.times,
    states = r.samples.cops.changes.series(cop.index, 'state');
  const i = V.lastAtOrBefore(states.at, frame.index),
    now = i >= 0 ? states.values[i] : null;
  // Whole tenths gone by: a time past the grace time never reads as short of it.
  const ago = ms => `${(Math.floor((frame.t - ms) / 100) / 10).toFixed(1)} s ago`;
  const out = [];
  if (now === 'seeing') out.push('sees the player now');
  else
    out.push(
      cop.sawMs !== undefined ? `last saw the player ${ago(cop.sawMs)}` : 'has not seen the player in this episode',
    );
  if (now === 'lost' && i >= 0) {
    out.push(`lost him ${ago(times[states.at[i]])} (at ${(times[states.at[i]] / 1000).toFixed(1)} s)`);
    const rule = V.lossRules[cop.lostBy];
    if (rule) out.push(rule(V.seconds(r.graceMs)));
  }
  if (frame.scene && frame.sceneMs !== undefined) {
    const shot = r.gunshots.filter(g => g.t <= frame.t).pop();
    const by = shot && shot.t === frame.sceneMs ? 'a gunshot heard' : 'a cop who saw him (told by radio)';
    out.push(`scene set ${((frame.t - frame.sceneMs) / 1000).toFixed(1)} s ago by ${by}`);
  }
  return out;
};

// A time in ms as the panel writes it, or "unknown" when the module did not tell its settings.
V.seconds = ms => (Number.isFinite(ms) ? `${(ms / 1000).toFixed(1)} s` : 'unknown');
