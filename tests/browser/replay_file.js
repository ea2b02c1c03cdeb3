// Writes the replay of a built-in scenario with the built sandbox, into a fresh folder.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

const repo = resolve(import.meta.dirname, '..', '..');
export const sandbox = resolve(repo, process.env.VIGILOR_SANDBOX || join('build', 'default', 'bin', 'vigilor-sandbox'));

export function writeReplay(scenario, extraArgs = []) {
  const dir = mkdtempSync(join(tmpdir(), 'vigilor-replay-'));
  // Gone when the test file's process ends, so runs do not pile up in the temporary folder.
  process.on('exit', () => rmSync(dir, { recursive: true, force: true }));
  const file = join(dir, 'replay.html');
  execFileSync(sandbox, ['run', scenario, '--dir', join(dir, 'game'), '--replay', file, '--quiet', ...extraArgs]);
  return { dir, file };
}
