// A sweep over three values of one key: each metric's curve against the value, and the replay pages
// of the first seed of each variant, linked from the report and from the dots.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch } from './browser.js';
import { sandbox } from './replay_file.js';

let session;
let page;
let out;

before(async () => {
  out = mkdtempSync(join(tmpdir(), 'vigilor-sweep-curve-'));
  execFileSync(sandbox, [
    'sweep',
    'demo',
    '--seeds',
    '3',
    '--vary',
    'PursuitGraceMs=6000,1500,3000',
    '--replays',
    '1',
    '--jobs',
    '2',
    '--out',
    out,
    '--quiet',
  ]);
  session = await launch();
  page = session.page;
  await page.goto('file://' + join(out, 'report.html'));
});

after(async () => {
  await session?.close();
  if (out) rmSync(out, { recursive: true, force: true });
});

test('every metric has a curve against the key with one point per value, in value order', async () => {
  const curves = await page.$$eval('section.metric', all =>
    all.map(s => {
      const svg = s.querySelector('svg.curve[data-key="PursuitGraceMs"]');
      return {
        metric: s.dataset.metric,
        drawn: svg?.getBoundingClientRect().width ?? 0,
        points: [...(svg?.querySelectorAll('g.point') ?? [])].map(p => ({
          value: p.dataset.value,
          x: Number(p.querySelector('circle').getAttribute('cx')),
          y: Number(p.querySelector('circle').getAttribute('cy')),
          interval: p.querySelectorAll('line.interval').length,
          title: p.querySelector('title').textContent,
        })),
      };
    }),
  );
  assert.ok(curves.length >= 7);
  for (const c of curves) {
    assert.ok(c.drawn > 100, c.metric);
    assert.deepEqual(
      c.points.map(p => p.value),
      ['1500', '3000', '6000'],
      c.metric,
    );
    assert.ok(c.points[0].x < c.points[1].x && c.points[1].x < c.points[2].x, c.metric);
    for (const p of c.points) {
      assert.equal(p.interval, 1, c.metric);
      assert.ok(Number.isFinite(p.y), c.metric);
    }
  }
  // A yes-or-no metric is a share, a time a median; a longer grace loses the player later: higher up.
  const escaped = curves.find(c => c.metric === 'escaped');
  assert.match(escaped.points[0].title, /^PursuitGraceMs=1500: \d of 3 \(/);
  const firstLoss = curves.find(c => c.metric === 'firstLossS');
  assert.match(firstLoss.points[0].title, /^PursuitGraceMs=1500: median /);
  assert.ok(firstLoss.points[2].y < firstLoss.points[0].y, 'firstLossS rises with the grace time');
  assert.deepEqual(session.errors, []);
});

test('the first seed of each variant has a replay page, linked from the list and from its dots', async () => {
  const links = await page.$$eval('#replays a.replay', as => as.map(a => a.getAttribute('href')));
  assert.equal(links.length, 4);
  for (const link of links) {
    assert.match(link, /^replays\/1-demo\/\d-[^/]+\/seed-1\.html$/);
    assert.ok(existsSync(join(out, link)), link);
  }
  const dots = await page.$$eval('section[data-metric="firstLossS"] a > circle', cs =>
    cs.map(c => ({ href: c.parentElement.getAttribute('href'), seed: c.dataset.seed, title: c.textContent })),
  );
  assert.equal(dots.length, 4);
  for (const dot of dots) {
    assert.equal(dot.seed, '1');
    assert.ok(links.includes(dot.href));
    assert.match(dot.title, /click to open its replay/);
  }
  await page.goto('file://' + join(out, links[1]));
  assert.match(await page.title(), /demo/);
  assert.deepEqual(session.errors, []);
});
