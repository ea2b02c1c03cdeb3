// The live play in a real browser, the user being the player: held keys move him, a cop sees him
// and then loses him behind a building, pause and a single frame, F10, a change of settings with
// the comparison it brings, and the play saved and checked against what the page showed.
// Page callbacks run in the play's page, where the viewer's namespace V is.
/* global V */
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { launch } from './browser.js';
import { startPlay } from './play_server.js';
import { sandbox } from './replay_file.js';

const repo = resolve(import.meta.dirname, '..', '..');
let session;
let page;
let play;

const status = () => page.evaluate(() => ({ ...document.getElementById('status').dataset }));
const counts = async () => {
  const m = /seeing (\d+), lost (\d+)/.exec(await page.textContent('#status'));
  return { seeing: Number(m[1]), lost: Number(m[2]) };
};
const player = async () => (await status()).player.split(',').map(Number);
const runMs = async () => Number((await status()).time);
const paused = async () => (await page.getAttribute('#play-state', 'data-paused')) === '1';
// Waits until the page shows the run at or past `ms`.
const until = async ms => page.waitForFunction(t => Number(document.getElementById('status').dataset.time) >= t, ms);
// The run's time when the server took the last message the page sent: what it asks for runs after it.
const acknowledged = () =>
  page.evaluate(async () => {
    await window.vigilorViewer.sending;
    return window.vigilorViewer.serverState.runMs;
  });
const logHas = text => page.evaluate(t => window.vigilorViewer.r.log.some(l => l.text.startsWith(t)), text);

before(async () => {
  play = await startPlay(join(repo, 'tests', 'data', 'play-escape.json'));
  session = await launch(undefined, play.origin);
  page = session.page;
  page.setDefaultTimeout(20000);
  await page.goto(play.url);
  await page.waitForSelector('body[data-ready="1"]');
});

after(async () => {
  await session?.close();
  play?.child.kill('SIGINT');
});

test('the run waits for the player until he starts it', async () => {
  await page.waitForFunction(() => document.getElementById('play-state').dataset.waiting === '1');
  assert.equal(await runMs(), 0);
  assert.equal(await page.textContent('#play'), 'start');
  await page.click('#play');
  await until(300);
  assert.equal(await page.getAttribute('#play-state', 'data-waiting'), '0');
});

test('held keys move the player; the cop sees him, then loses him behind the warehouse', async () => {
  await page.selectOption('#speed', '4');
  await page.waitForFunction(() => /seeing 1/.test(document.getElementById('status').textContent));
  const [x0, y0] = await player();
  // East past the warehouse's end, north behind it, then west along its far side.
  await page.keyboard.down('Shift');
  await page.keyboard.down('ArrowRight');
  await page.waitForFunction(() => Number(document.getElementById('status').dataset.player.split(',')[0]) >= 36);
  const [x1, y1] = await player();
  assert.ok(x1 > x0 + 30 && Math.abs(y1 - y0) < 1, `he ran east: ${[x0, y0]} -> ${[x1, y1]}`);
  await page.keyboard.up('ArrowRight');
  await page.keyboard.down('ArrowUp');
  await page.waitForFunction(() => Number(document.getElementById('status').dataset.player.split(',')[1]) >= 40);
  await page.keyboard.up('ArrowUp');
  await page.keyboard.down('ArrowLeft');
  await page.waitForFunction(() => Number(document.getElementById('status').dataset.player.split(',')[0]) <= -20);
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.up('Shift');
  await page.waitForFunction(() => /lost 1/.test(document.getElementById('status').textContent));
  assert.deepEqual(await counts(), { seeing: 0, lost: 1 });
  assert.ok(await logHas('cop lost the player:'));
  // Let go, he stands: from the first frame after the server took the release.
  await until((await acknowledged()) + 100);
  const stood = await player();
  await until((await runMs()) + 500);
  assert.deepEqual(await player(), stood);
});

test('pause stops the run; a single frame moves it on by one frame', async () => {
  await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '1');
  // The last frame run before the pause, once it has reached the page.
  const at = await acknowledged();
  await until(at);
  assert.equal(await runMs(), at);
  await page.keyboard.press('.');
  await until(at + 1);
  // One frame after the last one before the pause: none ran while paused. The scenario's 33 ms
  // frames, cut to the play's 16.
  assert.equal(await runMs(), at + 16, 'nothing runs while paused');
  assert.ok(await paused());
  // What the page grew update by update is what the viewer decodes from the whole data at once.
  const same = await page.evaluate(
    () =>
      new Promise(done => {
        const source = new EventSource(V.server.url('/events'));
        source.addEventListener('full', e => {
          source.close();
          const whole = new V.SampleList(JSON.parse(e.data).data),
            live = window.vigilorViewer.r.samples;
          const text = s => JSON.stringify(Array.from({ length: s.length }, (_, i) => s.at(i)));
          done({ samples: live.length, same: text(whole) === text(live) });
        });
      }),
  );
  assert.ok(same.samples > 100 && same.same, JSON.stringify(same));
  await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '0');
});

test('F10 reaches the plugin: it says it is off, and on again', async () => {
  await page.keyboard.press('F10');
  await page.waitForFunction(() => window.vigilorViewer.r.log.some(l => l.text === 'F10: enabled=0'));
  // A key event holds the key for 100 ms: a second press within it would be the same press.
  await until((await runMs()) + 300);
  await page.keyboard.press('F10');
  await page.waitForFunction(() => window.vigilorViewer.r.log.some(l => l.text === 'F10: enabled=1'));
});

test('a change of settings plays it again and tells where the runs part', async () => {
  await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '1');
  await page.click('#play-settings-open');
  await page.fill('input[name="PursuitGraceMs"]', '60000');
  await page.click('#play-apply');
  await page.waitForFunction(() =>
    /parts from the one played at/.test(document.getElementById('play-message').textContent),
  );
  const lines = await page.$$eval('#play-compare li', lis => lis.map(li => li.textContent));
  assert.deepEqual(lines.length, 1, lines.join('\n'));
  assert.match(lines[0], /^with PursuitGraceMs=60000 cop1 would not have lost you \(he lost you at \d+\.\d s\)$/);
  // The page now shows the run with the new setting, at the same time.
  await page.waitForFunction(() => !/lost 1/.test(document.getElementById('status').textContent));
});

test('the play saved is a scenario that check passes with what the page showed', async () => {
  const shown = await page.evaluate(() => {
    const r = window.vigilorViewer.r;
    return { end: r.end, started: r.log.find(l => l.text.startsWith('wanted level started')).t };
  });
  await page.click('#play-save');
  await page.waitForFunction(() => document.getElementById('play-message').dataset.saved);
  const path = await page.getAttribute('#play-message', 'data-saved');
  const replay = readFileSync(path.replace(/\.json$/, '.html'), 'utf8');
  assert.match(replay, /<title>Vigilor replay: play of play-escape<\/title>/);
  assert.ok(replay.includes('F10: enabled=1'), 'the replay page holds the play');
  const viewer = await page.context().newPage();
  await viewer.goto('file://' + path.replace(/\.json$/, '.html'));
  await viewer.waitForSelector('body[data-ready="1"]');
  assert.equal(await viewer.evaluate(() => window.vigilorViewer.r.end), shown.end);
  await viewer.close();
  const saved = JSON.parse(readFileSync(path, 'utf8'));
  assert.equal(saved.durationMs, shown.end);
  assert.ok(saved.events.some(e => e.do === 'key' && e.key === 'F10'));
  saved.expect = [{ log: 'wanted level started*', by: shown.started }, { noLog: 'cop lost the player: ped=*' }];
  const file = join(play.dir, 'checked.json');
  writeFileSync(file, JSON.stringify(saved));
  const out = execFileSync(sandbox, ['check', file, '--quiet', '--dir', join(play.dir, 'check')], { encoding: 'utf8' });
  assert.match(out, /1 of 1 scenarios passed; 2 of 2 expectations/);
  assert.deepEqual(session.errors, []);
});

test('keys go back to the play after a list is used; settings filter, scroll and show what was refused', async () => {
  if (await paused()) {
    await page.click('#play');
    await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '0');
  }
  // The speed chosen with the keyboard's focus on its list: the arrows then move the player, not the list.
  await page.focus('#speed');
  await page.selectOption('#speed', '2');
  const [, y0] = await player();
  await page.keyboard.down('ArrowDown');
  await page.waitForFunction(y => Number(document.getElementById('status').dataset.player.split(',')[1]) < y - 2, y0);
  await page.keyboard.up('ArrowDown');
  assert.equal(await page.inputValue('#speed'), '2');
  // No car in this town: E says so.
  await page.keyboard.press('e');
  await page.waitForFunction(() =>
    /E: no free car within 6 m/.test(document.getElementById('play-message').textContent),
  );

  if (await page.isHidden('#play-settings')) await page.click('#play-settings-open');
  await page.waitForSelector('#play-settings-table tr[data-key="SightRange"]');
  await page.fill('#play-settings-filter', 'grace');
  const shown = await page.$$eval('#play-settings-table tr[data-key]:not([hidden])', trs =>
    trs.map(tr => tr.dataset.key),
  );
  assert.ok(
    shown.includes('PursuitGraceMs') && shown.every(k => /grace/i.test(k) || k === 'PursuitGraceMs'),
    shown.join(),
  );
  await page.fill('#play-settings-filter', '');
  await page.fill('input[name="SightRange"]', 'abc');
  // The apply button lies below 61 rows: the panel scrolls to it, nothing is cut off.
  await page.locator('#play-apply').scrollIntoViewIfNeeded();
  const box = await page.locator('#play-apply').boundingBox();
  assert.ok(box.y + box.height <= page.viewportSize().height, `apply at ${box.y}`);
  await page.click('#play-apply');
  await page.waitForSelector('#play-settings-table tr.refused[data-key="SightRange"]');
  assert.match(await page.textContent('tr[data-key="SightRange"] .problem'), /not a number: "abc" reads as 0/);
  assert.match(await page.textContent('#play-message'), /1 refused: see the marked settings/);
});

test('the map keeps the player in view as he runs off where it was fitted', async () => {
  if (await paused()) await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '0');
  const [, y0] = await player();
  await page.keyboard.down('Shift');
  await page.keyboard.down('ArrowUp');
  await page.waitForFunction(y => Number(document.getElementById('status').dataset.player.split(',')[1]) > y + 120, y0);
  await page.keyboard.up('ArrowUp');
  await page.keyboard.up('Shift');
  const at = await page.evaluate(() => {
    const { map, frame } = window.vigilorViewer;
    return { x: map.cam.x(frame.player.pos[0]), y: map.cam.y(frame.player.pos[1]), w: map.cam.w, h: map.cam.h };
  });
  assert.ok(at.x >= 0 && at.x <= at.w && at.y >= 0 && at.y <= at.h, JSON.stringify(at));
});

test('after the strips below the map grow, a click on each cop where he is drawn follows him', async () => {
  if (!(await paused())) await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.paused === '1');
  await page.evaluate(() => (document.getElementById('lanes').style.height = '200px'));
  // Sized again: the canvas holds as many pixels as it shows.
  await page.waitForFunction(() => {
    const c = document.getElementById('map');
    return c.height === Math.round(c.clientHeight * (window.devicePixelRatio || 1));
  });
  const rect = await page.evaluate(() => document.getElementById('map').getBoundingClientRect().toJSON());
  const drawn = () => page.evaluate(() => window.vigilorViewer.map.drawn.map(d => ({ id: d.id, x: d.x, y: d.y })));
  const inside = c => c.x > 10 && c.y > 10 && c.x < rect.width - 10 && c.y < rect.height - 10;
  // Zoomed out with the wheel until every cop is on the map.
  await page.mouse.move(rect.left + rect.width / 2, rect.top + rect.height / 2);
  const scale = () => page.evaluate(() => window.vigilorViewer.map.cam.scale);
  for (let i = 0; i < 30 && !(await drawn()).every(inside); i++) {
    const before = await scale();
    await page.mouse.wheel(0, 100);
    await page.waitForFunction(s => window.vigilorViewer.map.cam.scale !== s, before);
  }
  const cops = await drawn();
  assert.ok(cops.length > 0 && cops.every(inside), JSON.stringify(cops));
  for (const cop of cops) {
    await page.mouse.click(rect.left + cop.x, rect.top + cop.y);
    assert.equal(await page.evaluate(() => window.vigilorViewer.map.follow), cop.id);
  }
});

test('restart in another town starts over on the next seed and waits for the player again', async () => {
  const seed = await page.evaluate(() => window.vigilorViewer.serverState.seed);
  await page.click('#play-new-seed');
  await page.waitForFunction(() => document.getElementById('play-state').dataset.waiting === '1');
  await page.waitForFunction(() => Number(document.getElementById('status').dataset.time) === 0);
  assert.equal(await page.evaluate(() => window.vigilorViewer.serverState.seed), seed + 1);
  await page.keyboard.press('ArrowUp');
  await until(300);
});
