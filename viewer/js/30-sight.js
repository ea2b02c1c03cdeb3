'use strict';
// The sight settings the plugin ran with (as the module holds them when the replay has them, else
// read from the INI text the run wrote with the plugin's defaults for missing keys), each cop's
// sight range and view cone as the plugin tests them, and why he does or does not see the player.

V.sightDefaults = {
  SightRange: 45,
  VehicleSightRange: 35,
  HeliSightRange: 70,
  SightAngle: 140,
  VehicleSightAngle: 200,
  HeliSightAngle: 330,
  AlertRangeBonus: 10,
  AlertAngleBonus: 80,
  DisguiseRange: 8,
  CloseRange: 3,
  CloseRangeCar: 3,
};
V.heliCloseRange = 3;
V.closeMaxHeight = 4;
V.heliModel = 497;

// Keys and the section are matched without regard to case; a value is read as atof reads it.
V.readSight = function readSight(iniText, settings) {
  const out = Object.assign({}, V.sightDefaults);
  if (settings) {
    for (const k of Object.keys(out)) if (typeof settings[k] === 'number') out[k] = settings[k];
    return out;
  }
  if (!iniText) return out;
  const byLower = new Map(Object.keys(out).map(k => [k.toLowerCase(), k]));
  let inSettings = false;
  for (const rawLine of iniText.split(/\r?\n/)) {
    const line = rawLine.trim();
    const section = /^\[(.*)\]$/.exec(line);
    if (section) {
      inSettings = section[1].trim().toLowerCase() === 'settings';
      continue;
    }
    const eq = line.indexOf('=');
    if (!inSettings || eq < 0) continue;
    const key = byLower.get(line.slice(0, eq).trim().toLowerCase());
    if (!key) continue;
    const value = parseFloat(line.slice(eq + 1).trim());
    out[key] = Number.isNaN(value) ? 0 : value;
  }
  return out;
};

// Range and full cone (degrees; >= 359 is all round) of one cop, with the alert bonus and the
// disguise limit applied as the plugin applies them.
V.sightOf = function sightOf(s, inVehicle, inHeli, alert, disguisedAndUnaware) {
  let range = inHeli ? s.HeliSightRange : inVehicle ? s.VehicleSightRange : s.SightRange;
  let angle = inHeli ? s.HeliSightAngle : inVehicle ? s.VehicleSightAngle : s.SightAngle;
  if (alert) {
    range += s.AlertRangeBonus;
    angle += s.AlertAngleBonus;
  }
  if (disguisedAndUnaware) range = Math.min(range, s.DisguiseRange * (inHeli ? 2 : 1));
  return { range, angle, allRound: angle >= 359 };
};

// The sight test of one cop against the player, step by step as the plugin takes it: range, close
// range, cone, line of sight (the host's answer to the plugin's question, when it asked one).
// Returns the checks in order, each {name, ok, text}, and the first that fails (or null).
V.explainSight = function explainSight(s, cop, player, situation, questions, boxName) {
  const view = V.sightOf(s, situation.inVehicle, situation.inHeli, situation.alert, situation.unaware);
  const close = situation.inHeli ? V.heliCloseRange : situation.inVehicle ? s.CloseRangeCar : s.CloseRange;
  const dx = player.pos[0] - cop.pos[0],
    dy = player.pos[1] - cop.pos[1],
    dz = (player.pos[2] || 0) - (cop.pos[2] || 0);
  const d = Math.hypot(dx, dy, dz),
    flat = Math.hypot(dx, dy);
  const h = ((cop.heading || 0) * Math.PI) / 180;
  const off =
    flat < 0.001
      ? 0
      : (Math.acos(Math.max(-1, Math.min(1, (dy * Math.cos(h) - dx * Math.sin(h)) / flat))) * 180) / Math.PI;
  const checks = [];
  checks.push({ name: 'range', ok: d <= view.range, text: `distance ${d.toFixed(1)} m, sight range ${view.range} m` });
  const isClose = d < close && Math.abs(dz) < V.closeMaxHeight;
  checks.push({
    name: 'close',
    ok: isClose,
    optional: true,
    text:
      `height difference ${Math.abs(dz).toFixed(1)} m; ` +
      `close range ${close} m (within ${V.closeMaxHeight} m of height)`,
  });
  checks.push({
    name: 'cone',
    ok: view.allRound || off <= view.angle / 2,
    text: view.allRound
      ? 'all-round view'
      : `${off.toFixed(0)}° off his heading, cone ${view.angle}° (±${(view.angle / 2).toFixed(0)}°)`,
  });
  const q = questions.length ? questions[questions.length - 1] : null;
  const blocker = q && !q.clear ? boxName(q.blocker) : '';
  checks.push({
    name: 'line of sight',
    ok: q ? q.clear : null,
    text: q
      ? q.clear
        ? 'line of sight clear'
        : `line of sight blocked${blocker ? ' by ' + blocker : ''}`
      : 'no line-of-sight question at the latest tick',
  });
  let fails = null;
  if (!checks[0].ok) fails = checks[0];
  else if (!isClose) fails = !checks[2].ok ? checks[2] : q && !q.clear ? checks[3] : !q ? checks[3] : null;
  return { checks, fails, sees: !fails, view };
};
