// What the browser tests on the real clock share: waiting, reading VORLA.SCR from the page's
// folder, and the list of checks that failed, reported at the end.
'use strict';

const pause = ms => new Promise(resolve => setTimeout(resolve, ms));

// Asks the page `test` (with `arg`) every 20 ms until it answers true or `ms` have passed.
const until = async (page, test, ms, arg) => {
  for (const end = Date.now() + ms; Date.now() < end; await pause(20)) if (await page.evaluate(test, arg)) return true;
  return false;
};

const scriptText = page => page.evaluate(() => {
  try { return FS.readFile('/home/vorla/VORLA.SCR', { encoding: 'utf8' }); } catch (e) { return null; }
});

const failures = [];
const check = (ok, what) => { console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`); if (!ok) failures.push(what); };

// Prints the test's time and outcome, and ends the process with 1 when a check failed.
function report(name, started) {
  console.log(`${name}: ${((Date.now() - started) / 1000).toFixed(1)} s`);
  if (failures.length) {
    console.log('FAILED: ' + failures.join(', '));
    process.exit(1);
  }
  console.log(`${name} passed`);
}

module.exports = { pause, until, scriptText, failures, check, report };
