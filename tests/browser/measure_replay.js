// Measures how a replay page behaves: load time, and frames drawn per second while it plays.
// Usage: node measure_replay.js REPLAY.html [speed]
import { launch } from './browser.js';

const [file, speed = '16'] = process.argv.slice(2);
const { page, errors, close } = await launch();
const started = Date.now();
await page.goto('file://' + file);
await page.waitForSelector('body[data-ready="1"]', { timeout: 120000 });
const loadMs = Date.now() - started;
const result = await page.evaluate(async s => {
  const app = window.vigilorViewer;
  app.speed = Number(s);
  app.play(true);
  const times = [];
  await new Promise(done => {
    const frame = now => {
      times.push(now);
      if (times.length < 300) requestAnimationFrame(frame);
      else done();
    };
    requestAnimationFrame(frame);
  });
  app.play(false);
  const gaps = times
    .slice(1)
    .map((t, i) => t - times[i])
    .sort((a, b) => a - b);
  return {
    fps: (1000 * (times.length - 1)) / (times[times.length - 1] - times[0]),
    worstFrameMs: gaps[gaps.length - 1],
    p95FrameMs: gaps[Math.floor(gaps.length * 0.95)],
    cops: document.getElementById('status').dataset.cops,
    heapMb: performance.memory ? performance.memory.usedJSHeapSize / 1e6 : null,
  };
}, speed);
console.log(JSON.stringify({ loadMs, ...result, errors }));
await close();
