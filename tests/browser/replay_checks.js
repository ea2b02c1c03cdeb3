// Checks run in a replay page at every sample, shared by the tests of the demo and of the busy town.
// Each returns the first disagreements it finds (none when the page agrees with itself).
import { test } from 'node:test';
import assert from 'node:assert/strict';

// The status line, the cops drawn seeing, the panel and the sight lines: each cop followed in turn,
// the panel's account of his test and the lines drawn for it must tell the same story, and as many
// cops must be drawn and explained as seeing as the plugin counts.
export const sightDisagreements = page =>
  page.evaluate(() => {
    const app = window.vigilorViewer,
      r = app.r,
      out = [];
    const follow = document.getElementById('follow');
    app.followCop(null);
    for (let s = 0; s < r.samples.length && out.length < 10; s++) {
      app.map.follow = null;
      app.seek(r.samples.times[s]);
      const status = Number(/seeing (\d+)/.exec(document.getElementById('status').textContent)[1]);
      const drawn = app.map.drawn.filter(d => d.kind !== 'dead');
      const drawnSeeing = drawn.filter(d => d.kind === 'seeing').length;
      let explainedSeeing = 0;
      // The panel and the sight lines as the page makes them for a followed cop, without moving the
      // map to him each time.
      const frame = app.frameAt(app.t),
        ctx = app.map.canvas.getContext('2d', { alpha: false });
      for (const d of drawn) {
        app.map.follow = d.id;
        app.map.drawSightLines(ctx, frame);
        app.showFollowed(frame);
        const sees = follow.dataset.sees === '1',
          fails = follow.dataset.fails,
          lines = app.map.sightLines;
        explainedSeeing += sees;
        const byLine = /\(line of sight\)$|line of sight fails$/.test(follow.textContent);
        const agree = byLine
          ? lines.length > 0 && lines.every(l => l.clear === sees) && (sees || fails === 'line of sight')
          : lines.length === 0;
        if (!agree) out.push({ s, cop: d.id, sees, fails, lines, panel: follow.textContent });
      }
      if (status !== drawnSeeing || status !== explainedSeeing) out.push({ s, status, drawnSeeing, explainedSeeing });
    }
    app.followCop(null);
    return out;
  });

// Every lost cop's panel: it says by which rule he is held lost, and when that rule is his grace
// time, his last sight is at least the grace time ago. Also returns how many lost cops of each rule
// were looked at, so that a record with none cannot pass unseen.
export const lossDisagreements = page =>
  page.evaluate(() => {
    const app = window.vigilorViewer,
      r = app.r,
      out = [],
      rules = {};
    const follow = document.getElementById('follow');
    const grace = Number((r.graceMs / 1000).toFixed(1));
    // What the panel says of each rule.
    const says = {
      grace: `grace time (${grace.toFixed(1)} s) ran out`,
      'parked car': 'parked',
      unloaded: 'unloaded him',
    };
    for (let s = 0; s < r.samples.length && out.length < 10; s++) {
      const lost = r.samples.at(s).cops.filter(c => c.state === 'lost');
      if (!lost.length) continue;
      app.map.follow = null;
      app.seek(r.samples.times[s]);
      const frame = app.frameAt(app.t);
      for (const cop of lost) {
        app.map.follow = cop.id;
        app.showFollowed(frame);
        const panel = follow.textContent;
        const rule = Object.keys(says).find(k => panel.includes(says[k]));
        rules[rule] = (rules[rule] || 0) + 1;
        const saw = /last saw the player (\d+\.\d) s ago/.exec(panel);
        if (!rule || rule !== cop.lostBy) out.push({ s, cop: cop.id, lostBy: cop.lostBy, panel });
        else if (rule === 'grace' && saw && Number(saw[1]) < grace) out.push({ s, cop: cop.id, grace, panel });
      }
    }
    app.followCop(null);
    return { out, rules };
  });

// The tests of both checks, on the page `pageOf()` gives once it is open.
export function testEverySample(pageOf) {
  test('at every sample the status line, the cops drawn seeing, the panel and the sight lines agree', async () => {
    assert.deepEqual(await sightDisagreements(pageOf()), []);
  });

  test("at every sample a lost cop's last sight agrees with the rule that holds him lost", async () => {
    const { out, rules } = await lossDisagreements(pageOf());
    assert.deepEqual(out, []);
    assert.ok(rules.grace > 0, `some cop is lost by his grace time (${JSON.stringify(rules)})`);
  });
}
