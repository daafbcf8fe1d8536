// The playground page: one C file in an editor, compiled and linked in a worker (compiler.js),
// run in another worker (runner.js) whose windows are canvases of this page, drawn and fed with
// input by the designer page's display code (web_display.js, loaded before this module).
//
// Kept in the browser: the source as it is typed (localStorage), the program's files such as
// VORLA.SCR, per program name (IndexedDB), and through the service worker (sw.js) the page, the
// library and the toolchain, so that a later visit compiles and runs offline.
import { EditorView, keymap, lineNumbers, highlightActiveLine, highlightActiveLineGutter,
  drawSelection, highlightSpecialChars } from '@codemirror/view';
import { EditorState } from '@codemirror/state';
import { defaultKeymap, history, historyKeymap, indentWithTab } from '@codemirror/commands';
import { syntaxHighlighting, defaultHighlightStyle, indentOnInput, bracketMatching }
  from '@codemirror/language';
import { cpp } from '@codemirror/lang-cpp';
import { setDiagnostics, lintGutter } from '@codemirror/lint';
import { RING_BYTES, writeRecord } from './input-ring.js';

const VORLA = globalThis.VORLA = LibraryManager.library.$VORLA;
const $ = (id) => document.getElementById(id);
const screen = $('screen');
const SOURCE_KEY = 'vorla-playground-source';
const NAME_KEY = 'vorla-playground-name';
const params = new URLSearchParams(location.search);
const test = globalThis.vorlaPlayground = { compiles: [], runs: 0 };

// --- Messages -----------------------------------------------------------------------------------
function say(text, failure) {
  $('message').textContent = text;
  $('status').className = failure ? 'failed' : '';
}

// --- How a program waits ------------------------------------------------------------------------
// JSPI where the browser has it (Chromium 137 and later), else Atomics.wait, which needs a
// cross-origin isolated page (the server's COOP and COEP headers); ?wait=atomics chooses it.
function waitMode() {
  const jspi = typeof WebAssembly.Suspending === 'function' &&
      typeof WebAssembly.promising === 'function';
  const atomics = globalThis.crossOriginIsolated && typeof SharedArrayBuffer === 'function';
  if (params.get('wait') === 'atomics') return atomics ? 'atomics' : null;
  return jspi ? 'jspi' : atomics ? 'atomics' : null;
}
const mode = waitMode();
test.mode = mode;

// --- The program's windows ----------------------------------------------------------------------
// The canvases, one above the other, as wide as the screen's column allows: whole device pixels
// per picture pixel when that fills at least 80% of the room, else nearest-neighbour pixels.
function fit() {
  const canvases = [...screen.querySelectorAll('canvas')].filter((c) => c.style.display !== 'none');
  if (!canvases.length) return;
  const room = screen.clientWidth - 16;
  const width = Math.max(...canvases.map((c) => c.width));
  const ratio = devicePixelRatio || 1;
  const best = Math.min(room / width, 2);
  const whole = Math.floor(best * ratio + 1e-6);
  const scale = whole >= 1 && whole / ratio >= 0.8 * best ? whole / ratio : best;
  for (const c of canvases) {
    c.style.width = Math.max(1, Math.floor(c.width * scale * ratio + 1e-6)) / ratio + 'px';
    c.style.height = Math.max(1, Math.floor(c.height * scale * ratio + 1e-6)) / ratio + 'px';
  }
}
globalThis.Module = { vorlaScreen: screen, vorlaArrange: fit };
addEventListener('resize', fit);

// --- Storage ------------------------------------------------------------------------------------
// The program's files (VORLA.SCR) by program name, in IndexedDB.
let database = null;
const opened = new Promise((resolve) => {
  try {
    const request = indexedDB.open('vorla-playground', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('files');
    request.onsuccess = () => resolve(database = request.result);
    request.onerror = () => resolve(null);
  } catch (e) {
    resolve(null);
  }
});
async function programFiles(name) {
  const db = await opened;
  if (!db) return {};
  return new Promise((resolve) => {
    const files = {};
    const range = IDBKeyRange.bound(name + '/', name + '/\uffff');
    const cursor = db.transaction('files').objectStore('files').openCursor(range);
    cursor.onsuccess = () => {
      const at = cursor.result;
      if (!at) return resolve(files);
      files[String(at.key).slice(name.length + 1)] = at.value;
      at.continue();
    };
    cursor.onerror = () => resolve(files);
  });
}
function keepFile(name, file, data) {
  if (!database) return;
  const transaction = database.transaction('files', 'readwrite');
  transaction.objectStore('files').put(data, name + '/' + file);
  transaction.oncomplete = () => { ++test.filesKept; };
  transaction.onabort = () => say('Could not keep ' + file + ' in the browser (' +
      (transaction.error && transaction.error.name) + ').', true);
}
test.filesKept = 0;

function stored(key) {
  try { return localStorage.getItem(key); } catch (e) { return null; }
}
function keepSource(text) {
  try {
    localStorage.setItem(SOURCE_KEY, text);
    localStorage.setItem(NAME_KEY, programName);
  } catch (e) {
    say('This browser keeps nothing for this page: Download keeps a copy of your program.', true);
  }
}

// --- Share links: the source, deflated, in the address's fragment ---------------------------------
async function deflate(text) {
  const stream = new Blob([text]).stream().pipeThrough(new CompressionStream('deflate-raw'));
  const bytes = new Uint8Array(await new Response(stream).arrayBuffer());
  let binary = '';
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}
async function inflate(code) {
  const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
  const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  return new Response(stream).text();
}
async function sharedProgram() {
  const fragment = new URLSearchParams(location.hash.slice(1));
  if (!fragment.has('code')) return null;
  try {
    return { name: fragment.get('name') || 'program.c', source: await inflate(fragment.get('code')) };
  } catch (e) {
    say('This link holds no readable program (' + e.message + ').', true);
    return null;
  }
}

// --- The editor ---------------------------------------------------------------------------------
let programName = stored(NAME_KEY) || 'program.c';
const STARTER = `/* A program of your own: change it and press Run (Ctrl+Enter). */
#include "vorla.h"

int main(void) {
  int x, y;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);
  gfx_erase();
  gfx_text(COLOUR_NAVY_BLUE, -150, 150, 30, "Hello from the page");
  gfx_circle(COLOUR_ORANGE, 0, -20, 80);
  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  gfx_shutdown();
  return 0;
}
`;
const editor = new EditorView({
  parent: $('editor'),
  state: EditorState.create({
    doc: stored(SOURCE_KEY) ?? STARTER,
    extensions: [
      lineNumbers(), highlightActiveLineGutter(), highlightSpecialChars(), history(),
      drawSelection(), indentOnInput(), bracketMatching(), highlightActiveLine(),
      syntaxHighlighting(defaultHighlightStyle, { fallback: true }), cpp(), lintGutter(),
      keymap.of([{ key: 'Mod-Enter', run: () => { run(); return true; } },
        ...defaultKeymap, ...historyKeymap, indentWithTab]),
      EditorView.updateListener.of((update) => {
        if (update.docChanged) keepSource(update.state.doc.toString());
      }),
      EditorView.contentAttributes.of({ 'aria-label': 'The program (C)' }),
    ],
  }),
});
test.editorReady = performance.now();
test.source = () => editor.state.doc.toString();
function setSource(name, text) {
  programName = name;
  editor.dispatch({ changes: { from: 0, to: editor.state.doc.length, insert: text } });
  editor.dispatch(setDiagnostics(editor.state, []));
  keepSource(text);
}

// --- The compiler -------------------------------------------------------------------------------
const compiler = new Worker('compiler.js', { type: 'module' });
let toolchainReady = false;
let pendingRun = false;
let nextCompile = 0;
const compiles = new Map();
compiler.onmessage = (event) => {
  const message = event.data;
  if (message.op === 'progress') {
    if (toolchainReady) return;
    $('toolchain').hidden = false;
    $('progress').value = message.done / message.total;
    // The bytes unpacked: the server sends them compressed, about a sixth as many.
    $('progress-text').textContent = `compiler: ${(message.done / 1e6).toFixed(1)} of ` +
        `${(message.total / 1e6).toFixed(1)} MB unpacked (${Math.floor(100 * message.done / message.total)}%)`;
  } else if (message.op === 'ready') {
    toolchainReady = true;
    test.toolchainReady = performance.now();
    $('toolchain').hidden = true;
    if (!running) say('The compiler is ready: press Run.');
    if (pendingRun) run();
  } else if (message.op === 'failed') {
    say('The compiler failed: ' + message.message, true);
    const waiting = compiles.get(message.id);
    if (waiting) { compiles.delete(message.id); waiting(null); }
  } else if (message.op === 'result') {
    const waiting = compiles.get(message.id);
    compiles.delete(message.id);
    if (waiting) waiting(message);
  }
};
function compile(name, source) {
  return new Promise((resolve) => {
    const id = ++nextCompile;
    compiles.set(id, resolve);
    compiler.postMessage({ op: 'compile', id, name, source });
  });
}

// The compiler's messages: marked at their lines in the editor and listed under it.
function showProblems(name, log) {
  const list = $('problems');
  list.textContent = '';
  const diagnostics = [];
  const doc = editor.state.doc;
  const pattern = /^\/work\/([^:\n]+):(\d+):(\d+): (error|warning|note): (.*)$/gm;
  for (const match of log.matchAll(pattern)) {
    if (match[1] !== name) continue;
    const line = Math.min(Math.max(1, Number(match[2])), doc.lines);
    const at = doc.line(line);
    const from = Math.min(at.from + Number(match[3]) - 1, at.to);
    const severity = match[4] === 'note' ? 'info' : match[4];
    diagnostics.push({ from, to: Math.max(from, at.to), severity, message: match[5] });
    const item = document.createElement('li');
    item.className = match[4];
    item.textContent = `${name}:${match[2]}:${match[3]}: ${match[4]}: ${match[5]}`;
    item.dataset.line = String(line);
    item.addEventListener('click', () => {
      editor.dispatch({ selection: { anchor: from }, scrollIntoView: true });
      editor.focus();
    });
    list.appendChild(item);
  }
  // The linker's messages name no line of the file.
  for (const text of log.split('\n').filter((l) => /^wasm-ld: |^clang: error/.test(l))) {
    const item = document.createElement('li');
    item.className = 'error';
    item.textContent = text.replace(/\/work\/program\.o/g, name);
    list.appendChild(item);
  }
  editor.dispatch(setDiagnostics(editor.state, diagnostics));
}

// --- Running --------------------------------------------------------------------------------------
let running = null;   // { worker, ring }
let fonts = null;
async function loadFonts() {
  fonts ??= (async () => {
    const names = ['VorlaSans-Regular.ttf', 'DejaVuSans.ttf', 'DejaVuSansMono.ttf'];
    const data = await Promise.all(names.map(async (n) =>
      new Uint8Array(await (await fetch('fonts/' + n)).arrayBuffer())));
    return Object.fromEntries(names.map((n, i) => [n, data[i]]));
  })();
  return fonts;
}

function output(line) {
  const out = $('output');
  out.textContent += line + '\n';
  out.scrollTop = out.scrollHeight;
}

function clearWindows() {
  VORLA.removeWindows();
  VORLA.pointer = null;
}

function stop(why) {
  if (!running) return;
  running.worker.terminate();
  running = null;
  clearWindows();
  VORLA.letGo();  // keys held go with the program (no program hears of it now)
  $('stop').disabled = true;
  if (why) say(why);
}

// Input records from the canvases go to the running program.
VORLA.post = (record) => {
  if (!running) return;
  ++test.posted;
  if (running.ring) {
    if (!writeRecord(running.ring, record)) console.warn('input dropped: the program is busy');
  } else {
    running.worker.postMessage({ op: 'input', record });
  }
};

let runCount = 0;
async function run() {
  if (!mode) {
    say('This browser can run no program here: it has neither WebAssembly JSPI (Chromium 137 ' +
        'or later) nor a cross-origin isolated page for Atomics.wait.', true);
    return;
  }
  if (!toolchainReady) {
    pendingRun = true;
    say('Run waits for the compiler to arrive...');
    return;
  }
  pendingRun = false;
  const name = programName;
  const source = editor.state.doc.toString();
  const count = ++runCount;
  stop();
  $('output').textContent = '';
  say('Compiling ' + name + '...');
  const started = performance.now();
  const result = await compile(name, source);
  if (count !== runCount || !result) return;
  test.compiles.push({ ms: performance.now() - started, ...result.times });
  showProblems(name, result.log);
  if (!result.ok) {
    say(`${name} did not compile: see the messages below the editor.`, true);
    return;
  }
  const [fontData, files] = await Promise.all([loadFonts(), programFiles(name)]);
  if (count !== runCount) return;
  const worker = new Worker('runner.js', { type: 'module' });
  const shared = mode === 'atomics' ? new SharedArrayBuffer(RING_BYTES) : null;
  running = { worker, ring: shared && new Int32Array(shared) };
  const mine = running;
  $('stop').disabled = false;
  worker.onmessage = (event) => {
    if (running !== mine) return;
    handle(event.data, name);
  };
  worker.onerror = (event) => {
    if (running !== mine) return;
    say('The program could not start: ' + event.message, true);
    stop();
  };
  ++test.runs;
  test.posted = 0;
  test.delivered = -1;
  // The program's first window takes the keyboard when it is shown (VORLA.showWindow), as in
  // the designer's page, rather than the button or the editor that ran it.
  if (document.activeElement && document.activeElement !== document.body) document.activeElement.blur();
  worker.postMessage({ op: 'start', program: result.program, fonts: fontData, files, mode,
    shared, name: name.replace(/\.c$/, '') });
  say(`${name} is running (${mode === 'jspi' ? 'JSPI' : 'Atomics.wait'}).`);
}

function handle(message, name) {
  switch (message.op) {
    case 'create': VORLA.createWindow(message.window, message.title, message.width, message.height); break;
    case 'destroy': VORLA.destroyWindow(message.window); break;
    case 'show': VORLA.showWindow(message.window, message.visible); break;
    case 'present':
      VORLA.paint(message.window, message.words, 0, message.width, message.height, message.width);
      ++test.frames;
      break;
    case 'keys': VORLA.codes = message.table; break;
    case 'idle':
      test.idle = (test.idle || 0) + 1;
      test.delivered = message.delivered;
      break;
    case 'file': keepFile(name, message.name, message.data); break;
    case 'stdout': case 'stderr': output(message.line); break;
    case 'trap': output('The program stopped on an error: ' + message.message); break;
    case 'closed': clearWindows(); break;
    case 'exit':
      stop(`${name} has ended` + (message.status ? ` (status ${message.status}).` : '.'));
      break;
  }
}
test.frames = 0;
// For the tests: the program waits, and had taken every input record given so far when it did.
test.settled = () => test.delivered === test.posted;

// --- The page's controls ------------------------------------------------------------------------
$('run').addEventListener('click', run);
$('stop').addEventListener('click', () => stop('Stopped.'));
$('download').addEventListener('click', () => {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([editor.state.doc.toString()], { type: 'text/x-c' }));
  link.download = programName;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
});
$('open').addEventListener('click', () => $('file').click());
$('file').addEventListener('change', async () => {
  const chosen = $('file').files[0];
  if (!chosen) return;
  $('file').value = '';
  setSource(chosen.name, await chosen.text());
  say('Opened ' + chosen.name + '.');
});
$('share').addEventListener('click', async () => {
  const code = await deflate(editor.state.doc.toString());
  const link = location.origin + location.pathname + '#name=' +
      encodeURIComponent(programName) + '&code=' + code;
  window.history.replaceState(null, '', link);
  test.shared = link;
  try {
    await navigator.clipboard.writeText(link);
    say('The link to this program is in the address bar and on the clipboard.');
  } catch (e) {
    say('The link to this program is in the address bar: copy it from there.');
  }
});

let examples = {};
fetch('examples.json').then((r) => r.json()).then((list) => {
  examples = list;
  for (const name of Object.keys(list)) {
    const option = document.createElement('option');
    option.value = option.textContent = name;
    $('examples').appendChild(option);
  }
}).catch(() => {});
$('examples').addEventListener('change', () => {
  const name = $('examples').value;
  if (!name || !examples[name]) return;
  const current = editor.state.doc.toString();
  const kept = Object.values(examples).includes(current) || current.trim() === '' ||
      confirm('Replace your program with the example ' + name + '? (Download keeps a copy.)');
  if (kept) setSource(name, examples[name]);
  $('examples').value = '';
});

addEventListener('pagehide', () => VORLA.post([7, 0, 0, 0, 0]));

// --- Start --------------------------------------------------------------------------------------
(async () => {
  const shared = await sharedProgram();
  if (shared) {
    setSource(shared.name, shared.source);
    window.history.replaceState(null, '', location.pathname + location.search);
  }
  say(mode ? 'Type a program, or choose an example. The compiler is on its way...'
    : 'This browser can run no program here: it has neither WebAssembly JSPI nor a ' +
      'cross-origin isolated page for Atomics.wait.', !mode);
  // The page, the library and the compiler are kept by the service worker: the compiler is
  // fetched once it can be kept, so that a later visit works offline.
  if ('serviceWorker' in navigator) {
    try {
      await navigator.serviceWorker.register('sw.js');
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((resolve) =>
          navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
      }
    } catch (e) {
      console.warn('No service worker: the compiler is not kept for offline use', e);
    }
  }
  compiler.postMessage({ op: 'load' });
})();
