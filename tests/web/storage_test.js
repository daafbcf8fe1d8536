// Where the page keeps VORLA.SCR, in Debian's headless Chromium with a profile of its own:
// - two tabs: the later one says it does not keep recordings; its recording is kept once the
//   earlier, idle tab has gone; a tab that takes over is the one whose recording is kept, and the
//   tab it took over from says so, and reads that recording when it has the folder again;
// - a full storage (a quota of one byte) is said on the page, and a later change is kept once
//   there is room again;
// - a browser with no IndexedDB runs the program on a folder in memory, and says so.
// Usage: node storage_test.js BUILD_WEB_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');
const { pause, until, scriptText, failures, check, report } = require('./checks');

const webDir = path.resolve(process.argv[2] || 'build-web');
const BROWSER = { executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run'], viewport: { width: 1024, height: 768 } };

const notice = page => page.evaluate(() =>
  document.getElementById('notice').hidden ? '' : document.getElementById('notice-text').textContent);

async function open(context, url) {
  const page = await context.newPage();
  page.on('pageerror', error => failures.push('page error: ' + error.message));
  await page.goto(url);
  await until(page, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
  return page;
}

// Into the designer, then a recording of `clicks` clicks, switched off.
async function record(page, clicks) {
  const box = await page.locator('#screen canvas').first().boundingBox();
  if (!(await page.evaluate(() => window.inDesigner))) {
    await page.mouse.click(box.x + box.width / 2, box.y + box.height * 0.87);
    await page.evaluate(() => { window.inDesigner = true; });
    await pause(300);
  }
  await page.focus('#screen canvas');
  await page.keyboard.press('Control+R');
  for (let i = 0; i < clicks; ++i) {
    await page.mouse.click(box.x + box.width * (0.4 + 0.05 * i), box.y + box.height / 2);
    await pause(120);
  }
  await page.keyboard.press('Control+R');
  await until(page, () => !Module.vorlaBusy(), 3000);
  return scriptText(page);
}

(async () => {
  const server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-storage-'));
  const started = Date.now();
  let context = null;
  try {
    context = await chromium.launchPersistentContext(path.join(work, 'profile'), BROWSER);
    (await context.pages())[0]?.close();

    // An idle tab, then a second one that records.
    const idle = await open(context, url);
    const second = await open(context, url);
    const said = await notice(second);
    console.log(`second tab: ${said}`);
    check(/open in another tab/.test(said) && (await notice(idle)) === '', 'the second tab says its recordings are not kept');
    const recorded = await record(second, 2);
    await idle.close();
    await until(second, () => document.getElementById('notice').hidden, 5000);
    await pause(300);
    const third = await open(context, url);
    check(recorded && await scriptText(third) === recorded, "an idle tab's close keeps the other tab's recording");
    await second.close();

    // A fourth tab takes over from the third: its recording is kept, and the third says so and
    // has that recording once the fourth has gone.
    const fourth = await open(context, url);
    await fourth.click('#take-over');
    const taken = await until(third, () => /taken over/.test(document.getElementById('notice').textContent), 3000);
    const mine = await record(fourth, 3);
    await fourth.close();
    const back = await until(third, (text) => {
      try { return FS.readFile('/home/vorla/VORLA.SCR', { encoding: 'utf8' }) === text; } catch (e) { return false; }
    }, 5000, mine);
    check(taken && back && (await notice(third)) === '', 'a tab that takes over keeps its recording; the other says so and reads it back');
    await third.close();

    // Storage full: every write fails and is said; once there is room, the next change is kept.
    // (Chromium takes a quota when the origin's storage is first used: a fresh origin is given
    // its quota of one byte before the page opens.)
    const full = `http://localhost:${server.address().port}/`;
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    const origin = new URL(full).origin;
    await cdp.send('Storage.overrideQuotaForOrigin', { origin, quotaSize: 1 });
    await page.goto(full);
    await until(page, () => window.Module && Module.vorlaBusy && !Module.vorlaBusy(), 20000);
    await record(page, 1);
    const refused = await until(page, () => /Could not keep VORLA.SCR/.test(document.getElementById('notice').textContent), 5000);
    console.log(`storage full: ${await notice(page)}`);
    await cdp.send('Storage.overrideQuotaForOrigin', { origin });
    const later = await record(page, 2);
    const again = await until(page, () => document.getElementById('notice').hidden &&
      /kept in the browser again/.test(document.getElementById('status').textContent), 5000);
    await page.close();
    const after = await open(context, full);
    check(refused && again && await scriptText(after) === later, 'a full storage is said, and a later change is kept once there is room');
    await context.close();

    // No IndexedDB at all.
    const bare = await chromium.launch(BROWSER);
    context = await bare.newContext();
    await context.addInitScript(() => { Object.defineProperty(window, 'indexedDB', { value: undefined }); });
    const memory = await open(context, url);
    const without = await notice(memory);
    console.log(`no IndexedDB: ${without}`);
    const text = await record(memory, 1);
    // The designer ticks every 100 ms: one may be recorded before the click.
    check(/keeps no files/.test(without) && /^(VORLA_PERIODIC\(\d+\);\n)?VORLA_MOUSE/.test(text || ''),
      'without IndexedDB the program runs on a folder in memory, and says so');
    await bare.close();
    context = null;
  } catch (error) {
    console.log(error);
    failures.push('an error in the test');
  } finally {
    if (context) await context.close().catch(() => {});
    server.close();
  }
  report('storage test', started);
})();
