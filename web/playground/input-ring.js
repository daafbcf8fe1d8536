// The input records the page hands a program that waits in Atomics.wait: a ring of records in a
// SharedArrayBuffer of Int32 words. The page writes a record and then counts it in WRITTEN (and
// wakes the worker); the worker reads records up to WRITTEN and counts them in TAKEN. A record is
// the web display's: kind, window, then up to three values.
export const RECORD = 5;
export const RING_RECORDS = 1024;
export const INPUT = { WRITTEN: 0, TAKEN: 1, RECORDS: 2 };
export const RING_BYTES = (INPUT.RECORDS + RING_RECORDS * RECORD) * 4;

// Writes a record for the worker; false when the worker has not taken enough to make room.
export function writeRecord(ring, record) {
  const written = Atomics.load(ring, INPUT.WRITTEN);
  if (written - Atomics.load(ring, INPUT.TAKEN) >= RING_RECORDS) return false;
  ring.set(record, INPUT.RECORDS + (written % RING_RECORDS) * RECORD);
  Atomics.store(ring, INPUT.WRITTEN, written + 1);
  Atomics.notify(ring, INPUT.WRITTEN);
  return true;
}
