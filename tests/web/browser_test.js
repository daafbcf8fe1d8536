// The page in Debian's headless Chromium, driven through session.txt and compared pixel for
// pixel with the headless display's pictures of the same session (web-reference). The page's
// clock is Playwright's fake clock, moved by the test exactly as the headless display's virtual
// clock moves, so both programs see the same timer ticks between the same inputs. Then the page
// on phones, a tablet and desktops: it fits each screen, and taps on the designer make the same
// pictures as clicks, keys go where they belong.
// Usage: node browser_test.js BUILD_WEB_DIR BUILD_DIR [SHOTS_DIR]
// (BUILD_DIR holds web-reference-PROGRAM for each program of the session)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');

const [webDir, buildDir, shotsDir] = process.argv.slice(2).map(arg => arg && path.resolve(arg));
if (!webDir || !buildDir) {
  console.error('usage: node browser_test.js BUILD_WEB_DIR BUILD_DIR [SHOTS_DIR]');
  process.exit(2);
}
const sessionFile = path.join(__dirname, 'session.txt');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-web-'));
const failures = [];

function parseSession() {
  const runs = {};
  let run = null;
  for (const line of fs.readFileSync(sessionFile, 'utf8').split('\n')) {
    const words = line.trim().split(/\s+/);
    if (!words[0] || words[0].startsWith('#')) continue;
    if (words[0] === 'run') runs[run = words[1]] = { program: words[2] || 'cone-designer', steps: [] };
    else runs[run].steps.push(words);
  }
  return runs;
}

// The headless pictures of one run, made in `work` (where its VORLA.SCR stays for the next).
function makeReference(run, program) {
  const out = path.join(work, 'run' + run);
  fs.mkdirSync(out);
  execFileSync(path.join(buildDir, 'web-reference-' + program), [sessionFile, run, out],
    { cwd: work, stdio: 'inherit' });
  return out;
}

function readFrame(file) {
  const data = fs.readFileSync(file);
  return { width: data.readUInt32LE(0), height: data.readUInt32LE(4), pixels: data.subarray(8) };
}


const pause = ms => new Promise(resolve => setTimeout(resolve, ms));

const BROWSER = {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};

// Waits (in real time; the page's clock stands still) until the program sleeps with no input
// left to take.
async function settle(page) {
  for (let i = 0; i < 1000; ++i) {
    // While the page is still loading, its scripts may be replaced under the question.
    const busy = await page.evaluate(() => !window.Module || !Module.vorlaBusy || Module.vorlaBusy())
      .catch(() => true);
    if (!busy) return;
    await pause(10);
  }
  throw new Error('the page never went idle');
}

// The page's point at the centre of a picture pixel of the drawing canvas, whatever its scale.
async function pagePoint(page, x, y) {
  const [left, top, sx, sy] = await page.evaluate(() => {
    const canvas = document.querySelector('#screen canvas');
    const box = canvas.getBoundingClientRect();
    return [box.left, box.top, box.width / canvas.width, box.height / canvas.height];
  });
  return [left + (x + 0.5) * sx, top + (y + 0.5) * sy];
}

// The canvas's pixels, read back at its own size; they come out of the page as base64, which is
// many times faster than an array of numbers.
async function canvasFrame(page, index) {
  const frame = await page.evaluate(i => {
    const canvas = document.querySelectorAll('#screen canvas')[i];
    if (!canvas || canvas.style.display === 'none') return null;
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let j = 0; j < data.length; j += 0x8000) text += String.fromCharCode(...data.subarray(j, j + 0x8000));
    return { width: canvas.width, height: canvas.height, rgba: btoa(text) };
  }, index);
  return frame && { ...frame, rgba: Buffer.from(frame.rgba, 'base64') };
}

// Differing pixels between the page's canvas and the headless frame (all of them when the
// sizes differ or the canvas is missing).
function differing(canvas, expected) {
  if (!canvas) return expected ? expected.width * expected.height : 0;
  if (!expected) return canvas.width * canvas.height;
  if (canvas.width !== expected.width || canvas.height !== expected.height) {
    return Math.max(canvas.width * canvas.height, expected.width * expected.height);
  }
  let count = 0;
  for (let i = 0; i < expected.width * expected.height; ++i) {
    const p = expected.pixels.readUInt32LE(4 * i);
    if (canvas.rgba[4 * i] !== ((p >> 16) & 255) || canvas.rgba[4 * i + 1] !== ((p >> 8) & 255) ||
        canvas.rgba[4 * i + 2] !== (p & 255)) ++count;
  }
  return count;
}

async function compare(page, out, name) {
  const read = suffix => {
    const file = path.join(out, name + suffix);
    return fs.existsSync(file) ? readFrame(file) : null;
  };
  const draw = differing(await canvasFrame(page, 0), read('.draw'));
  const text = differing(await canvasFrame(page, 1), read('.text'));
  console.log(`${name}: ${draw} differing pixels in the drawing window, ${text} in the text window`);
  if (draw || text) failures.push(name);
  if (shotsDir) await page.screenshot({ path: path.join(shotsDir, name + '.png') });
}

async function playRun(page, steps, out) {
  const [originX, originY, menu] = fs.readFileSync(path.join(out, 'layout.txt'), 'utf8')
    .trim().split(/\s+/).map(Number);
  await settle(page);
  for (const [step, a, b] of steps) {
    if (step === 'at') {
      const now = await page.evaluate(() => Module.vorlaNow());
      if (Number(a) > now) await page.clock.runFor(Number(a) - now);
    } else if (step === 'click') {
      await page.mouse.click(...await pagePoint(page, originX + Number(a), menu + originY - Number(b)));
    } else if (step === 'ctrl' || step === 'alt') {
      const held = step === 'ctrl' ? 'Control' : 'Alt';
      await page.keyboard.down(held);
      await page.keyboard.press('Key' + a.toUpperCase());
      await page.keyboard.up(held);
    } else if (step === 'type') {
      await page.keyboard.press('Key' + a.toUpperCase());
    } else if (step === 'key') {
      await page.keyboard.press({ Down: 'ArrowDown', Return: 'Enter' }[a] || a);
    } else if (step === 'capture') {
      await settle(page);
      await compare(page, out, a);
    }
    await settle(page);
  }
}

// The screens the page must fit; taps on the touch screens must make the pictures that clicks
// make on the first.
const SCREENS = {
  'desktop at scale 1': { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 },
  'desktop at scale 2': { viewport: { width: 1280, height: 800 }, deviceScaleFactor: 2 },
  phone: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  tablet: { viewport: { width: 820, height: 1180 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
};
// In centred coordinates, with the page's clock standing still: the welcome screen's box, all 18
// buttons (Add Scoop twice) with a topping placed on the ice cream, then selected and moved; QUIT.
const button = k => [-250, 232 - 25 * k];
const TAPS = [[0, -200], ...[0, 1, 0, 11, 2, 3, 4, 5, 6, 7, 8, 9, 10].map(button), [10, 60],
  ...[12, 13, 14, 15, 16].map(button), [10, 60], [25, 40], 'picture', button(17), 'picture'];

// The canvas's size, and whether the page fits without scrolling.
const measure = page => page.evaluate(() => {
  const canvas = document.querySelector('#screen canvas');
  const box = canvas.getBoundingClientRect();
  const pixel = Math.round(box.width * devicePixelRatio / canvas.width * 1000) / 1000;
  const { scrollWidth, scrollHeight } = document.documentElement;
  return `the canvas is ${box.width.toFixed(1)} x ${box.height.toFixed(1)} CSS pixels, ` +
    `${Math.round(100 * box.width / innerWidth)}% of the width, a picture pixel ${pixel}` +
    `${Number.isInteger(pixel) ? '' : ' (uneven)'} device pixels` +
    (scrollWidth <= innerWidth && scrollHeight <= innerHeight ? '' : ': DOES NOT FIT');
});

async function playScreen(browser, url, layout, name) {
  const page = await (await browser.newContext(SCREENS[name])).newPage();
  page.on('pageerror', error => { console.log(`${name}: page error:`, error.message); failures.push('page error'); });
  await page.clock.install({ time: 0 });
  await page.clock.pauseAt(1000);
  await page.goto(url);
  const pictures = [];
  for (const tap of TAPS) {
    await settle(page);
    if (tap === 'picture') { pictures.push(await canvasFrame(page, 0)); continue; }
    const [x, y] = await pagePoint(page, layout[0] + tap[0], layout[2] + layout[1] - tap[1]);
    await (SCREENS[name].hasTouch ? page.touchscreen.tap(x, y) : page.mouse.click(x, y));
  }
  const size = await measure(page);
  console.log(`${name}: ${size}`);
  if (/NOT FIT/.test(size)) failures.push(`${name} does not fit`);
  if (shotsDir) await page.screenshot({ path: path.join(shotsDir, name.replace(/ /g, '-') + '.png') });
  return { page, pictures };
}

// Keys on the canvas and on the page's buttons: which the page kept from the browser, where
// the focus went and whether it shows. Space presses the Download button (there is no file yet).
async function checkKeys(page) {
  await page.evaluate(() => {
    window.keyLog = [];
    document.addEventListener('keydown', e => /Control|Shift/.test(e.key) ||
      keyLog.push(`${e.key}${e.defaultPrevented ? ' kept' : ''} on ${document.activeElement.id || 'canvas'}`));
  });
  await page.focus('#screen canvas');
  for (const key of ['ArrowDown', 'Control+Equal', 'Control+Shift+Equal', 'Control+Minus', 'Control+Digit0',
    'Tab', 'Space', 'Shift+Tab']) await page.keyboard.press(key);
  // A canvas has the keyboard through its unseen keys field, and shows the ring itself.
  const keys = await page.evaluate(() => `${keyLog.join(', ')}; then on ${document.activeElement.id || 'canvas'}` +
    ((document.activeElement.classList.contains('vorla-keys')
      ? document.querySelector('#screen canvas').classList.contains('vorla-focus') &&
        getComputedStyle(document.querySelector('#screen canvas')).outlineStyle !== 'none'
      : document.activeElement.matches(':focus-visible') &&
        getComputedStyle(document.activeElement).outlineStyle !== 'none') ? ', ringed' : '') +
    (/no VORLA.SCR yet/.test(document.getElementById('status').textContent) ? '; Download pressed' : ''));
  console.log(`keys: ${keys}`);
  if (keys !== 'ArrowDown kept on canvas, = on canvas, + on canvas, - on canvas, 0 on canvas, Tab on canvas, ' +
    '  on download, Tab on download; then on canvas, ringed; Download pressed') failures.push('keys');
  const icon = fs.readFileSync(path.join(__dirname, '../../desktop/cone-designer-48.png')).toString('base64');
  if (await page.getAttribute('link[rel=icon]', 'href') !== 'data:image/png;base64,' + icon) failures.push('icon');
}

async function checkScreens(url, layout) {
  const browser = await chromium.launch(BROWSER);
  try {
    const runs = {};
    for (const name of Object.keys(SCREENS)) runs[name] = await playScreen(browser, url, layout, name);
    const first = runs['desktop at scale 1'].pictures.map(p => ({ width: p.width, height: p.height,
      pixels: Buffer.from(Uint32Array.from({ length: p.width * p.height },
        (_, i) => p.rgba[4 * i] << 16 | p.rgba[4 * i + 1] << 8 | p.rgba[4 * i + 2]).buffer) }));
    for (const name of Object.keys(SCREENS)) {
      const counts = runs[name].pictures.map((p, i) => differing(p, first[i]));
      console.log(`${name}: ${counts.join(' and ')} pixels differ from the desktop's at scale 1`);
      if (counts.some(n => n)) failures.push(`${name}'s pictures`);
    }
    await checkKeys(runs['desktop at scale 1'].page);
    // Turned on its side, the phone's page fits again.
    const phone = runs.phone.page;
    await phone.setViewportSize({ width: 844, height: 390 });
    await pause(200);
    const turned = await measure(phone);
    console.log(`phone on its side: ${turned}`);
    if (/NOT FIT/.test(turned)) failures.push('the phone on its side');
    if (shotsDir) await phone.screenshot({ path: path.join(shotsDir, 'phone-on-its-side.png') });
  } finally {
    await browser.close();
  }
}

(async () => {
  const runs = parseSession();
  const outs = {};
  for (const run of Object.keys(runs)) outs[run] = makeReference(run, runs[run].program);
  const server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const context = await chromium.launchPersistentContext(path.join(work, 'profile'),
    { ...BROWSER, viewport: { width: 1024, height: 768 } });
  try {
    const page = context.pages()[0] || await context.newPage();
    page.on('pageerror', error => { console.log('page error:', error.message); failures.push('page error'); });
    await page.clock.install({ time: 0 });
    await page.clock.pauseAt(1000);
    // The designer's runs, one page load after another, then the other programs' runs, each
    // in a page of its own.
    const designer = Object.keys(runs).filter(run => runs[run].program === 'cone-designer');
    const others = Object.keys(runs).filter(run => runs[run].program !== 'cone-designer');
    let first = true;
    for (const run of designer) {
      if (first) {
        await page.goto(url);
      } else {
        // The page's download button gives the script file the headless program wrote.
        const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
        const got = fs.readFileSync(await download.path(), 'utf8');
        const want = fs.readFileSync(path.join(work, 'VORLA.SCR'), 'utf8');
        console.log(`downloaded VORLA.SCR: ${got.length} bytes, ${got === want ? 'the same as' : 'DIFFERENT from'} the headless one`);
        if (got !== want) failures.push('download');
        // The recording must be in IndexedDB before the page goes.
        for (let i = 0; i < 500 && !(await page.evaluate(() => Module.vorlaSaved() > 0)); ++i) await pause(10);
        await page.reload();
      }
      first = false;
      await playRun(page, runs[run].steps, outs[run]);
    }
    await settle(page);
    const ended = await page.evaluate(() => document.getElementById('status').textContent);
    console.log('page says: ' + ended);
    if (!/has ended/.test(ended)) failures.push('end of the program not shown');
    if (shotsDir) await page.screenshot({ path: path.join(shotsDir, 'ended.png') });
    // A script file loaded through the page's button becomes VORLA.SCR.
    const loaded = 'VORLA_MOUSE(1, 2);\n';
    await page.setInputFiles('#file', { name: 'mine.scr', mimeType: 'text/plain', buffer: Buffer.from(loaded) });
    let stored = null;
    for (let i = 0; i < 200 && stored !== loaded; ++i) {
      await pause(10);
      stored = await page.evaluate(() => { try { return FS.readFile('VORLA.SCR', { encoding: 'utf8' }); } catch (e) { return null; } });
    }
    console.log(`loaded a script file: ${stored === loaded ? 'it is VORLA.SCR now' : 'NOT stored'}`);
    if (stored !== loaded) failures.push('load');
    for (const run of others) {
      await page.goto(`${url}?program=${runs[run].program}`);
      await playRun(page, runs[run].steps, outs[run]);
    }
  } catch (error) {
    console.log(error);
    failures.push('an error in the test');
  } finally {
    await context.close().catch(() => {});
  }
  try {
    const designer = Object.keys(runs).find(run => runs[run].program === 'cone-designer');
    const layout = fs.readFileSync(path.join(outs[designer], 'layout.txt'), 'utf8').trim().split(/\s+/).map(Number);
    await checkScreens(url, layout);
  } catch (error) {
    console.log(error);
    failures.push('an error in the test of screens');
  } finally {
    server.close();
  }
  if (failures.length) {
    console.log('FAILED: ' + failures.join(', '));
    process.exit(1);
  }
  console.log('browser test passed');
})().catch(error => { console.error(error); process.exit(1); });
