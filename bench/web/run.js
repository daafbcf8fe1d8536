// Runs the designer frame benchmark compiled for the page (web-bench-designer.html) in Debian's
// headless Chromium and the native one (bench_designer) on this machine, one after the other, and
// prints both with their ratio. A figure to read, not a test.
// Usage: node run.js BUILD_WEB_DIR NATIVE_BENCH_DESIGNER
'use strict';
const path = require('path');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');
const { serve } = require('../../tests/web/serve');

(async () => {
  const [webDir, native] = process.argv.slice(2);
  const server = await serve(path.resolve(webDir));
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run'] });
  const web = {};
  try {
    const page = await browser.newPage();
    const finished = new Promise(resolve => page.on('console', message => {
      const line = message.text();
      const figure = /^BM_DesignerRedraw\/(\d+) ([\d.]+) ms$/.exec(line);
      if (figure) web[figure[1]] = Number(figure[2]);
      if (line === 'done') resolve();
    }));
    await page.goto(`http://127.0.0.1:${server.address().port}/web-bench-designer.html`);
    await Promise.race([finished, new Promise((_, reject) => setTimeout(() => reject(new Error('no result in 120 s')), 120000))]);
  } finally {
    await browser.close();
    server.close();
  }
  const output = execFileSync(native, ['--benchmark_filter=BM_DesignerRedraw/(0|200)$',
    '--benchmark_min_time=0.3', '--benchmark_repetitions=5', '--benchmark_report_aggregates_only=true',
    '--benchmark_format=json'], { encoding: 'utf8' });
  const desktop = {};
  for (const b of JSON.parse(output).benchmarks) {
    if (b.aggregate_name === 'median') desktop[b.run_name.split('/')[1]] = b.real_time;
  }
  console.log('toppings  page (wasm)  desktop (native)  page / desktop');
  for (const n of ['0', '200']) {
    console.log(`${n.padStart(8)}  ${web[n].toFixed(4)} ms  ${desktop[n].toFixed(4)} ms       ` +
      `${(web[n] / desktop[n]).toFixed(2)}x`);
  }
})().catch(error => { console.error(error); process.exit(1); });
