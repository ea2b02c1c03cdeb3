// The replay viewer in a real browser: a built-in scenario's replay, written by the built sandbox.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { openReplay } from './browser.js';
import { writeReplay } from './replay_file.js';

const repo = resolve(import.meta.dirname, '..', '..');
const shots = join(repo, 'build', 'browser-shots');
// Cops on foot lose the player and search for him: they move, and the log tells their steps.
const scenario = 'foot-search';
const copsInScenario = JSON.parse(readFileSync(join(repo, 'scenarios', `${scenario}.json`), 'utf8')).peds.filter(
  p => p.type === 6,
).length;
let session;
let page;

const status = () => page.evaluate(() => ({ ...document.getElementById('status').dataset }));
const seek = t => page.evaluate(ms => window.vigilorViewer.seek(ms), t);
const copsOnScreen = () =>
  page.evaluate(() => window.vigilorViewer.map.drawn.map(d => [d.id, Math.round(d.x), Math.round(d.y)]));
const logLines = () => page.$$eval('#log li:not(.future)', lis => lis.map(li => li.textContent));

before(async () => {
  const { file } = writeReplay(scenario);
  session = await openReplay(file);
  page = session.page;
});

after(async () => {
  await session?.close();
});

test('the map draws every recorded cop and nothing fails on the page', async () => {
  await seek(3000);
  const s = await status();
  assert.equal(s.cops, String(copsInScenario));
  assert.equal(s.copsDrawn, String(copsInScenario));
  assert.deepEqual(session.errors, []);
});

test('moving the slider moves the cops and the log with it', async () => {
  await seek(200);
  const early = { cops: await copsOnScreen(), log: await logLines() };
  const slider = page.locator('#slider');
  const end = Number(await slider.getAttribute('max'));
  await slider.fill(String(end));
  const late = { cops: await copsOnScreen(), log: await logLines(), status: await status() };
  assert.equal(late.status.time, String(end));
  assert.notDeepEqual(late.cops, early.cops, 'some cop is elsewhere at the end');
  assert.ok(late.log.length > early.log.length, `more lines by the end (${early.log.length} -> ${late.log.length})`);
  await page.fill('#log-filter', 'cop lost the player');
  assert.ok(
    (await logLines()).some(l => l.includes('cop lost the player')),
    'the loss is among the lines written by then',
  );
  await page.fill('#log-filter', '');
});

test('clicking a log line moves the slider to its time', async () => {
  await seek(0);
  await page.fill('#log-filter', 'cop lost the player');
  const line = page.locator('#log li', { hasText: 'cop lost the player' }).first();
  const t = await line.getAttribute('data-t');
  await line.click();
  assert.equal((await status()).time, t);
  assert.equal(await page.locator('#slider').inputValue(), t);
  await page.fill('#log-filter', '');
});

test('clicking a cop follows him and the log shows only his lines', async () => {
  const [id, x, y] = (await copsOnScreen())[0];
  const box = await page.locator('#map').boundingBox();
  await page.mouse.click(box.x + x, box.y + y);
  assert.equal((await status()).follow, id);
  const ptr = await page.evaluate(
    cid => window.vigilorViewer.frameAt(window.vigilorViewer.t).cops.find(c => c.id === cid).ptr,
    id,
  );
  const shown = await page.$$eval('#log li', lis => lis.map(li => li.textContent));
  assert.ok(shown.length > 0);
  for (const text of shown) assert.ok(text.includes(ptr), text);
  await page.click('#clear-follow');
  assert.equal((await status()).follow, '');
});

test('play advances the time and step moves by one sample', async () => {
  await seek(1000);
  await page.click('#step-fwd');
  const stepped = await status();
  const next = await page.evaluate(() => window.vigilorViewer.r.samples.times.find(t => t > 1000));
  assert.equal(Number(stepped.time), next);
  await page.selectOption('#speed', '4');
  await page.click('#play');
  await page.waitForFunction(
    t => Number(document.getElementById('status').dataset.time) > t + 500,
    Number(stepped.time),
  );
  await page.click('#play');
});

test('screenshot of the pursuit', async () => {
  mkdirSync(shots, { recursive: true });
  await seek(20000);
  await page.screenshot({ path: join(shots, `${scenario}.png`) });
});
