// Builds the playground page into BUILD_WEB/playground (tools/web.sh runs it):
//   node web/playground/build.mjs BUILD_WEB BUILD_WASI
// BUILD_WEB holds the designer page's build (its cut fonts), BUILD_WASI the library built for
// wasm32-wasi by the same @yowasp/clang as the page's (cmake/wasm32-wasi.cmake). Every file that
// the server may send compressed is kept beside its .br and .gz (made again only when the file
// changed), so that tools/web-serve.js sends what the browser accepts.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import crypto from 'node:crypto';
import { promisify } from 'node:util';
import { fileURLToPath } from 'node:url';
import esbuild from 'esbuild';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const [webDir, wasiDir] = process.argv.slice(2).map((p) => path.resolve(p));
if (!webDir || !wasiDir) {
  console.error('usage: node build.mjs BUILD_WEB BUILD_WASI');
  process.exit(2);
}
const out = path.join(webDir, 'playground');
const clang = path.join(here, 'node_modules/@yowasp/clang');
const toolchainVersion = JSON.parse(fs.readFileSync(path.join(clang, 'package.json'))).version;

function write(file, data) {
  const full = path.join(out, file);
  fs.mkdirSync(path.dirname(full), { recursive: true });
  if (fs.existsSync(full) && fs.readFileSync(full).equals(Buffer.from(data))) return;
  fs.writeFileSync(full, data);
}
const copy = (from, file) => write(file, fs.readFileSync(from));

// The page, its modules and the workers.
const bundles = await esbuild.build({
  entryPoints: { app: path.join(here, 'playground.js'), runner: path.join(here, 'runner.js') },
  bundle: true, format: 'esm', minify: true, write: false, outdir: out, target: 'es2022',
  logLevel: 'warning',
});
for (const file of bundles.outputFiles) write(path.relative(out, file.path), file.contents);
copy(path.join(here, 'index.html'), 'index.html');
copy(path.join(here, 'compiler.js'), 'compiler.js');
copy(path.join(root, 'platform/display/web/web_display.js'), 'web_display.js');

// The compiler: the package's module with its WebAssembly and its files (headers, C and C++
// libraries for wasm32-wasi).
for (const file of fs.readdirSync(path.join(clang, 'gen'))) {
  copy(path.join(clang, 'gen', file), 'clang/' + file);
}

// The library for wasm32-wasi, the headers an install of it has (the build lists them), and how
// programs are linked with it: the main that
// calls WinMain comes from vorla_main only when the program has no main of its own; the
// display's imports (web_display.cpp's extern "C" block) are the only undefined names allowed;
// data above 64 KiB (an address below is taken for a Win32 atom) and emscripten's stack size.
const headers = {};
for (const from of fs.readFileSync(path.join(wasiDir, 'vorla-headers.txt'), 'utf8').split(';')) {
  headers['include/' + path.basename(from)] = from;
}
for (const [file, from] of Object.entries(headers)) copy(from, 'library/' + file);
const archives = { 'lib/libvorla.a': 'libvorla.a', 'lib/libvorla_main.a': 'libvorla_main.a',
  'lib/libfreetype.a': 'freetype/libfreetype.a' };
for (const [file, from] of Object.entries(archives)) copy(path.join(wasiDir, from), 'library/' + file);
const driver = fs.readFileSync(path.join(root, 'platform/display/web/web_display.cpp'), 'utf8');
const block = driver.slice(driver.indexOf('extern "C" {'), driver.indexOf('\n}', driver.indexOf('extern "C" {')));
const imports = [...block.matchAll(/\b(vorla_web_\w+)\s*\(/g)].map((m) => m[1]);
write('library/lib/imports.txt', imports.join('\n') + '\n');
const link = ['-lvorla_main', '-lvorla', '-lfreetype', '-lc++', '-lc++abi', '-lsetjmp',
  '-Wl,--no-stack-first', '-Wl,--global-base=65536', '-Wl,-z,stack-size=5242880',
  '-Wl,--allow-undefined-file=/vorla/lib/imports.txt'];
write('library/files.json', JSON.stringify({
  files: [...Object.keys(headers), ...Object.keys(archives), 'lib/imports.txt'], link }, null, 1));

// The faces the designer page packs (cut to Windows-1252), the examples in C, the reference.
for (const face of ['VorlaSans-Regular.ttf', 'DejaVuSans.ttf', 'DejaVuSansMono.ttf']) {
  copy(path.join(webDir, 'fonts', face), 'fonts/' + face);
}
const examples = {};
for (const file of fs.readdirSync(path.join(root, 'examples')).sort()) {
  if (file.endsWith('.c')) examples[file] = fs.readFileSync(path.join(root, 'examples', file), 'utf8');
}
write('examples.json', JSON.stringify(examples));
for (const file of fs.readdirSync(path.join(root, 'docs'))) {
  if (file.endsWith('.md')) copy(path.join(root, 'docs', file), 'docs/' + file);
}
for (const file of fs.readdirSync(path.join(root, 'docs/pictures'))) {
  copy(path.join(root, 'docs/pictures', file), 'docs/pictures/' + file);
}

// The service worker, with the page's files and a version that changes with any of them.
const pageFiles = ['index.html', 'app.js', 'runner.js', 'compiler.js', 'web_display.js',
  'examples.json', 'library/files.json',
  ...Object.keys(headers).map((f) => 'library/' + f), ...Object.keys(archives).map((f) => 'library/' + f),
  'library/lib/imports.txt', 'fonts/VorlaSans-Regular.ttf', 'fonts/DejaVuSans.ttf',
  'fonts/DejaVuSansMono.ttf'];
const hash = crypto.createHash('sha256');
for (const file of pageFiles) hash.update(file).update(fs.readFileSync(path.join(out, file)));
const worker = fs.readFileSync(path.join(here, 'sw.js'), 'utf8')
  .replace('@VERSION@', hash.digest('hex').slice(0, 16))
  .replace('@TOOLCHAIN@', toolchainVersion)
  .replace('@PAGE_FILES@', JSON.stringify(['./', ...pageFiles]));
write('sw.js', worker);

// Compressed copies, brotli at its best (the compiler is 105 MB, 17 MB so) and gzip for
// servers or browsers without it; made again only for a file newer than its copy. Those of the
// compiler take minutes: they are kept for its version under ~/.cache/vorla (or $VORLA_CACHE)
// too, for the next build folder of this machine.
const brotli = promisify(zlib.brotliCompress);
const gzip = promisify(zlib.gzip);
const compressible = /\.(html|js|json|wasm|tar|a|txt|ttf|md)$/;
const jobs = [];
(function walk(dir) {
  for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
    const full = path.join(dir, entry.name);
    if (entry.isDirectory()) walk(full);
    else if (compressible.test(entry.name) && fs.statSync(full).size > 1024) jobs.push(full);
  }
})(out);
const fresh = (file, copyFile) =>
  fs.existsSync(copyFile) && fs.statSync(copyFile).mtimeMs >= fs.statSync(file).mtimeMs;
// The largest first, two at a time.
jobs.sort((a, b) => fs.statSync(b).size - fs.statSync(a).size);
const kept = path.join(process.env.VORLA_CACHE ||
  path.join(process.env.XDG_CACHE_HOME || path.join(os.homedir(), '.cache'), 'vorla'),
  'yowasp-clang-' + toolchainVersion);
const compressors = {
  '.br': (data) => brotli(data, { params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11,
    [zlib.constants.BROTLI_PARAM_LGWIN]: 24, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length } }),
  '.gz': (data) => gzip(data, { level: 9 }),
};
async function compress(file) {
  const ofCompiler = path.dirname(file) === path.join(out, 'clang');
  for (const [suffix, compressor] of Object.entries(compressors)) {
    if (fresh(file, file + suffix)) continue;
    const cached = path.join(kept, path.basename(file) + suffix);
    if (ofCompiler && fs.existsSync(cached)) {
      fs.copyFileSync(cached, file + suffix);
      continue;
    }
    fs.writeFileSync(file + suffix, await compressor(fs.readFileSync(file)));
    if (ofCompiler) {
      try {
        fs.mkdirSync(kept, { recursive: true });
        fs.copyFileSync(file + suffix, cached);
      } catch (error) {
        console.warn(`playground: could not keep ${cached} (${error.message})`);
      }
    }
  }
}
const queue = [...jobs];
await Promise.all([0, 1].map(async () => { while (queue.length) await compress(queue.shift()); }));
const served = pageFiles.concat(['sw.js']).concat(
  fs.readdirSync(path.join(out, 'clang')).filter((f) => !/\.(br|gz)$/.test(f)).map((f) => 'clang/' + f));
const size = (file, suffix) => {
  const full = path.join(out, file + suffix);
  return fs.existsSync(full) ? fs.statSync(full).size : fs.statSync(path.join(out, file)).size;
};
const total = (suffix) => served.reduce((sum, file) => sum + size(file, suffix), 0);
console.log(`playground: ${out} (first visit ${(total('') / 1e6).toFixed(1)} MB, ` +
  `${(total('.br') / 1e6).toFixed(1)} MB with brotli, ${(total('.gz') / 1e6).toFixed(1)} MB with gzip)`);
