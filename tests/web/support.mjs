// What the browser tests share: the launch of headless Chromium, waiting for what a check
// expects, pictures of the canvas and their comparison, the static host and the tally of checks.
import {execFileSync, spawn} from 'node:child_process';
import {once} from 'node:events';
import puppeteer from 'puppeteer-core';

// Software WebGL on a busy machine is as slow as the sanitizers: the generous deadline is theirs.
export const Deadline = 60000;
const ChannelTolerance = 40; // the desktop pixel tests' tolerance
const DifferingShareTolerance = 0.003;
export const LevelLine = [0, 20, 406, 44];
export const SnowLine = [0, 64, 406, 22];
export const Scene = [0, 90, 640, 390]; // below the overlay
export const results = {passed: 0, failed: 0};

export function Check(ok, name, detail = '') {
  results[ok ? 'passed' : 'failed']++;
  console.log(`${ok ? 'ok' : 'not ok'} - ${name}${ok || !detail ? '' : ': ' + detail}`);
}

export async function Launch(extra = []) {
  const sandbox = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: [...sandbox, '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           ...extra]});
  return [browser, await browser.newPage()];
}

// Polls `probe` until it gives a true value; the value, or null at the deadline.
export async function WaitFor(probe) {
  for (const end = Date.now() + Deadline; Date.now() < end;) {
    const value = await probe();
    if (value) return value;
    await new Promise(resolve => setTimeout(resolve, 200));
  }
  return null;
}

// The RGBA pixels of a PNG brought to the game's 640 by 480 frame: a file, or the bytes given for
// the name "-".
export const Decode = (file, input) => execFileSync('/usr/bin/convert',
    [`png:${file}`, '-resize', '640x480!', '-depth', '8', 'rgba:-'], {input, maxBuffer: 1 << 24});

// A picture of the canvas, at whatever size the page shows it.
export const Shot = async page => Decode('-', await (await page.$('#canvas')).screenshot());

// Polls pictures of the canvas until one satisfies `wanted`; that picture, or null at the deadline.
export const AwaitShot = (page, wanted) =>
  WaitFor(async () => (shot => wanted(shot) && shot)(await Shot(page)));

// A picture that the next one no longer differs from: the view has come to rest.
export const Rest = (page, last = null) =>
  AwaitShot(page, shot => [last && Changed(shot, last, Scene) < 0.01, last = shot][0]);

// Compares the rectangle of two pictures: the share of pixels with a channel off by more than the
// tolerance, and the overlap of their histograms of coarse colours (8 levels a channel).
export function Compare(a, b, [x, y, width, height]) {
  let changed = 0;
  const surplus = new Int32Array(512); // of each coarse colour in `a` over `b`
  const coarse = (picture, at) => (picture[at] >> 5) * 64 + (picture[at + 1] >> 5) * 8 +
                                  (picture[at + 2] >> 5);
  for (let row = y; row < y + height; ++row) {
    for (let at = (row * 640 + x) * 4; at < (row * 640 + x + width) * 4; at += 4) {
      changed += [0, 1, 2].some(k => Math.abs(a[at + k] - b[at + k]) > ChannelTolerance) ? 1 : 0;
      surplus[coarse(a, at)]++;
      surplus[coarse(b, at)]--;
    }
  }
  const unshared = surplus.reduce((sum, count) => sum + Math.max(count, 0), 0);
  return {changed: changed / (width * height), overlap: 1 - unshared / (width * height)};
}

export const Changed = (a, b, rect) => Compare(a, b, rect).changed;
export const Matches = (a, b, rect) => Changed(a, b, rect) <= DifferingShareTolerance;

// Serves `dist` on a free port of this machine only from the game's own host, which sends the
// compressed copies; the host and its address. The host names the port on its first line.
export async function Serve(dist) {
  const host = new URL('../../scripts/serve-web', import.meta.url).pathname;
  const server = spawn(host, [dist, '0'], {stdio: ['ignore', 'pipe', 'ignore']});
  const [banner] = await Promise.race([once(server.stdout, 'data'), once(server, 'close')]);
  return [server, `http://127.0.0.1:${/port (\d+)/.exec(banner)?.[1]}/`];
}
