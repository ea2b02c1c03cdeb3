// The demo's replay, in a real browser: its account of who knows where the player is (a car's
// passenger who sees him, a cop whose look a building blocks, and at every sample the same seeing
// cops on the status line, the map and the panel, and a lost cop's last sight that fits his loss),
// the end of the wanted episode, the lanes and the plot under the map.
// The moments are found from the replay's own data, not from fixed times.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { openReplay } from './browser.js';
import { writeReplay } from './replay_file.js';
import { testEverySample } from './replay_checks.js';

let session;
let page;

const drawn = () => page.evaluate(() => window.vigilorViewer.map.drawn.map(d => ({ ...d })));
const seekSample = s => page.evaluate(i => window.vigilorViewer.seek(window.vigilorViewer.r.samples.times[i]), s);
// The first sample at which a cop matching `where` (run in the page on each sample's cops) is found.
const firstSample = (where, after = 0) =>
  page.evaluate(
    ([src, from]) => {
      const r = window.vigilorViewer.r,
        test = new Function('c', 's', `return ${src};`);
      for (let i = from; i < r.samples.length; i++) {
        const s = r.samples.at(i);
        const c = s.cops.find(cop => test(cop, s));
        if (c) return { sample: i, id: c.id, index: c.index };
      }
      return null;
    },
    [where, after],
  );

before(async () => {
  const { file } = writeReplay('demo');
  session = await openReplay(file);
  page = session.page;
});

after(async () => {
  await session?.close();
});

test('a passenger who sees the player is drawn as seeing', async () => {
  const found = await firstSample("c.seat >= 0 && c.state === 'seeing'");
  assert.ok(found, 'the record has a seeing passenger');
  assert.equal(found.id, 'cop4');
  await seekSample(found.sample);
  const cop = (await drawn()).find(d => d.id === found.id);
  assert.equal(cop.kind, 'seeing');
  const counts = await page.evaluate(() => window.vigilorViewer.frameAt(window.vigilorViewer.t).counts);
  const seeing = (await drawn()).filter(d => d.kind === 'seeing').length;
  assert.equal(seeing, counts.seeing, 'the map shows as many seeing cops as the plugin counts');
});

testEverySample(() => page);

test('after the wanted episode ends no cop is drawn chasing and the counts are cleared', async () => {
  const started = await firstSample('s.episode === true');
  const ended = await firstSample('s.episode !== true', started.sample);
  assert.ok(ended, 'the episode ends in the record');
  const t = await page.evaluate(i => window.vigilorViewer.r.samples.times[i], ended.sample);
  assert.ok(t > 50000 && t < 58000, `the episode ends near 54 s (${t})`);
  await seekSample(ended.sample);
  const kinds = (await drawn()).map(d => d.kind);
  assert.ok(kinds.length >= 4);
  for (const kind of kinds) assert.ok(kind === 'plain' || kind === 'dead', kind);
  assert.match(await page.textContent('#status'), /seeing 0, lost 0/);
});

test('selecting a cop shows his sight lines and the condition that fails', async () => {
  // A cop on foot whose question a building blocked, standing clear of the others on the map.
  const found = await page.evaluate(() => {
    const app = window.vigilorViewer,
      r = app.r;
    for (const [k, l] of r.sight) {
      for (const [s, , clear, blocker] of l.items) {
        if (clear || typeof blocker !== 'number') continue;
        const cop = r.samples.at(s).cops.find(c => c.index === k);
        if (!cop || cop.vehicle) continue;
        app.seek(r.samples.times[s]);
        const me = app.map.drawn.find(d => d.id === cop.id);
        if (me && app.map.drawn.every(d => d === me || Math.hypot(d.x - me.x, d.y - me.y) > 12)) {
          return { sample: s, id: cop.id, box: blocker, boxId: r.world.boxes[blocker].id };
        }
      }
    }
    return null;
  });
  assert.ok(found, 'a cop asked and a building answered no');
  await seekSample(found.sample);
  const cop = (await drawn()).find(d => d.id === found.id);
  const box = await page.locator('#map').boundingBox();
  await page.mouse.click(box.x + cop.x, box.y + cop.y);
  assert.equal(await page.evaluate(() => document.getElementById('status').dataset.follow), found.id);
  const follow = page.locator('#follow');
  assert.equal(await follow.getAttribute('data-fails'), 'line of sight');
  assert.match(await follow.textContent(), new RegExp(`blocked by ${found.boxId}`));
  const lines = await page.evaluate(() => window.vigilorViewer.map.sightLines);
  assert.ok(
    lines.some(l => !l.clear && l.blocker === found.box),
    JSON.stringify(lines),
  );
  await page.click('#clear-follow');
});

test('the timeline has a lane per cop, and a click jumps there and follows him', async () => {
  const lanes = page.locator('#lanes');
  const box = await lanes.boundingBox();
  const { laneHeight, second, count } = await page.evaluate(() => {
    const app = window.vigilorViewer;
    return { laneHeight: app.lanes.laneHeight, second: app.r.samples.cops.entities[1].id, count: app.lanes.count };
  });
  assert.ok(count >= 5, `a lane per cop (${count})`);
  assert.ok(box.height >= count * laneHeight - 1, `room for every lane (${box.height})`);
  // A lane names its cop on hover.
  await page.mouse.move(box.x + box.width / 2, box.y + laneHeight * 1.5);
  assert.equal(await lanes.getAttribute('title'), second);
  await page.mouse.click(box.x + box.width / 2, box.y + laneHeight * 1.5);
  const status = await page.evaluate(() => ({ ...document.getElementById('status').dataset }));
  const end = await page.evaluate(() => window.vigilorViewer.r.end);
  assert.ok(Math.abs(Number(status.time) - end / 2) < end * 0.02, `${status.time} near ${end / 2}`);
  assert.equal(status.follow, second);
});

test("the plot under the map follows the star alpha and the followed cop's distance and grace left", async () => {
  const lost = await firstSample("c.state === 'lost' && c.lostBy === 'grace' && c.sawMs !== undefined");
  assert.ok(lost, 'a cop who saw the player is lost by his grace time');
  const seen = await firstSample(`c.id === '${lost.id}' && c.state === 'seeing'`);
  assert.ok(seen, 'he saw the player before');
  await seekSample(lost.sample);
  await page.evaluate(id => window.vigilorViewer.followCop(id), lost.id);
  const wrong = await page.evaluate(
    ([k, lostAt, seenAt]) => {
      const app = window.vigilorViewer,
        r = app.r,
        { alpha, distance, grace } = app.plot.series,
        out = [];
      if (alpha.length !== r.samples.length || distance.length !== r.samples.length) out.push('lengths');
      for (let i = 0; i < r.samples.length && out.length < 10; i++) {
        const s = r.samples.at(i),
          cop = s.cops.find(c => c.index === k);
        const want = cop && s.player ? Math.hypot(cop.pos[0] - s.player.pos[0], cop.pos[1] - s.player.pos[1]) : null;
        if (want === null ? distance[i] !== null : !(Math.abs(distance[i] - want) < 1e-6))
          out.push({ i, distance: distance[i], want });
        if (alpha[i] !== (s.starAlpha ?? null)) out.push({ i, alpha: alpha[i], want: s.starAlpha });
      }
      if (grace[lostAt] !== 0) out.push({ lostAt, grace: grace[lostAt] });
      if (grace[seenAt] !== r.graceMs) out.push({ seenAt, grace: grace[seenAt] });
      return out;
    },
    [lost.index, lost.sample, seen.sample],
  );
  assert.deepEqual(wrong, []);
  // His distance is drawn, and the white line of the moment runs over the plot where the moment is.
  const painted = () =>
    page.evaluate(() => {
      const c = document.getElementById('plot'),
        d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let n = 0;
      for (let i = 0; i < d.length; i += 4) n += d[i] === 0x4d && d[i + 1] === 0x9f && d[i + 2] === 0xff;
      return n;
    });
  assert.ok((await painted()) > 0, 'the distance is drawn');
  const plot = await page.locator('#plot').boundingBox(),
    cursor = await page.locator('#cursor').boundingBox();
  const { t, end } = await page.evaluate(() => ({ t: window.vigilorViewer.t, end: window.vigilorViewer.r.end }));
  assert.ok(cursor.y <= plot.y && cursor.y + cursor.height >= plot.y + plot.height, 'the cursor spans the plot');
  assert.ok(Math.abs(cursor.x + 1 - (plot.x + (t / end) * plot.width)) < 2, `the cursor at ${t} of ${end}`);
  await page.click('#clear-follow');
  assert.equal(await page.evaluate(() => window.vigilorViewer.plot.series.distance), null);
  assert.equal(await painted(), 0, 'no distance drawn while nobody is followed');
});

test('nothing failed on the page', () => {
  assert.deepEqual(session.errors, []);
});
