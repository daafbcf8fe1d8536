// Runs bench/web/frame.c three ways and prints its frame time for each: compiled in the
// playground page and run in its worker, built by emscripten as the designer's page is
// (web-bench-frame.html), and natively on the headless display; then the playground's time over
// the page's. A figure to read, not a test.
// Usage: node frame.js BUILD_WEB_DIR BUILD_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');
const { serve } = require('../../tools/web-serve');

const source = path.join(__dirname, 'frame.c');
const figure = text => Number((/BM_Frame\/200 ([\d.]+) ms/.exec(text) || [])[1]);

(async () => {
  const [webDir, buildDir] = process.argv.slice(2).map(p => path.resolve(p));
  const server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
  const times = {};
  try {
    const page = await browser.newPage();
    const done = new Promise(resolve => page.on('console', message => {
      if (figure(message.text())) times.page = figure(message.text());
      if (message.text() === 'done') resolve();
    }));
    await page.goto(url + 'web-bench-frame.html');
    await done;

    const playground = await browser.newPage();
    await playground.goto(url + 'playground/');
    await playground.waitForFunction(() => window.vorlaPlayground && vorlaPlayground.toolchainReady,
      null, { timeout: 300000 });
    await playground.setInputFiles('#file', source);
    await playground.click('#run');
    await playground.waitForFunction(() => /done/.test(document.getElementById('output').textContent),
      null, { timeout: 120000 });
    times.playground = figure(await playground.textContent('#output'));
  } finally {
    await browser.close();
    server.close();
  }
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-frame-'));
  const flags = execFileSync('pkg-config', ['--cflags', '--libs', 'vorla'],
    { env: { ...process.env, PKG_CONFIG_PATH: buildDir } }).toString().trim().split(/\s+/);
  execFileSync('cc', ['-O2', source, '-o', path.join(work, 'frame'), ...flags]);
  times.native = figure(execFileSync(path.join(work, 'frame'),
    { env: { ...process.env, VORLA_DISPLAY: 'headless' } }).toString());
  console.log(`frame of bench/web/frame.c: playground ${times.playground} ms, designer's page build ` +
    `${times.page} ms, native ${times.native} ms; playground / page = ` +
    `${(times.playground / times.page).toFixed(2)}`);
})().catch(error => { console.error(error); process.exit(1); });
