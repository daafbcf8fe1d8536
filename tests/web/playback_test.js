// The page while the program runs without waiting, in Debian's headless Chromium on the real
// clock, with a profile of its own: a playback of a script that never ends
// (VORLA_PERIODIC(1000000);) leaves the page live (its own timer runs every few milliseconds,
// the canvas changes as it plays) and Ctrl+P stops it. Then a script file loaded while a
// recording runs is refused, and the file stays playable; a file with no script line is said
// so, and the runtime's log lines about VORLA.SCR show in the page's status line. Last, a page
// closed right after a click of a recording that is still on keeps the click in the file.
// Usage: node playback_test.js BUILD_WEB_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');
const { pause, until, scriptText, failures, check, report } = require('./checks');

const webDir = path.resolve(process.argv[2] || 'build-web');

const picture = page => page.evaluate(() => {
  const c = document.querySelector('#screen canvas');
  const data = new Uint32Array(c.getContext('2d').getImageData(0, 0, c.width, c.height).data.buffer);
  let hash = 0;
  for (let i = 0; i < data.length; ++i) hash = (Math.imul(hash, 31) + data[i]) | 0;
  return hash;
});

const load = (page, text) => page.setInputFiles('#file',
  { name: 'mine.scr', mimeType: 'text/plain', buffer: Buffer.from(text) });
const ctrl = async (page, key) => {
  await page.focus('#screen canvas');
  await page.keyboard.press('Control+' + key);
};

(async () => {
  const server = await serve(webDir);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-playback-'));
  const context = await chromium.launchPersistentContext(path.join(work, 'profile'), {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run'], viewport: { width: 1024, height: 768 } });
  const started = Date.now();
  try {
    const page = context.pages()[0] || await context.newPage();
    page.on('pageerror', error => failures.push('page error: ' + error.message));
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await until(page, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
    // Into the designer, where a playback's ticks move the picture.
    const box = await page.locator('#screen canvas').first().boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height * 0.87);
    await pause(300);

    await load(page, 'VORLA_PERIODIC(1000000);\n');
    await until(page, () => /Loaded/.test(document.getElementById('status').textContent), 5000);
    await page.evaluate(() => {
      window.gaps = { last: performance.now(), most: 0 };
      window.gapTimer = setInterval(() => {
        const now = performance.now();
        gaps.most = Math.max(gaps.most, now - gaps.last);
        gaps.last = now;
      }, 5);
    });
    const turns = await page.evaluate(() => Module.vorlaTurns());
    await ctrl(page, 'P');
    const seen = new Set();
    for (let i = 0; i < 10; ++i) { seen.add(await picture(page)); await pause(150); }
    // The page's own longest wait, over a second in which the test asks nothing of it.
    await page.evaluate(() => { gaps.most = 0; });
    await pause(1000);
    const live = await page.evaluate(() => ({ most: Math.round(gaps.most), turns: Module.vorlaTurns() }));
    console.log(`playing: ${seen.size} different pictures in 1.5 s, the page's longest wait ` +
      `${live.most} ms, ${live.turns - turns} turns in 2.5 s`);
    check(seen.size >= 3, 'the canvas changes while a script plays');
    check(live.most < 50, 'the page gets its turn at least every 50 ms while a script plays');
    const stop = Date.now();
    await ctrl(page, 'P');
    const stopped = await until(page, () => !Module.vorlaBusy(), 3000);
    const still = await picture(page);
    await pause(300);
    check(stopped && still === await picture(page), `Ctrl+P stops the playback (${Date.now() - stop - 300} ms)`);
    await page.evaluate(() => clearInterval(gapTimer));

    // A recording running: a load is refused and the recording's file stays.
    await ctrl(page, 'R');
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await pause(200);
    await load(page, 'VORLA_MOUSE(1, 2);\n');
    const refused = await until(page, () => /Record Script/.test(document.getElementById('status').textContent), 3000);
    await ctrl(page, 'R');
    await pause(200);
    const text = await scriptText(page);
    console.log(`load while recording: ${JSON.stringify(text)}`);
    check(refused && text && /^(VORLA_[A-Z]+\([-0-9, ]*\);\n)+$/.test(text) && !/MOUSE\(1, 2\)/.test(text),
      'a load while recording is refused and the file stays playable');

    // A file that is no script (UTF-16) is said so, with the size it replaced; playing it, the
    // runtime's log line about a missing file shows on the page.
    await load(page, Buffer.from('VORLA_MOUSE(1, 2);\n', 'utf16le'));
    await until(page, () => /holds no script line/.test(document.getElementById('status').textContent), 3000);
    const said = await page.evaluate(() => document.getElementById('status').textContent);
    console.log(`page says: ${said}`);
    check(/no script line/.test(said) && /old one of \d+ bytes/.test(said), 'a file with no script line is said so');
    await page.evaluate(() => FS.unlink('/home/vorla/VORLA.SCR'));
    await ctrl(page, 'P');
    const logged = await until(page, () => /Cannot open script file VORLA.SCR for reading/.test(
      document.getElementById('status').textContent), 3000);
    check(logged, "the runtime's log line about VORLA.SCR shows on the page");

    // A recording left on, its last click just before the page closes: the click and the ticks
    // after the first click are in the file the next page finds.
    await ctrl(page, 'R');
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await ctrl(page, 'A');
    await pause(500);
    await page.mouse.click(box.x + box.width / 3, box.y + box.height / 2);
    await page.close();
    const next = await context.newPage();
    await next.goto(`http://127.0.0.1:${server.address().port}/`);
    await until(next, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
    const kept = await scriptText(next);
    console.log(`closed while recording: ${JSON.stringify(kept)}`);
    // The designer ticks every 100 ms, so ticks may be recorded before the first click too.
    const ticks = '(VORLA_PERIODIC\\([1-9]\\d*\\);\\n)';
    check(new RegExp(`^${ticks}?VORLA_MOUSE\\(.*\\n${ticks}+VORLA_MOUSE\\(.*\\n${ticks}?$`).test(kept || ''),
      'a close right after a click keeps the click and the ticks before it');
    // The ticks after the last click, still being counted when the page closes, are kept too.
    await next.mouse.click(box.x + box.width / 2, box.y + box.height * 0.87);
    await pause(300);
    await ctrl(next, 'R');
    await next.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await ctrl(next, 'A');
    await pause(500);
    await next.close();
    const last = await context.newPage();
    await last.goto(`http://127.0.0.1:${server.address().port}/`);
    await until(last, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
    const trailing = await scriptText(last);
    console.log(`closed while ticks were counted: ${JSON.stringify(trailing)}`);
    check(new RegExp(`^${ticks}?VORLA_MOUSE\\(.*\\n${ticks}+$`).test(trailing || ''),
      'a close keeps the ticks after the last click');
  } catch (error) {
    console.log(error);
    failures.push('an error in the test');
  } finally {
    await context.close().catch(() => {});
    server.close();
  }
  report('playback test', started);
})();
