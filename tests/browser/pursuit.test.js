// The replay's account of who knows where the player is, in a real browser: a car crew that sees
// him, a cop whose look is blocked by a wall, and the end of the wanted episode. The moments are
// found from the replay's own data, not from fixed times.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { launch } from './browser.js';
import { writeReplay } from './replay_file.js';

let session;
let page;

const drawn = () => page.evaluate(() => window.vigilorViewer.map.drawn.map(d => ({ ...d })));
const seekSample = s => page.evaluate(i => window.vigilorViewer.seek(window.vigilorViewer.r.samples.times[i]), s);
// The first sample at which a cop matching `where` (run in the page on each sample's cops) is found.
const firstSample = (where, after = 0) => page.evaluate(([src, from]) => {
  const r = window.vigilorViewer.r, test = new Function('c', 's', `return ${src};`);
  for (let i = from; i < r.samples.length; i++) {
    const s = r.samples.at(i);
    const c = s.cops.find(cop => test(cop, s));
    if (c) return { sample: i, id: c.id, index: c.index };
  }
  return null;
}, [where, after]);

before(async () => {
  const { file } = writeReplay(join(import.meta.dirname, 'pursuit_ends.json'));
  session = await launch();
  page = session.page;
  await page.goto('file://' + file);
  await page.waitForSelector('body[data-ready="1"]', { timeout: 10000 });
});

after(async () => { await session?.close(); });

test('a passenger who sees the player is drawn as seeing', async () => {
  const found = await firstSample("c.seat >= 0 && c.state === 'seeing'");
  assert.ok(found, 'the record has a seeing passenger');
  await seekSample(found.sample);
  const cop = (await drawn()).find(d => d.id === found.id);
  assert.equal(cop.kind, 'seeing');
  const counts = await page.evaluate(() => window.vigilorViewer.frameAt(window.vigilorViewer.t).counts);
  const seeing = (await drawn()).filter(d => d.kind === 'seeing').length;
  assert.equal(seeing, counts.seeing, 'the map shows as many seeing cops as the plugin counts');
});

test('after the wanted episode ends no cop is drawn chasing and the counts are cleared', async () => {
  const started = await firstSample('s.episode === true');
  const ended = await firstSample('s.episode !== true', started.sample);
  assert.ok(ended, 'the episode ends in the record');
  await seekSample(ended.sample);
  const kinds = (await drawn()).map(d => d.kind);
  assert.ok(kinds.length >= 3);
  for (const kind of kinds) assert.ok(kind === 'plain' || kind === 'dead', kind);
  const status = await page.textContent('#status');
  assert.match(status, /seeing 0, lost 0/);
});

test('selecting a cop shows his sight lines and the condition that fails', async () => {
  const found = await page.evaluate(() => {
    const r = window.vigilorViewer.r, k = r.samples.cops.entities.findIndex(e => e.id === 'walled');
    const l = r.sight.get(k);
    const i = l ? l.items.findIndex(q => !q.clear) : -1;
    return i < 0 ? null : { sample: l.items[i].s };
  });
  assert.ok(found, 'the walled cop asked and was refused');
  await seekSample(found.sample);
  const cop = (await drawn()).find(d => d.id === 'walled');
  const box = await page.locator('#map').boundingBox();
  await page.mouse.click(box.x + cop.x, box.y + cop.y);
  const follow = page.locator('#follow');
  assert.equal(await follow.getAttribute('data-fails'), 'line of sight');
  assert.match(await follow.textContent(), /blocked by wall/);
  const lines = await page.evaluate(() => window.vigilorViewer.map.sightLines);
  assert.deepEqual(lines, [{ clear: false, blocker: 0 }]);
});

test('the timeline has a lane per cop, and a click jumps there and follows him', async () => {
  const lanes = page.locator('#lanes');
  const box = await lanes.boundingBox();
  const laneHeight = await page.evaluate(() => window.vigilorViewer.lanes.laneHeight);
  assert.ok(box.height >= 3 * laneHeight - 1, `room for three lanes (${box.height})`);
  await page.mouse.click(box.x + box.width / 2, box.y + laneHeight * 1.5);
  const status = await page.evaluate(() => ({ ...document.getElementById('status').dataset }));
  const end = await page.evaluate(() => window.vigilorViewer.r.end);
  assert.ok(Math.abs(Number(status.time) - end / 2) < end * 0.02, `${status.time} near ${end / 2}`);
  assert.equal(status.follow, 'passenger');
});

test('nothing failed on the page', () => {
  assert.deepEqual(session.errors, []);
});
