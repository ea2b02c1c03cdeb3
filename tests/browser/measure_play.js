// Measures the live play with 100 cops (the busy town, standing player): the world updates the page
// takes a second at 1x and the frames it draws, over SECONDS; then the time from a key to the
// player's first drawn move, over PRESSES presses (median and 90th percentile), and where that time
// went. The page asks nothing of any address but the play's: the driver's network guard, which
// would hold up each of its messages, is left off (`--guard` puts it on).
// Usage: node measure_play.js [SECONDS] [PRESSES] [--guard] [-- PLAY OPTIONS...]
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch } from './browser.js';
import { startPlay } from './play_server.js';

const dashes = process.argv.indexOf('--');
const args = dashes < 0 ? process.argv.slice(2) : process.argv.slice(2, dashes);
const playArgs = dashes < 0 ? [] : process.argv.slice(dashes + 1);
const guard = args.includes('--guard');
const [seconds = 10, presses = 100] = args.filter(a => a !== '--guard').map(Number);
const scenario = JSON.parse(
  execFileSync('node', [join(import.meta.dirname, 'busy_town.js'), '10'], { encoding: 'utf8' }),
);
// The player stands until a key moves him, so that a move drawn is the key's.
scenario.events = scenario.events.filter(e => !e.do.startsWith('player'));
const file = join(mkdtempSync(join(tmpdir(), 'vigilor-measure-play-')), 'busy-town.json');
writeFileSync(file, JSON.stringify(scenario));

const play = await startPlay(file, playArgs);
const session = await launch(undefined, play.origin, guard);
const page = session.page;
await page.goto(play.url);
await page.waitForSelector('body[data-ready="1"]');
await page.waitForFunction(() => window.vigilorViewer.r.samples.length > 10);
const counts = () => page.evaluate(() => [window.vigilorViewer.updates, window.vigilorViewer.drawn, performance.now()]);
const [u0, d0, t0] = await counts();
await page.waitForTimeout(seconds * 1000);
const [u1, d1, t1] = await counts();
const wall = (t1 - t0) / 1000;
console.log(
  `updates a second at 1x: ${((u1 - u0) / wall).toFixed(1)}; frames drawn a second: ${((d1 - d0) / wall).toFixed(1)}`,
);

for (let i = 0; i < presses; i++) {
  const key = i % 2 ? 'ArrowLeft' : 'ArrowRight';
  const before = await page.evaluate(() => window.vigilorViewer.latencies.length);
  await page.keyboard.down(key);
  await page.waitForFunction(n => window.vigilorViewer.latencies.length > n, before);
  await page.keyboard.up(key);
  await page.waitForTimeout(120);
}
const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))].toFixed(1);
};
const ms = await page.evaluate(() => window.vigilorViewer.latencies);
console.log(
  `key to the first drawn move, ${ms.length} presses: median ${quantile(ms, 0.5)} ms, 90% ${quantile(ms, 0.9)} ms`,
);
const parts = await page.evaluate(() => window.vigilorViewer.latencyParts);
const median = k =>
  quantile(
    parts.map(p => p[k]),
    0.5,
  );
const medians = Object.keys(parts[0]).map(k => `${k} ${median(k)}`);
console.log(`medians from the key, ms: ${medians.join(', ')}`);
console.log(`the play's samples by then: ${await page.evaluate(() => window.vigilorViewer.r.samples.length)}`);
await session.close();
play.child.kill('SIGINT');
process.exit(0);
