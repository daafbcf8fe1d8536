// The playground page (build-web/playground/) in Debian's headless Chromium, served as
// tools/web-serve.js serves it: a program typed into the editor with key events, compiled in the
// page and run, must draw what the same source draws on the headless display (0 pixels differ),
// also after a click and in the Atomics.wait route; a compile error is marked at its line; Stop
// ends a program that never waits; a reload keeps the source; a Share link opens the program in a
// fresh profile; offline, a reload still compiles and runs. Prints the figures of the first visit
// and of compiling. Screenshots go to SHOTS_DIR when given.
// Usage: node playground_test.js BUILD_WEB_DIR BUILD_DIR [SHOTS_DIR]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');
const { chromium } = require('playwright-core');
const { serve } = require('../../tools/web-serve');
const { pause, until, check, report } = require('./checks');

const [webDir, buildDir, shotsDir] = process.argv.slice(2).map(arg => arg && path.resolve(arg));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-playground-'));
const BROWSER = {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  viewport: { width: 1280, height: 800 },
};

// What the learner types: text, shapes, and replies to a click and a key.
const PROGRAM = `#include "vorla.h"

int main(void) {
int x, y, event, clicks = 0;
char key;
gfx_startup(0, 0, 0, SW_SHOWNORMAL);
gfx_set_logging(0);
gfx_show_log_window(0);
gfx_erase();
gfx_text(COLOUR_NAVY_BLUE, -200, 200, 36, "Typed in the page");
gfx_circle(COLOUR_ORANGE, 150, 60, 70);
gfx_triangle(COLOUR_RED, -250, -100, -50, -100, -150, 40, 0);
gfx_rect(COLOUR_SEA_GREEN, -297, -180, 298, -247, 0);
while ((event = gfx_next_event(&x, &y, &key)) != EVENT_QUIT) {
if (event == EVENT_MOUSE) {
clicks = clicks + 1;
gfx_text(COLOUR_PURPLE, -100, -140, 20, "clicks: %d", clicks);
}
if (event == EVENT_KBD) {
gfx_text(COLOUR_NAVY_BLUE, 60, -140, 20, "typed: %c", key);
}
}
gfx_shutdown();
return 0;
}
`;

// The native headless picture of `source` after the script's input, as [width, height, RGB].
function nativePicture(source, script) {
  const dir = fs.mkdtempSync(path.join(work, 'native-'));
  fs.writeFileSync(path.join(dir, 'program.c'), source);
  fs.writeFileSync(path.join(dir, 'input.scr'), script);
  const flags = execFileSync('pkg-config', ['--cflags', '--libs', 'vorla'],
    { env: { ...process.env, PKG_CONFIG_PATH: buildDir } }).toString().trim().split(/\s+/);
  execFileSync('cc', ['program.c', '-o', 'program', ...flags], { cwd: dir, stdio: 'inherit' });
  execFileSync('./program', [], { cwd: dir, stdio: 'inherit', env: { ...process.env,
    VORLA_DISPLAY: 'headless', VORLA_PLAY: 'input.scr', VORLA_SNAPSHOT: 'out.png' } });
  return readPng(fs.readFileSync(path.join(dir, 'out.png')));
}

// An 8-bit RGB or RGBA PNG, as the headless display writes it.
function readPng(data) {
  let at = 8;
  let width, height, channels;
  const parts = [];
  while (at < data.length) {
    const length = data.readUInt32BE(at);
    const type = data.toString('latin1', at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      parts.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(parts));
  const stride = width * channels;
  const rgb = Buffer.alloc(width * height * 3);
  const previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0;
      const b = previous[i];
      const c = i >= channels ? previous[i - channels] : 0;
      const p = a + b - c;
      const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      line[i] = (line[i] + predictor) & 255;
    }
    line.copy(previous);
    for (let x = 0; x < width; ++x) line.copy(rgb, (y * width + x) * 3, x * channels, x * channels + 3);
  }
  return { width, height, rgb };
}

// Pixels of the drawing area (the bottom of the first canvas, under the menu bar) that differ
// from the picture.
async function differingPixels(page, picture) {
  const rgba = Buffer.from(await page.evaluate(() => {
    const canvas = document.querySelector('#screen canvas');
    if (!canvas || canvas.style.display === 'none') return '';
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    const top = canvas.height - 496;
    let text = '';
    const rows = data.data.subarray(top * canvas.width * 4);
    for (let j = 0; j < rows.length; j += 0x8000) text += String.fromCharCode(...rows.subarray(j, j + 0x8000));
    return canvas.width === 595 ? btoa(text) : '';
  }), 'base64');
  if (rgba.length !== picture.width * picture.height * 4) return picture.width * picture.height;
  let count = 0;
  for (let i = 0; i < picture.width * picture.height; ++i) {
    if (rgba[4 * i] !== picture.rgb[3 * i] || rgba[4 * i + 1] !== picture.rgb[3 * i + 1] ||
        rgba[4 * i + 2] !== picture.rgb[3 * i + 2]) ++count;
  }
  return count;
}

const state = (page, name) => page.evaluate(n => window.vorlaPlayground && vorlaPlayground[n], name);
const status = page => page.textContent('#message');

// Types `text` into the editor as a person does, a line at a time, leaving the indentation to
// the editor.
async function typeProgram(page, text) {
  await page.click('#editor .cm-content');
  await page.keyboard.press('Control+A');
  await page.keyboard.press('Delete');
  for (const line of text.split('\n')) {
    await page.keyboard.type(line.trimStart());
    await page.keyboard.press('Enter');
  }
}

// Runs the editor's program and waits until it waits for input with its first picture shown.
async function runAndSettle(page) {
  const runs = await state(page, 'runs');
  const idle = await state(page, 'idle') || 0;
  await page.click('#run');
  const ok = await until(page, ([r, i]) => vorlaPlayground.runs > r && vorlaPlayground.idle > i &&
    vorlaPlayground.settled() && document.querySelector('#screen canvas'), 120000, [runs, idle]);
  if (!ok) console.log('page says: ' + await status(page));
  return ok;
}

async function clickDrawing(page) {
  const idle = await state(page, 'idle');
  const box = await page.locator('#screen canvas').first().boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height - 40);
  return until(page, i => vorlaPlayground.idle > i && vorlaPlayground.settled(), 10000, idle);
}

async function pressKey(page, key) {
  const idle = await state(page, 'idle');
  await page.keyboard.press(key);
  return until(page, i => vorlaPlayground.idle > i && vorlaPlayground.settled(), 10000, idle);
}

(async () => {
  const started = Date.now();
  let server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/playground/`;
  const context = await chromium.launchPersistentContext(path.join(work, 'profile'), BROWSER);
  let page = context.pages()[0] || await context.newPage();
  page.on('pageerror', error => check(false, 'no error in the page: ' + error.message));
  try {
    // First visit: the editor before the compiler, the compiler with a progress bar.
    await page.goto(url);
    await page.waitForSelector('#editor .cm-content');
    const editorReady = await state(page, 'editorReady');
    console.log(`editor usable ${editorReady.toFixed(0)} ms after navigation`);
    const progressShown = await until(page, () => !document.getElementById('toolchain').hidden, 60000);
    const progressText = await page.textContent('#progress-text');
    check(progressShown && /MB unpacked \(\d+%\)/.test(progressText),
      `the compiler's progress is shown (${progressText})`);
    check(await until(page, () => vorlaPlayground.toolchainReady, 300000), 'the compiler arrives');
    console.log(`first visit: ${(server.sent / 1e6).toFixed(1)} MB sent by the server, the compiler ` +
      `ready ${((await state(page, 'toolchainReady')) / 1000).toFixed(1)} s after navigation`);
    if (shotsDir) await page.screenshot({ path: path.join(shotsDir, 'playground-first-visit.png') });

    // The typed program, run, against the native headless run of the same source.
    await typeProgram(page, PROGRAM);
    const typed = await page.evaluate(() => vorlaPlayground.source());
    const picture = nativePicture(typed, '');
    const clicked = nativePicture(typed, 'VORLA_MOUSE(0, -200);\n');
    const keyed = nativePicture(typed, 'VORLA_MOUSE(0, -200);\nVORLA_KBD(107);\n');
    check(await runAndSettle(page), 'the typed program runs');
    check(await differingPixels(page, picture) === 0, 'the typed program draws the native picture (0 pixels differ)');
    check(await clickDrawing(page) && await differingPixels(page, clicked) === 0,
      'after a click, the native picture after a click (0 pixels differ)');
    check(await pressKey(page, 'k') && await differingPixels(page, keyed) === 0,
      'after the key k, the native picture after VORLA_KBD(107) (0 pixels differ)');
    if (shotsDir) await page.screenshot({ path: path.join(shotsDir, 'playground-desktop.png') });
    // A recording (Run menu, Ctrl+R) is kept as this program's VORLA.SCR.
    await pressKey(page, 'Control+r');
    await clickDrawing(page);
    await pressKey(page, 'Control+r');
    await until(page, () => vorlaPlayground.filesKept > 0, 5000);
    const recording = await page.evaluate(() => new Promise(resolve => {
      indexedDB.open('vorla-playground').onsuccess = event => {
        const get = event.target.result.transaction('files').objectStore('files').get('program.c/VORLA.SCR');
        get.onsuccess = () => resolve(get.result ? new TextDecoder().decode(get.result) : '');
      };
    }));
    check(/VORLA_MOUSE\(/.test(recording), 'a recording is kept in the browser as program.c/VORLA.SCR');

    // Compile and link times, the toolchain cached: five runs of the same program.
    for (let i = 0; i < 4; ++i) await runAndSettle(page);
    const times = (await state(page, 'compiles')).slice(-5).map(t => t.compile + t.link).sort((a, b) => a - b);
    console.log(`compile and link: median ${times[2].toFixed(0)} ms of ${times.map(t => t.toFixed(0)).join(', ')}`);

    // A compile error is marked at its line and listed.
    await page.click('#editor .cm-content');
    await page.keyboard.press('Control+Home');
    for (let i = 0; i < 4; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.type('int broken = ;');
    await page.click('#run');
    const marked = await until(page, () => document.querySelector('#problems li.error'), 60000);
    const line = await page.evaluate(() => document.querySelector('#problems li.error').dataset.line);
    const underlined = await page.evaluate(() => !!document.querySelector('.cm-lintRange-error') &&
      !!document.querySelector('.cm-lint-marker-error'));
    check(marked && line === '5' && underlined, `a compile error is marked at its line (line ${line})`);
    if (shotsDir) await page.screenshot({ path: path.join(shotsDir, 'playground-error.png') });

    // Stop ends a program that never waits; the page answers meanwhile.
    await typeProgram(page, 'int main(void) {\nfor (;;) {}\n}\n');
    await page.click('#run');
    check(await until(page, () => /is running/.test(document.getElementById('message').textContent), 60000),
      'the endless loop runs');
    const answer = Date.now();
    await page.evaluate(() => 1);
    const answered = Date.now() - answer;
    await page.click('#stop');
    check(answered < 1000 && await until(page, () => /Stopped/.test(document.getElementById('message').textContent), 2000),
      `Stop ends the endless loop (the page answered in ${answered} ms)`);

    // The source survives a reload.
    await typeProgram(page, PROGRAM);
    const before = await page.evaluate(() => vorlaPlayground.source());
    check(before === typed, 'the same keys type the same text');
    await page.reload();
    await page.waitForSelector('#editor .cm-content');
    check(await page.evaluate(() => vorlaPlayground.source()) === before, 'a reload keeps the source');

    // Share: the link opens the program in a fresh profile.
    await page.click('#share');
    await until(page, () => vorlaPlayground.shared, 5000);
    const link = await state(page, 'shared');
    console.log(`share link: ${link.length} characters`);
    const fresh = await chromium.launch(BROWSER);
    const other = await fresh.newPage();
    await other.goto(link);
    check(await until(other, s => window.vorlaPlayground && vorlaPlayground.source() === s, 10000, before),
      'the Share link opens the same program in a fresh profile');
    await fresh.close();

    // Offline: the page, the library and the compiler come from the service worker.
    await until(page, () => vorlaPlayground.toolchainReady, 120000);
    // The server is gone too: nothing the browser does behind the page reaches it.
    const port = server.address().port;
    await new Promise(resolve => { server.close(resolve); server.closeAllConnections(); });
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector('#editor .cm-content');
    check(await until(page, () => vorlaPlayground.toolchainReady, 120000), 'offline, the compiler is ready');
    check(await runAndSettle(page) && await differingPixels(page, picture) === 0,
      'offline, the program compiles and runs');

    // Where there is no JSPI: the program waits in Atomics.wait in a cross-origin isolated page.
    await context.setOffline(false);
    server = await serve(webDir, port);
    await page.goto(url + '?wait=atomics');
    await page.waitForSelector('#editor .cm-content');
    check(await state(page, 'mode') === 'atomics', 'the page is cross-origin isolated for Atomics.wait');
    await until(page, () => vorlaPlayground.toolchainReady, 120000);
    check(await runAndSettle(page) && await differingPixels(page, picture) === 0,
      'with Atomics.wait, the native picture');
    check(await clickDrawing(page) && await differingPixels(page, clicked) === 0 &&
      await pressKey(page, 'k') && await differingPixels(page, keyed) === 0,
      'with Atomics.wait, the native pictures after a click and a key');

    // An example from the menu, in place of the learner's program once they agree, draws its
    // picture of the reference.
    page.once('dialog', dialog => dialog.accept());
    await page.selectOption('#examples', 'colours.c');
    check(await until(page, () => /colour chart|24 colours/i.test(vorlaPlayground.source()), 5000) &&
      await runAndSettle(page) && await differingPixels(page, readPng(fs.readFileSync(
        path.join(__dirname, '../../docs/pictures/colours.png')))) === 0,
    'the example colours.c from the menu draws its picture of the reference');

    // A phone: the editor, then the program.
    if (shotsDir) {
      const phone = await context.newPage();
      await phone.setViewportSize({ width: 390, height: 844 });
      await phone.goto(url);
      await until(phone, () => vorlaPlayground.toolchainReady, 120000);
      await runAndSettle(phone);
      await phone.screenshot({ path: path.join(shotsDir, 'playground-phone.png'), fullPage: true });
    }
  } catch (error) {
    console.log(error);
    check(false, 'no error in the test');
  } finally {
    await context.close().catch(() => {});
    server.close();
  }
  report('playground test', started);
})();
