// Starts `vigilor-sandbox play` on a free port and gives the address it printed.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { sandbox } from './replay_file.js';

export function startPlay(scenario, extraArgs = []) {
  const dir = mkdtempSync(join(tmpdir(), 'vigilor-play-'));
  const child = spawn(sandbox, ['play', scenario, '--port', '0', '--dir', join(dir, 'game'), ...extraArgs], {
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  process.on('exit', () => {
    child.kill('SIGKILL');
    rmSync(dir, { recursive: true, force: true });
  });
  return new Promise((resolve, reject) => {
    let out = '';
    child.stdout.on('data', chunk => {
      out += chunk;
      const m = /(http:\/\/[\d.]+:\d+)\/\?token=[0-9a-f]+/.exec(out);
      if (m) resolve({ url: m[0], origin: m[1], dir, child });
    });
    child.on('exit', code => reject(new Error(`play ended with ${code} before printing its address`)));
  });
}
