// Measures, in Debian's headless Chromium, the time from the start of loading the page to the
// program's first frame on its canvas (performance.now() at the first present), over five
// fresh loads and their median, and the bytes the page downloads. Not a test: a figure to look at.
// Usage: node first_frame.js URL
'use strict';
const { chromium } = require('playwright-core');

(async () => {
  const url = process.argv[2];
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const times = [];
  for (let i = 0; i < 5; ++i) {
    const context = await browser.newContext();
    const page = await context.newPage();
    let bytes = 0;
    page.on('response', response => {
      bytes += Number(response.headers()['content-length'] || 0);
    });
    await page.goto(url);
    await page.waitForFunction(() => window.Module && Module.vorlaFirstFrame, null, { timeout: 30000 });
    const [ms, runtime] = await page.evaluate(() => [Module.vorlaFirstFrame, Module.vorlaRuntimeReady]);
    await page.waitForLoadState('networkidle');
    times.push(ms);
    console.log(`load ${i + 1}: first frame after ${ms.toFixed(0)} ms (program started at ${runtime.toFixed(0)} ms), ${bytes} bytes downloaded`);
    await context.close();
  }
  times.sort((a, b) => a - b);
  console.log(`median: first frame after ${times[2].toFixed(0)} ms`);
  await browser.close();
})().catch(error => { console.error(error); process.exit(1); });
