// The replay of a busy town (100 cops, a fifth of them in cars), in a real browser: at every sample
// the same seeing cops on the status line, the map and the panel, and every lost cop's last sight
// fits the rule that holds him lost.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openReplay } from './browser.js';
import { writeReplay } from './replay_file.js';
import { testEverySample } from './replay_checks.js';

let session;
let page;

before(async () => {
  const dir = mkdtempSync(join(tmpdir(), 'vigilor-town-'));
  process.on('exit', () => rmSync(dir, { recursive: true, force: true }));
  const scenario = join(dir, 'busy-town.json');
  writeFileSync(scenario, execFileSync('node', [join(import.meta.dirname, 'busy_town.js'), '1']));
  const { file } = writeReplay(scenario);
  session = await openReplay(file);
  page = session.page;
});

after(async () => {
  await session?.close();
});

testEverySample(() => page);

test('nothing failed on the page', () => {
  assert.deepEqual(session.errors, []);
});
