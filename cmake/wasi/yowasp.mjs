// Runs a tool of the pinned @yowasp/clang (clang, clang++, or an LLVM tool such as ar) under
// Node.js as if it were a native compiler, for CMake's wasm32-wasi build:
//   node yowasp.mjs NODE_MODULES TOOL ARG...
// The tool runs in a virtual file system: it is given the folders its arguments name (include
// folders, and for a source file the folder two levels up, where FreeType's modules include
// their neighbours), with their source and header files, at the same absolute paths; every file
// it makes is written back. Relative paths are taken from the working folder.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [modules, tool, ...given] = process.argv.slice(2);
const { runClang, runLLVM } = await import(
  pathToFileURL(path.join(modules, '@yowasp/clang/gen/bundle.js')).href);

const cwd = process.cwd();
// The toolchain reports fetching its own files from disk; that is no news here.
const log = console.log;
console.log = (...words) => { if (!/fetched \d+%/.test(String(words[0]))) log(...words); };
const SOURCE = /\.(c|cc|cpp|cxx|h|hh|hpp|hxx|inc|def|ttf)$/;
const SKIP = new Set(['.git', 'node_modules', 'data', 'docs', 'desktop']);
const tree = {};
const given_paths = new Set();

// The toolchain's own files are its /usr: a host file there is given as /host/usr.
const virtual = (file) => file.startsWith('/usr/') ? '/host' + file : file;
function place(file, data) {
  const parts = virtual(file).split('/').filter(Boolean);
  let dir = tree;
  for (const part of parts.slice(0, -1)) dir = dir[part] ??= {};
  dir[parts[parts.length - 1]] = data;
  given_paths.add(virtual(file));
}
function folder(file) {
  const parts = virtual(file).split('/').filter(Boolean);
  let dir = tree;
  for (const part of parts) dir = dir[part] ??= {};
}
const seen = new Set();
function addTree(dir, depth = 0) {
  if (seen.has(dir) || depth > 8) return;
  seen.add(dir);
  folder(dir);
  let entries;
  try { entries = fs.readdirSync(dir, { withFileTypes: true }); } catch { return; }
  for (const entry of entries) {
    const full = path.join(dir, entry.name);
    if (entry.isDirectory()) {
      if (!SKIP.has(entry.name) && !entry.name.startsWith('build')) addTree(full, depth + 1);
    } else if (entry.isFile() && SOURCE.test(entry.name)) {
      place(full, fs.readFileSync(full));
    }
  }
}

// Arguments after these name a path.
const PATH_OPTIONS = new Set(['-I', '-isystem', '-iquote', '-include', '-o', '-MF', '-MT', '-MQ',
  '-L', '--sysroot']);
const args = [];
let outputs = [];
for (let i = 0; i < given.length; ++i) {
  let arg = given[i];
  const joined = arg.match(/^(-I|-isystem|-iquote|-L|-o|-MF)(.+)$/);
  if (PATH_OPTIONS.has(arg) && i + 1 < given.length) {
    const value = path.resolve(cwd, given[++i]);
    args.push(arg, arg === '-MT' || arg === '-MQ' ? given[i] : value);
    if (arg === '-o' || arg === '-MF') { outputs.push(value); folder(path.dirname(value)); }
    else if (arg !== '-MT' && arg !== '-MQ') addTree(value);
    continue;
  }
  if (joined) {
    const value = path.resolve(cwd, joined[2]);
    args.push(joined[1] + value);
    if (joined[1] === '-o' || joined[1] === '-MF') { outputs.push(value); folder(path.dirname(value)); }
    else addTree(value);
    continue;
  }
  if (arg.startsWith('@')) {
    // A response file: its arguments in place, one a line or space-separated.
    const text = fs.readFileSync(path.resolve(cwd, arg.slice(1)), 'utf8');
    given.splice(i + 1, 0, ...text.split(/\s+/).filter(Boolean));
    continue;
  }
  if (!arg.startsWith('-') && fs.existsSync(path.resolve(cwd, arg))) {
    const full = path.resolve(cwd, arg);
    const stat = fs.statSync(full);
    if (stat.isFile()) {
      place(full, fs.readFileSync(full));
      if (SOURCE.test(full) && !full.startsWith('/usr/')) addTree(path.dirname(path.dirname(full)));
    }
    args.push(virtual(full));
    continue;
  }
  // An archive or object to be made by ar (rcs lib.a a.o ...) is named without an option.
  if (!arg.startsWith('-') && /\.(a|o|obj|wasm)$/.test(arg)) {
    const full = path.resolve(cwd, arg);
    outputs.push(full);
    folder(path.dirname(full));
    args.push(full);
    continue;
  }
  args.push(arg);
}
folder(cwd);
// The folder the tool runs in is the virtual root: an output it names by default goes where a
// native compiler would put it.
if ((tool === 'clang' || tool === 'clang++') && !outputs.length &&
    !args.some((a) => ['-E', '-M', '-MM', '-###', '--version', '-v'].includes(a))) {
  const sources = args.filter((a) => a.startsWith('/') && /\.(c|cc|cpp|cxx)$/.test(a));
  const out = args.includes('-c') && sources.length === 1
    ? path.join(cwd, path.basename(sources[0]).replace(/\.[^.]+$/, '.o'))
    : args.includes('-S') && sources.length === 1
    ? path.join(cwd, path.basename(sources[0]).replace(/\.[^.]+$/, '.s'))
    : path.join(cwd, 'a.out');
  args.push('-o', out);
  outputs.push(out);
}

const decoder = (stream) => (bytes) => { if (bytes) stream.write(bytes); };
const options = { stdout: decoder(process.stdout), stderr: decoder(process.stderr),
  decodeASCII: false, fetchProgress: () => {} };
let result;
let status = 0;
try {
  result = tool === 'clang' || tool === 'clang++'
    ? await runClang([tool, ...args], tree, options)
    : await runLLVM([tool, ...args], tree, options);
} catch (error) {
  if (error.code === undefined) throw error;
  status = error.code;
  result = error.files;
}
// A dependency file names the toolchain's own headers (its /usr, which is not on this disk) and
// host files under /usr as /host/usr: it keeps the host's files alone, at their own paths, so
// that make does not take a missing header for a reason to compile again.
const depfile = args[args.indexOf('-MF') + 1];
function hostDependencies(data) {
  const text = typeof data === 'string' ? data : new TextDecoder().decode(data);
  const [target, ...rest] = text.replace(/\\\n/g, ' ').split(': ');
  const kept = rest.join(': ').split(/\s+/).filter(Boolean)
    .map((file) => file.startsWith('/host/usr/') ? file.slice('/host'.length) : file)
    .filter((file) => fs.existsSync(file));
  return target + ': ' + kept.join(' \\\n  ') + '\n';
}
// Every file the tool made (or changed) outside the toolchain's own folder goes back to disk.
function writeBack(dir, at) {
  for (const [name, entry] of Object.entries(dir)) {
    const full = at + '/' + name;
    if (at === '' && name === 'usr') continue;
    if (entry instanceof Uint8Array || typeof entry === 'string') {
      if (given_paths.has(full) && !outputs.includes(full)) continue;
      const host = full.startsWith('/host/usr/') ? full.slice('/host'.length) : full;
      fs.mkdirSync(path.dirname(host), { recursive: true });
      fs.writeFileSync(host, host === depfile ? hostDependencies(entry) : entry);
    } else {
      writeBack(entry, full);
    }
  }
}
if (result) writeBack(result, '');
process.exit(status);
