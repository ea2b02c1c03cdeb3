// The sweep's report page in a real browser: it opens offline, draws its plots and logs no errors.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch } from './browser.js';
import { sandbox } from './replay_file.js';

let session;
let page;
const consoleErrors = [];
let csv;
let out;

before(async () => {
  out = mkdtempSync(join(tmpdir(), 'vigilor-sweep-'));
  execFileSync(sandbox, [
    'sweep',
    'foot-search',
    '--seeds',
    '4',
    '--vary',
    'PursuitGraceMs=1500,6000',
    '--jobs',
    '2',
    '--out',
    out,
    '--quiet',
  ]);
  csv = readFileSync(join(out, 'results.csv'), 'utf8').trim().split('\n');
  session = await launch();
  page = session.page;
  page.on('console', m => {
    if (m.type() === 'error') consoleErrors.push(m.text());
  });
  await page.goto('file://' + join(out, 'report.html'));
});

after(async () => {
  await session?.close();
  if (out) rmSync(out, { recursive: true, force: true });
});

test('results.csv has a row per run', () => {
  assert.equal(csv.length, 1 + 3 * 4);
  assert.ok(csv[0].startsWith('scenario,variant,seed,status,firstLossS,allLostS,seenS,chasedAgain,firstFadeS,escaped'));
});

test('every time or count has a plot with one box per variant, a yes-or-no metric a share per variant', async () => {
  const sections = await page.$$eval('section.metric', all =>
    all.map(s => ({
      metric: s.dataset.metric,
      boxes: s.querySelectorAll('svg.plot g.box').length,
      drawn: s.querySelector('svg.plot')?.getBoundingClientRect().width ?? 0,
      shares: [...s.querySelectorAll('table.share tr')].slice(1).map(r => r.cells[2].textContent),
    })),
  );
  assert.ok(sections.some(p => p.metric === 'firstLossS'));
  assert.ok(sections.length >= 6);
  for (const p of sections) {
    if (p.metric === 'escaped') {
      assert.equal(p.boxes, 0);
      assert.equal(p.shares.length, 3);
      for (const share of p.shares) assert.match(share, /^\d+ of 4$/);
      continue;
    }
    assert.equal(p.boxes, 3, p.metric);
    assert.ok(p.drawn > 100, p.metric);
  }
  // One verdict in words per variant and metric, at the top.
  const verdicts = await page.$$eval('#verdicts li.verdict', ls => ls.map(l => l.textContent));
  assert.equal(verdicts.length, 2 * sections.length);
  assert.ok(
    verdicts.every(v => /PursuitGraceMs=\d+: /.test(v)),
    verdicts.join('\n'),
  );
  // The longer grace time loses the player later: its median box sits to the right of base's.
  const medians = await page.$$eval('section[data-metric="firstLossS"] line.median', ls =>
    ls.map(l => Number(l.getAttribute('x1'))),
  );
  assert.equal(medians.length, 3);
  assert.ok(medians[2] > medians[0], `6000 ms median right of base (${medians})`);
  assert.deepEqual(session.errors, []);
  assert.deepEqual(consoleErrors, []);
});

test("a dot names its run and the command that reruns it, which gives the dot's value again", async () => {
  const dots = await page.$$eval('section[data-metric="firstLossS"] svg.plot circle', cs =>
    cs.map(c => ({ seed: c.dataset.seed, title: c.querySelector('title')?.textContent ?? '' })),
  );
  assert.equal(dots.length, 3 * 4);
  const dot = dots.find(d => d.title.includes('PursuitGraceMs=6000'));
  assert.ok(dot, dots.map(d => d.title).join('\n'));
  const command = dot.title.slice(dot.title.indexOf('vigilor-sandbox run '));
  assert.match(
    command,
    new RegExp(`^vigilor-sandbox run foot-search --seed ${dot.seed} --set '?PursuitGraceMs=6000'?$`),
  );
  // Run it as written (the words carry no quoting that matters here) and compare with the sweep's row.
  const args = command.replace(/'/g, '').split(' ').slice(1);
  const dir = mkdtempSync(join(tmpdir(), 'vigilor-rerun-'));
  try {
    execFileSync(sandbox, [...args, '--dir', dir, '--quiet', '--json', join(dir, 'run.json')]);
    const rerun = JSON.parse(readFileSync(join(dir, 'run.json'), 'utf8')).metrics.firstLossS;
    const header = csv[0].split(',');
    const row = csv.map(l => l.split(',')).find(r => r[1] === 'PursuitGraceMs=6000' && r[2] === dot.seed);
    assert.equal(Number(row[header.indexOf('firstLossS')]), rerun);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
