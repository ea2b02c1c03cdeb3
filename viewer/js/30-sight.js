'use strict';
// The sight settings the plugin ran with, read from the INI text the run wrote (the plugin's defaults
// for missing keys), and each cop's sight range and view cone as the plugin tests them.

V.sightDefaults = {
  SightRange: 45, VehicleSightRange: 35, HeliSightRange: 70,
  SightAngle: 140, VehicleSightAngle: 200, HeliSightAngle: 330,
  AlertRangeBonus: 10, AlertAngleBonus: 80, DisguiseRange: 8,
};
V.heliModel = 497;

// Keys and the section are matched without regard to case; a value is read as atof reads it.
V.readSight = function readSight(iniText) {
  const out = Object.assign({}, V.sightDefaults);
  if (!iniText) return out;
  const byLower = new Map(Object.keys(out).map(k => [k.toLowerCase(), k]));
  let inSettings = false;
  for (const rawLine of iniText.split(/\r?\n/)) {
    const line = rawLine.trim();
    const section = /^\[(.*)\]$/.exec(line);
    if (section) { inSettings = section[1].trim().toLowerCase() === 'settings'; continue; }
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
  if (alert) { range += s.AlertRangeBonus; angle += s.AlertAngleBonus; }
  if (disguisedAndUnaware) range = Math.min(range, s.DisguiseRange * (inHeli ? 2 : 1));
  return { range, angle, allRound: angle >= 359 };
};
