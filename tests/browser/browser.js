// Headless Chromium from the system's package, with a fresh empty profile and no network chatter.
import { chromium } from 'playwright-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// `server`: the one http origin the page may reach (a play's own server), besides its files.
// `guard`: whether the driver keeps the page off the network. It does so by holding each request
// until the driver has looked at it, which costs a play's messages 10 to 25 ms each on a loaded
// machine: timing measurements go without it, as a user's browser does.
export async function launch(viewport = { width: 1400, height: 850 }, server = null, guard = true) {
  const profile = mkdtempSync(join(tmpdir(), 'vigilor-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    viewport,
    // A play's page forbids script from strings, which the driver's waits are made of.
    bypassCSP: server !== null,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
  // Nothing may leave the machine: a replay that reached for the network would fail here.
  if (guard)
    await context.route(
      url => !url.protocol.startsWith('file') && url.origin !== server,
      route => route.abort(),
    );
  const page = context.pages()[0] || (await context.newPage());
  const errors = [];
  page.on('pageerror', e => errors.push(e.message));
  page.on('console', m => {
    if (m.type() === 'error') errors.push(m.text());
  });
  return {
    page,
    errors,
    close: async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A replay page opened in a fresh browser, once its viewer says it is ready.
export async function openReplay(file) {
  const session = await launch();
  await session.page.goto('file://' + file);
  await session.page.waitForSelector('body[data-ready="1"]', { timeout: 20000 });
  return session;
}
